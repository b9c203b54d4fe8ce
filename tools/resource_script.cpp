// Writes the Windows build's resource script from the tables the Linux build
// compiles in: the STRINGTABLE and a DIALOGEX per dialog template, in English
// and in each translation's language, and the application icon, so that
// texts and layouts are defined once.
//
//   resource_script <output folder> <icon image.png>...
//
// Writes quillop.rc and quillop.ico (the images as PNG entries) into the
// folder; a file whose bytes would not change is left alone.
#include "platform/dialog_template.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"
#include "res/string_table.h"
#include "res/translations.h"
#include "write_if_changed.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return bytes.str();
}

// A text as a resource-script string literal (the script is UTF-8).
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\"\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t bigEndianAt(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// An .ico holding each PNG image as it is, as Windows Vista and Wine read them.
std::string iconFile(const std::vector<std::string>& pngPaths)
{
    std::vector<std::string> images;
    for (const std::string& path : pngPaths) {
        images.push_back(readFile(path));
        if (images.back().compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || images.back().size() < 24)
            throw std::runtime_error(path + " is not a PNG image");
    }
    std::string out;
    putLittleEndian(out, 0, 2);
    putLittleEndian(out, 1, 2); // an icon, not a cursor
    putLittleEndian(out, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::uint32_t width = bigEndianAt(images[i], 16), height = bigEndianAt(images[i], 20);
        if (width > 256 || height > 256)
            throw std::runtime_error(pngPaths[i] + " is larger than 256 pixels");
        putLittleEndian(out, width % 256, 1); // 0 stands for 256
        putLittleEndian(out, height % 256, 1);
        putLittleEndian(out, 0, 2); // no palette
        putLittleEndian(out, 1, 2); // planes
        putLittleEndian(out, 32, 2); // bits per pixel
        putLittleEndian(out, static_cast<std::uint32_t>(images[i].size()), 4);
        putLittleEndian(out, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images)
        out += image;
    return out;
}

// The resource an icon control shows, named in its template by its id's name.
// An icon control names its icon as a resource script does a numbered one.
int iconId(const char* name)
{
    if (std::string(name) == "#" + std::to_string(IDR_MAINFRAME))
        return IDR_MAINFRAME;
    throw std::runtime_error(std::string("no icon resource is named ") + name);
}

std::string controlStatement(const ControlTemplate& control)
{
    std::string styles = "WS_CHILD";
    const auto add = [&styles](bool wanted, const char* style) {
        if (wanted)
            styles += std::string(" | ") + style;
    };
    const char* windowClass = nullptr;
    switch (control.kind) {
    case ControlKind::Icon:
        windowClass = "Static";
        styles += " | SS_ICON";
        break;
    case ControlKind::Static:
        windowClass = "Static";
        styles += (control.style & WordWrap) ? " | SS_LEFT" : " | SS_LEFTNOWORDWRAP";
        add(control.style & NoPrefix, "SS_NOPREFIX");
        break;
    case ControlKind::Edit:
        windowClass = "Edit";
        styles += " | ES_LEFT";
        add(control.style & AutoHScroll, "ES_AUTOHSCROLL");
        add(control.style & Border, "WS_BORDER");
        break;
    case ControlKind::PushButton:
        windowClass = "Button";
        styles += " | BS_PUSHBUTTON";
        break;
    case ControlKind::DefPushButton:
        windowClass = "Button";
        styles += " | BS_DEFPUSHBUTTON";
        break;
    case ControlKind::Progress:
        windowClass = "msctls_progress32";
        add(control.style & Smooth, "PBS_SMOOTH");
        break;
    }
    add(control.style & TabStop, "WS_TABSTOP");
    // A control statement is visible unless told otherwise.
    styles += (control.style & Hidden) ? " | NOT WS_VISIBLE" : " | WS_VISIBLE";
    const std::string text = control.kind == ControlKind::Icon ? std::to_string(iconId(control.text))
                                                               : quoted(control.text ? control.text : "");
    std::ostringstream out;
    out << "    CONTROL " << text << ", " << control.id << ", " << quoted(windowClass) << ", " << styles << ", "
        << control.x << ", " << control.y << ", " << control.cx << ", " << control.cy << "\n";
    return out.str();
}

std::string dialogStatement(const DialogTemplate& dialog)
{
    std::string styles = "DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU";
    if (dialog.style & MinimizeBox)
        styles += " | WS_MINIMIZEBOX";
    if (dialog.style & CenterOnScreen)
        styles += " | DS_CENTER";
    if (dialog.style & AppWindow)
        styles += " | WS_VISIBLE";
    std::ostringstream out;
    out << dialog.id << " DIALOGEX 0, 0, " << dialog.cx << ", " << dialog.cy << "\n"
        << "STYLE " << styles << "\n";
    if (dialog.style & AppWindow)
        out << "EXSTYLE WS_EX_APPWINDOW\n";
    out << "CAPTION " << quoted(dialog.title) << "\n"
        << "FONT " << dialog.pointSize << ", " << quoted(dialog.fontFace) << "\n"
        << "BEGIN\n";
    for (const ControlTemplate& control : dialog.controls)
        out << controlStatement(control);
    out << "END\n\n";
    return out.str();
}

// The STRINGTABLE and the four DIALOGEX in one language.
std::string languageResources(const LanguageCatalogue* catalogue)
{
    std::ostringstream out;
    out << "STRINGTABLE\nBEGIN\n";
    for (const auto& entry : StringTable())
        out << "    " << entry.first << ", " << quoted(TranslatedString(catalogue, entry.first)) << "\n";
    out << "END\n\n";
    for (const DialogTemplate* dialog :
         {&kAboutBoxTemplate, &kMainDialogTemplate, &kDupFileNameTemplate, &kDupVornNameTemplate})
        out << dialogStatement(catalogue ? TranslatedTemplate(*dialog, *catalogue) : *dialog);
    return out.str();
}

// English first, in windres' default language (U.S. English); then each
// translation in its language, for any of its countries: the resource
// loader picks the user's and falls back on English.
std::string resourceScript(const std::string& iconPath)
{
    std::ostringstream out;
    out << "// Written by tools/resource_script from src/res and po/; edit them there.\n"
        << "#pragma code_page(65001)\n"
        << "#include <windows.h>\n"
        << "#include <commctrl.h>\n\n"
        << IDR_MAINFRAME << " ICON " << quoted(iconPath) << "\n\n"
        << languageResources(nullptr);
    for (const LanguageCatalogue& catalogue : LanguageCatalogues()) {
        const int language = WindowsPrimaryLanguage(catalogue);
        if (language == 0)
            throw std::runtime_error(std::string("no Windows language id for ") + catalogue.language);
        out << "LANGUAGE " << language << ", SUBLANG_NEUTRAL\n\n" << languageResources(&catalogue);
    }
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: resource_script <output folder> <icon image.png>...\n";
        return 2;
    }
    try {
        const std::string folder = argv[1];
        writeIfChanged(folder + "/quillop.ico", iconFile(std::vector<std::string>(argv + 2, argv + argc)));
        writeIfChanged(folder + "/quillop.rc", resourceScript(folder + "/quillop.ico"));
    } catch (const std::exception& error) {
        std::cerr << "resource_script: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
