#include "res/translations.h"

#include "res/resource_ids.h"
#include "res/string_table.h"

#include <cstring>

namespace {

struct Language {
    const char* name;
    int windowsPrimaryLanguage; // LANG_* of winnt.h
};

constexpr Language kLanguages[] = {{"de", 0x07}, {"fr", 0x0c}, {"es", 0x0a}};

// Where a language's texts need more room than the English layout gives, as
// localized Windows programs resize their dialogs. A control of 0 is the
// dialog itself.
struct LayoutChange {
    const char* languages; // those it holds for, as "de fr"
    int dialog;
    int control;
    int x, y, cx, cy;
};

// Install's text is longer in each translation: the main dialog is
// widened by 20 units for it. German prompts take a fifth line.
const std::vector<LayoutChange> kLayoutChanges = {
    {"de fr es", IDD_QUILLOP_DIALOG, 0, 0, 0, 226, 167},
    {"de fr es", IDD_QUILLOP_DIALOG, IDC_STATUS, 7, 7, 212, 113},
    {"de fr es", IDD_QUILLOP_DIALOG, IDC_PROGRESS, 7, 126, 212, 11},
    {"de fr es", IDD_QUILLOP_DIALOG, IDC_INSTALL, 7, 144, 90, 16},
    {"de fr es", IDD_QUILLOP_DIALOG, IDC_BROWSE, 101, 144, 57, 16},
    {"de fr es", IDD_QUILLOP_DIALOG, IDOK, 162, 144, 57, 16},
    {"de", IDD_DUP_FILE_NAME, 0, 0, 0, 129, 94},
    {"de", IDD_DUP_FILE_NAME, IDC_PROMPT, 7, 7, 115, 43},
    {"de", IDD_DUP_FILE_NAME, IDC_NEW_NAME, 7, 51, 115, 14},
    {"de", IDD_DUP_FILE_NAME, IDOK, 7, 73, 55, 14},
    {"de", IDD_DUP_FILE_NAME, IDCANCEL, 67, 73, 55, 14},
    {"de", IDD_DUP_VORN_NAME, 0, 0, 0, 129, 94},
    {"de", IDD_DUP_VORN_NAME, IDC_PROMPT, 7, 7, 115, 43},
    {"de", IDD_DUP_VORN_NAME, IDC_NEW_NAME, 7, 51, 115, 14},
    {"de", IDD_DUP_VORN_NAME, IDOK, 7, 73, 55, 14},
    {"de", IDD_DUP_VORN_NAME, IDCANCEL, 67, 73, 55, 14},
};

bool holdsFor(const LayoutChange& change, const std::string& language)
{
    return (" " + std::string(change.languages) + " ").find(" " + language + " ") != std::string::npos;
}

const char* translated(const LanguageCatalogue& catalogue, const char* context, const char* english)
{
    for (const TranslatedText& entry : catalogue.entries) {
        if (std::strcmp(entry.context, context) == 0 && std::strcmp(entry.english, english) == 0)
            return entry.translated;
    }
    return english;
}

bool isSet(const char* value)
{
    return value && *value;
}

} // namespace

const LanguageCatalogue* LanguageCatalogueFor(const std::string& language)
{
    // "de_AT.UTF-8@euro" is looked for as de_AT, then as de.
    const std::string locale = language.substr(0, language.find_first_of(".@"));
    for (const std::string& name : {locale, locale.substr(0, locale.find('_'))}) {
        for (const LanguageCatalogue& catalogue : LanguageCatalogues()) {
            if (name == catalogue.language)
                return &catalogue;
        }
    }
    return nullptr;
}

std::string MessageLanguage(const char* language, const char* lcAll, const char* lcMessages, const char* lang)
{
    const char* locale = isSet(lcAll) ? lcAll : isSet(lcMessages) ? lcMessages : isSet(lang) ? lang : "C";
    // gettext ignores LANGUAGE in the C locale, whose texts are the program's own.
    if (std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0)
        return "";
    // A LANGUAGE list stands in for the locale's language, even where it lists none we have.
    const std::string wanted = isSet(language) ? language : locale;
    for (std::size_t start = 0; start <= wanted.size();) {
        const std::size_t end = std::min(wanted.find(':', start), wanted.size());
        const std::string name = wanted.substr(start, end - start);
        if (name == "en" || name.compare(0, 3, "en_") == 0 || name.compare(0, 3, "en.") == 0)
            return "";
        if (const LanguageCatalogue* catalogue = LanguageCatalogueFor(name))
            return catalogue->language;
        start = end + 1;
    }
    return "";
}

std::string TranslatedString(const LanguageCatalogue* catalogue, int id)
{
    const auto& table = StringTable();
    const auto it = table.find(id);
    if (it == table.end())
        return "";
    const StringResource& resource = it->second;
    if (!catalogue || resource.translation == Untranslated)
        return resource.text;
    return translated(*catalogue, resource.name, resource.text.c_str());
}

DialogTemplate TranslatedTemplate(const DialogTemplate& english, const LanguageCatalogue& catalogue)
{
    DialogTemplate dialog = english;
    dialog.title = translated(catalogue, dialog.name, dialog.title);
    for (ControlTemplate& control : dialog.controls) {
        if (control.kind != ControlKind::Icon && control.text && *control.text)
            control.text = translated(catalogue, dialog.name, control.text);
    }
    for (const LayoutChange& change : kLayoutChanges) {
        if (change.dialog != dialog.id || !holdsFor(change, catalogue.language))
            continue;
        if (change.control == 0) {
            dialog.cx = change.cx;
            dialog.cy = change.cy;
            continue;
        }
        for (ControlTemplate& control : dialog.controls) {
            if (control.id == change.control) {
                control.x = change.x;
                control.y = change.y;
                control.cx = change.cx;
                control.cy = change.cy;
            }
        }
    }
    return dialog;
}

int WindowsPrimaryLanguage(const LanguageCatalogue& catalogue)
{
    for (const Language& language : kLanguages) {
        if (std::strcmp(language.name, catalogue.language) == 0)
            return language.windowsPrimaryLanguage;
    }
    return 0;
}
