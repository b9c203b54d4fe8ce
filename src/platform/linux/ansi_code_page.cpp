#include "platform/ansi_code_page.h"
#include "platform/linux/ansi_code_page.h"
#include "platform/linux/utf8.h"

#include <iconv.h>
#include <locale.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace AnsiCodePage {

namespace {

// Every locale the C library offers (its SUPPORTED list, charsets left
// out) whose code page under Wine 8 is not 1252, as Wine answered for each:
// Wine looks a locale up by its exact name, so any other, and a name it does
// not know, is 1252.
const std::pair<unsigned, std::string_view> kNot1252[] = {
    {1250, " cs_CZ hr_HR hu_HU pl_PL ro_RO sk_SK sl_SI sq_AL sr_RS@latin tk_TM sr "},
    {1251,
     " be_BY bg_BG ky_KG mk_MK mn_MN ru_RU sah_RU tg_TJ tt_RU tt_RU@iqtelif uk_UA uz_UZ@cyrillic ru"
     " sr_RS@cyrillic "},
    {1253, " el_GR el_GR@euro "},
    {1254, " tr_TR "},
    {1255, " he_IL "},
    {1256,
     " ar_AE ar_BH ar_DZ ar_EG ar_IQ ar_JO ar_KW ar_LB ar_LY ar_MA ar_OM ar_QA ar_SA ar_SY ar_TN ar_YE ckb_IQ"
     " fa_IR ug_CN ur_IN ur_PK "},
    {1257, " et_EE lt_LT lv_LV "},
    {1258, " vi_VN "},
    {874, " th_TH "},
    {932, " ja_JP "},
    {936, " zh_CN zh_SG zh "},
    {949, " ko_KR "},
    {950, " zh_HK zh_TW zh_MO "},
    // Locales Windows gives no ANSI code page of their own: Wine uses UTF-8.
    {kUtf8,
     " am_ET as_IN bn_BD bn_IN bo_CN chr_US dv_MV dz_BT gu_IN hi_IN hy_AM ka_GE kk_KZ km_KH kn_IN kok_IN"
     " ks_IN@devanagari lo_LA mi_NZ ml_IN mni_IN mr_IN mt_MT my_MM ne_NP om_ET or_IN pa_IN ps_AF sa_IN"
     " sd_IN@devanagari si_LK so_SO st_ZA syr ta_IN ta_LK te_IN ti_ER ti_ET ts_ZA ve_ZA "},
};

unsigned ofLocaleName(std::string name)
{
    // The charset, between a dot and any modifier, does not count.
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot, name.find('@', dot) - dot);
    if (name.empty() || name.find(' ') != std::string::npos)
        return 1252;
    const std::string word = " " + name + " ";
    for (const auto& [codePage, names] : kNot1252)
        if (names.find(word) != std::string_view::npos)
            return codePage;
    return 1252;
}

bool isDoubleByte(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// iconv_open answers (iconv_t)-1 when it cannot convert.
bool isOpen(iconv_t converter)
{
    return reinterpret_cast<std::intptr_t>(converter) != -1;
}

// One code page's conversions both ways, through the C library.
class Converter {
public:
    explicit Converter(unsigned codePage)
        : m_codePage(codePage)
        , m_to(iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8"))
        , m_from(iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str()))
    {
    }
    ~Converter()
    {
        if (isOpen(m_to))
            iconv_close(m_to);
        if (isOpen(m_from))
            iconv_close(m_from);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return isOpen(m_to) && isOpen(m_from); }

    // The bytes of one character as Windows converts it without best fit:
    // only where they read back as the same character (the C library maps
    // some characters Windows has not got, "¥" to "\" in cp932, or spells
    // "Ã" as "A" and a combining tilde in cp1258), and, as in Windows'
    // tables, a C1 control as its own byte where the code page leaves that
    // byte unused (of the double-byte ones, only 0x80 in cp932 and cp949).
    std::optional<std::string> character(std::string_view utf8, char32_t code) const
    {
        const std::string bytes = run(m_to, utf8, 4);
        if (!bytes.empty() && (isDoubleByte(m_codePage) || bytes.size() == 1) && run(m_from, bytes, 8) == utf8)
            return bytes;
        const std::string own(1, char(code));
        const bool unused = isDoubleByte(m_codePage) ? code == 0x80 && (m_codePage == 932 || m_codePage == 949)
                                                     : run(m_from, own, 8).empty();
        if (code >= 0x80 && code < 0xA0 && bytes.empty() && unused)
            return own;
        return std::nullopt;
    }

private:
    // Empty when the C library cannot convert the whole of `in`.
    static std::string run(iconv_t converter, std::string_view in, std::size_t room)
    {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        std::string out(room, '\0');
        char* from = const_cast<char*>(in.data());
        std::size_t fromLeft = in.size();
        char* to = out.data();
        std::size_t toLeft = out.size();
        // cp1255 and cp1258 hold a character back for a combining mark that
        // may follow: the second call lets it out.
        if (iconv(converter, &from, &fromLeft, &to, &toLeft) == std::size_t(-1) || fromLeft
            || iconv(converter, nullptr, nullptr, &to, &toLeft) == std::size_t(-1))
            return {};
        out.resize(out.size() - toLeft);
        return out;
    }

    unsigned m_codePage;
    iconv_t m_to;
    iconv_t m_from;
};

// Converts `text` character by character; on one with no bytes of its own,
// `unstorable` answers what to do: false stops, true puts "?" in its place.
template <typename OnUnstorable>
std::optional<std::string> convert(std::string_view text, unsigned codePage, OnUnstorable unstorable)
{
    // Every code page holds ASCII as it is: most names need no converter.
    if (codePage == kUtf8 || std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return std::string(text);
    const Converter converter(codePage);
    if (!converter.opened())
        return std::nullopt;
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const CharCase::Decoded decoded = CharCase::decodeAt(text, at);
        const std::string_view character = text.substr(at, std::max<std::size_t>(decoded.length, 1));
        if (decoded.character < 0x80 && decoded.length == 1) {
            out += character;
        } else if (const auto bytes = converter.character(character, decoded.character)) {
            out += *bytes;
        } else {
            if (!unstorable(character))
                return std::nullopt;
            out += '?';
        }
        at += character.size();
    }
    return out;
}

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

unsigned ofLocaleVariables(const std::string& lcAll, const std::string& lcCtype, const std::string& lang)
{
    std::string ctype = !lcAll.empty() ? lcAll : !lcCtype.empty() ? lcCtype : !lang.empty() ? lang : "C";
    if (const locale_t locale = newlocale(LC_CTYPE_MASK, ctype.c_str(), nullptr))
        freelocale(locale);
    else
        ctype = "C";
    if (ctype == "C")
        return lcAll.empty() ? 1252 : ofLocaleName(lcAll);
    return ofLocaleName(ctype);
}

unsigned current()
{
    static const unsigned codePage = ofLocaleVariables(variable("LC_ALL"), variable("LC_CTYPE"), variable("LANG"));
    return codePage;
}

std::optional<std::string> encode(std::string_view text, unsigned codePage)
{
    return convert(text, codePage, [](std::string_view) { return false; });
}

std::string firstUnstorable(std::string_view text, unsigned codePage)
{
    std::string found;
    convert(text, codePage, [&found](std::string_view character) {
        found = character;
        return false;
    });
    return found;
}

} // namespace AnsiCodePage

std::string ToAnsiCodePage(std::string_view text)
{
    // The C library converts to each code page Wine may give (a test opens
    // them all), so nothing but UTF-8 itself comes back unconverted.
    return AnsiCodePage::convert(text, AnsiCodePage::current(), [](std::string_view) { return true; })
        .value_or(std::string(text));
}
