// The translations' two ends:
//
//   translation_tables template <quillop.pot>
//       writes the catalogues' template from the string table and the dialog
//       templates: each text under its resource's name as context;
//   translation_tables tables <translations.cpp> <language.po>...
//       compiles the catalogues into the program's tables (res/translations.h).
//
// A file whose bytes would not change is left alone.
#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "write_if_changed.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A text as a catalogue's string: one line per line of the text.
std::string poString(const std::string& text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
        case '\n':
            out += c == '\r' ? "\\r" : "\\n";
            if (i + 1 < text.size() && text[i + 1] != '\r' && text[i + 1] != '\n')
                out += "\"\n\"";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out.find('\n') == std::string::npos ? out : "\"\"\n" + out;
}

std::string templateEntry(const std::string& context, const std::string& english)
{
    std::string out = "\n";
    if (english.find('&') != std::string::npos)
        out += "#. & marks the letter that chooses it from the keyboard: one letter per dialog.\n";
    if (english.find('%') != std::string::npos)
        out += "#, c-format\n";
    return out + "msgctxt \"" + context + "\"\nmsgid " + poString(english) + "\nmsgstr \"\"\n";
}

std::string catalogueTemplate()
{
    std::string out = "# Quillop's texts, for translators: each text's context is the name of its\n"
                      "# resource. Vorn, Corvane, Quenna and file names stay as they are.\n"
                      "msgid \"\"\n"
                      "msgstr \"\"\n"
                      "\"Project-Id-Version: Quillop\\n\"\n"
                      "\"MIME-Version: 1.0\\n\"\n"
                      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                      "\"Content-Transfer-Encoding: 8bit\\n\"\n";
    for (const auto& [id, resource] : StringTable()) {
        if (resource.translation == Translated)
            out += templateEntry(resource.name, resource.text);
    }
    for (const DialogTemplate* dialog :
         {&kAboutBoxTemplate, &kMainDialogTemplate, &kDupFileNameTemplate, &kDupVornNameTemplate}) {
        out += templateEntry(dialog->name, dialog->title);
        for (const ControlTemplate& control : dialog->controls) {
            if (control.kind != ControlKind::Icon && control.text && *control.text)
                out += templateEntry(dialog->name, control.text);
        }
    }
    return out;
}

struct PoEntry {
    std::string context, english, translated;
};

std::string unquoted(const std::string& line, const std::string& where)
{
    const std::size_t open = line.find('"'), close = line.rfind('"');
    if (open == std::string::npos || close <= open)
        throw std::runtime_error(where + ": a string was expected");
    std::string out;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        switch (line[++i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default:
            out += line[i];
        }
    }
    return out;
}

// The translated entries of a catalogue msgfmt has checked: fuzzy, obsolete
// and untranslated entries are left out, as gettext leaves them.
std::vector<PoEntry> readCatalogue(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::vector<PoEntry> entries;
    PoEntry entry;
    std::string* field = nullptr;
    bool fuzzy = false;
    const auto finish = [&] {
        if (!fuzzy && !entry.english.empty() && !entry.translated.empty())
            entries.push_back(entry);
        entry = {};
        field = nullptr;
        fuzzy = false;
    };
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::string where = path + ":" + std::to_string(number);
        // Whatever follows a msgstr but continues it begins the next entry.
        if (field == &entry.translated && (line.empty() || line[0] != '"'))
            finish();
        if (line.empty() || line.compare(0, 2, "#~") == 0)
            continue;
        if (line[0] == '#') {
            if (line.compare(0, 2, "#,") == 0 && line.find("fuzzy") != std::string::npos)
                fuzzy = true;
            continue;
        }
        if (line.compare(0, 8, "msgctxt ") == 0)
            field = &entry.context;
        else if (line.compare(0, 6, "msgid ") == 0)
            field = &entry.english;
        else if (line.compare(0, 7, "msgstr ") == 0)
            field = &entry.translated;
        else if (line[0] != '"' || !field)
            throw std::runtime_error(where + ": not a catalogue line");
        if (line[0] == '"')
            *field += unquoted(line, where);
        else
            *field = unquoted(line, where);
    }
    finish();
    return entries;
}

// A C++ string literal; bytes beyond ASCII as octal escapes.
std::string cppString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte >= 0x7F) {
            const char octal[]
                = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                   static_cast<char>('0' + (byte & 7)), '\0'};
            out += octal;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string catalogueTables(const std::vector<std::string>& paths)
{
    std::string out = "// Written by tools/translation_tables from po/; edit the catalogues there.\n"
                      "#include \"res/translations.h\"\n\n"
                      "const std::vector<LanguageCatalogue>& LanguageCatalogues()\n{\n"
                      "    static const std::vector<LanguageCatalogue> catalogues = {\n";
    for (const std::string& path : paths) {
        const std::size_t slash = path.find_last_of('/') + 1;
        const std::string language = path.substr(slash, path.rfind(".po") - slash);
        out += "        {" + cppString(language) + ",\n         {\n";
        for (const PoEntry& entry : readCatalogue(path)) {
            out += "             {" + cppString(entry.context) + ", " + cppString(entry.english) + ", "
                + cppString(entry.translated) + "},\n";
        }
        out += "         }},\n";
    }
    return out + "    };\n    return catalogues;\n}\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode != "template" && mode != "tables") {
        std::cerr << "usage: translation_tables template <quillop.pot>\n"
                     "       translation_tables tables <translations.cpp> <language.po>...\n";
        return 2;
    }
    try {
        if (mode == "template")
            writeIfChanged(argv[2], catalogueTemplate());
        else
            writeIfChanged(argv[2], catalogueTables(std::vector<std::string>(argv + 3, argv + argc)));
    } catch (const std::exception& error) {
        std::cerr << "translation_tables: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
