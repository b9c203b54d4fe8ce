// Checks the packaged collection and writes what embeds it: the 4-byte entry
// count, the Qt resource file and the windres resource file that name every
// record and image.
//   catalogue_builder <catalogue folder> <output folder>
// Stops with a message naming the entry and the fault when a record is not
// in the exact layout the installer and the host expect.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Fault {
    std::string message;
};

std::string readFile(const std::string& path, bool& found)
{
    std::ifstream in(path, std::ios::binary);
    found = bool(in);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeIfChanged(const std::string& path, const std::string& content)
{
    bool found = false;
    if (readFile(path, found) == content && found)
        return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw Fault{"cannot write " + path};
}

int numberIn(const std::string& value, const std::string& key, int low, int high)
{
    if (value.empty() || value.size() > 4 || value.find_first_not_of("0123456789") != std::string::npos)
        throw Fault{key + " is not a number: \"" + value + "\""};
    const int number = std::stoi(value);
    if (number < low || number > high)
        throw Fault{key + " " + value + " is outside " + std::to_string(low) + " to " + std::to_string(high)};
    return number;
}

void checkName(const std::string& name, const std::string& key)
{
    if (name.empty())
        throw Fault{key + " is empty"};
    for (unsigned char c : name)
        if (c < 32 || c == 127 || std::string("\\/:*?\"<>|").find(char(c)) != std::string::npos)
            throw Fault{key + " holds a separator or control character"};
}

// The record: CR LF, the eight key lines in order, CR LF.
void checkRecord(const std::string& text, std::uint32_t& pngWidth, std::uint32_t& pngHeight)
{
    static const char* keys[] = {"VornName:",  "VornFile:",   "StepSize:",          "VornsAcross:",
                                 "VornsDown:", "TotalVorns:", "VornPlacementMode:", "VornSelectionMode:"};
    if (text.compare(0, 2, "\r\n") != 0)
        throw Fault{"the record does not start with CR LF"};
    std::size_t at = 2;
    std::vector<std::string> values;
    for (const char* key : keys) {
        const std::string k = key;
        if (text.compare(at, k.size(), k) != 0)
            throw Fault{"line " + std::to_string(values.size() + 2) + " is not " + k};
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            throw Fault{k + " is not ended by CR LF"};
        const std::string value = text.substr(at + k.size(), end - at - k.size());
        if (value.find_first_of("\r\n") != std::string::npos)
            throw Fault{k + " is not ended by CR LF"};
        values.push_back(value);
        at = end + 2;
    }
    if (text.substr(at) != "\r\n")
        throw Fault{"the record does not end with one more CR LF"};

    checkName(values[0], "VornName");
    checkName(values[1], "VornFile");
    if (values[1] != values[0] + ".vrn")
        throw Fault{"VornFile is not VornName followed by .vrn"};
    numberIn(values[2], "StepSize", 200, 300);
    const int across = numberIn(values[3], "VornsAcross", 3, 5);
    const int down = numberIn(values[4], "VornsDown", 1, 4);
    if (numberIn(values[5], "TotalVorns", 1, 20) != across * down)
        throw Fault{"TotalVorns is not VornsAcross times VornsDown"};
    numberIn(values[6], "VornPlacementMode", 0, 0);
    numberIn(values[7], "VornSelectionMode", 0, 0);
    if (pngWidth % std::uint32_t(across) != 0 || pngHeight % std::uint32_t(down) != 0)
        throw Fault{"the image is not a grid of VornsAcross x VornsDown cells"};
}

void readPngSize(const std::string& png, std::uint32_t& width, std::uint32_t& height)
{
    static const std::string signature("\x89PNG\r\n\x1a\n", 8);
    if (png.size() < 24 || png.compare(0, 8, signature) != 0 || png.compare(12, 4, "IHDR") != 0)
        throw Fault{"the image is not a PNG file"};
    const auto be32 = [&png](std::size_t at) {
        return std::uint32_t(std::uint8_t(png[at])) << 24 | std::uint32_t(std::uint8_t(png[at + 1])) << 16
            | std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint32_t(std::uint8_t(png[at + 3]));
    };
    width = be32(16);
    height = be32(20);
    if (width == 0 || height == 0)
        throw Fault{"the image is empty"};
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: catalogue_builder <catalogue folder> <output folder>\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    std::uint32_t count = 0;
    std::ostringstream ctl, vrn, rc;
    try {
        for (;; ++count) {
            const std::string base = source + "/vorn" + std::to_string(count + 1);
            bool found = false;
            const std::string record = readFile(base + ".ctl", found);
            if (!found)
                break;
            try {
                const std::string png = readFile(base + ".png", found);
                if (!found)
                    throw Fault{"the image is missing"};
                std::uint32_t width = 0, height = 0;
                readPngSize(png, width, height);
                checkRecord(record, width, height);
            } catch (const Fault& fault) {
                throw Fault{"catalogue entry " + std::to_string(count + 1) + " (" + base + "): " + fault.message};
            }
            ctl << "    <file alias=\"IDR_CTL" << count + 1 << "\">" << base << ".ctl</file>\n";
            vrn << "    <file alias=\"IDR_VRN" << count + 1 << "\">" << base << ".png</file>\n";
            rc << "IDR_CTL" << count + 1 << " CTL \"" << base << ".ctl\"\n";
            rc << "IDR_VRN" << count + 1 << " VRN \"" << base << ".png\"\n";
        }
        if (count == 0)
            throw Fault{"the catalogue in " + source + " has no entries"};

        const std::string countBytes{char(count & 0xff), char(count >> 8 & 0xff), char(count >> 16 & 0xff),
                                     char(count >> 24 & 0xff)};
        writeIfChanged(output + "/IDR_NUM_VORNS", countBytes);
        writeIfChanged(output + "/catalogue.qrc",
                       "<RCC>\n  <qresource prefix=\"/NUM_VORNS\">\n    <file alias=\"IDR_NUM_VORNS\">" + output
                           + "/IDR_NUM_VORNS</file>\n  </qresource>\n" + "  <qresource prefix=\"/CTL\">\n" + ctl.str()
                           + "  </qresource>\n" + "  <qresource prefix=\"/VRN\">\n" + vrn.str()
                           + "  </qresource>\n</RCC>\n");
        // The same resources for windres: named, of the types the program asks for.
        writeIfChanged(output + "/catalogue.rc",
                       "IDR_NUM_VORNS NUM_VORNS \"" + output + "/IDR_NUM_VORNS\"\n" + rc.str());
    } catch (const Fault& fault) {
        std::fprintf(stderr, "catalogue_builder: %s\n", fault.message.c_str());
        return 1;
    }
    return 0;
}
