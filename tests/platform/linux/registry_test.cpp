#include "host/vorns_folder.h"
#include "platform/linux/registry_files.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::string> defaultValueIn(const std::string& text, const std::string& section)
{
    return Registry::DefaultValueInText(text, section);
}

const std::string kKey = "CRV5.Image\\shell\\open\\command";
const std::string kSection = "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1700000000\n";
} // namespace

TEST(Registry, UserClassesOverrideMachineClasses)
{
    ThrowawayPrefix prefix;
    EXPECT_FALSE(Registry::QueryClassesRootDefault(kKey));
    prefix.registerHost("C:\\Machine\\Corvane.exe %1");
    EXPECT_EQ(Registry::QueryClassesRootDefault(kKey), "C:\\Machine\\Corvane.exe %1");
    prefix.writeRegistry("user.reg",
                         "[software\\\\classes\\\\crv5.image\\\\SHELL\\\\open\\\\command] 1\n"
                         "@=str:\"C:\\\\User\\\\Corvane.exe %1\"\n");
    EXPECT_EQ(Registry::QueryClassesRootDefault(kKey), "C:\\User\\Corvane.exe %1");
}

TEST(Registry, ValuesDecodeWinesEscapes)
{
    const std::string header = "WINE REGISTRY Version 2\n\n";
    const auto value = [&](const std::string& line) {
        return defaultValueIn(header + "[Other] 1\n@=\"no\"\n\n" + kSection + "\"Name\"=\"x\"\n" + line
                                  + "\n\n[Next] 1\n@=\"later\"\n",
                              "Software\\Classes\\" + kKey);
    };
    EXPECT_EQ(value("@=\"a\\\"q\\\" \\\\b\""), "a\"q\" \\b");
    EXPECT_EQ(value("@=\"\\x41\\x00e9\\x20AC!\""), "A\xc3\xa9\xe2\x82\xac!");
    EXPECT_EQ(value("@=\"\\101\\60\\7\\q\""), "A0\aq");
    EXPECT_EQ(value("@=\"\\n\\r\\t\""), "\n\r\t");
    EXPECT_EQ(value("@=str(2):\"%ProgramFiles%\""), "%ProgramFiles%");
    EXPECT_EQ(value("@=\"caf\xc3\xa9\""), "caf\xc3\xa9");
    EXPECT_FALSE(value("@=dword:00000001"));
    EXPECT_FALSE(value("@=hex:41,00"));
    EXPECT_FALSE(value("@=\"unterminated"));
    EXPECT_FALSE(value("")) << "no default value in the section";
    EXPECT_EQ(value("@=\"" + std::string(1023, 'x') + "\""), std::string(1023, 'x')) << "fits with its terminator";
    EXPECT_FALSE(value("@=\"" + std::string(1024, 'x') + "\"")) << "1,025 bytes with the terminator";
    EXPECT_EQ(value("@=\"" + std::string(1021, 'x') + "\\xe9\""), std::string(1021, 'x') + "\xc3\xa9");
    EXPECT_FALSE(value("@=\"" + std::string(1022, 'x') + "\\xe9\"")) << "bytes are counted, not characters";
    EXPECT_FALSE(defaultValueIn("REGEDIT4\n\n" + kSection + "@=\"x\"\n", "Software\\Classes\\" + kKey));
}

TEST(Registry, ValuesAsWineWritesThem)
{
    const auto value = [&](const std::string& line) {
        return defaultValueIn("WINE REGISTRY Version 2\n\n" + kSection + line + "\n", "Software\\Classes\\" + kKey);
    };
    // A character outside the Basic Multilingual Plane is written as a pair.
    EXPECT_EQ(value("@=\"C:\\\\Emoji \\xd83d\\xde00\\\\x.exe %1\""), "C:\\Emoji \xf0\x9f\x98\x80\\x.exe %1");
    EXPECT_EQ(value("@=\"\\xD83D\\xDE00\""), "\xf0\x9f\x98\x80");
    EXPECT_FALSE(value("@=\"a\\xd83d\"")) << "a high half at the end";
    EXPECT_FALSE(value("@=\"a\\xd83db\"")) << "a high half before a plain character";
    EXPECT_FALSE(value("@=\"a\\xde00\"")) << "a low half alone";
    // A zero character ends the text.
    EXPECT_EQ(value("@=\"C:\\\\A\\\\x.exe %1\\0junk\""), "C:\\A\\x.exe %1");
    EXPECT_EQ(value("@=\"ab\\x0000cd\""), "ab");
    EXPECT_FALSE(value("@=\"" + std::string(10, 'x') + "\\0" + std::string(1013, 'y') + "\""))
        << "the whole value must fit, not only the text before the zero";
    // Blanks as hand-edited files have them.
    EXPECT_EQ(value("  @ = \"spaced\""), "spaced");
    EXPECT_EQ(value("\t@=\t\"tabbed\"\r"), "tabbed");
}

TEST(Registry, SectionsAsWinesLoaderReadsThem)
{
    const std::string section = "Software\\Classes\\" + kKey;
    const std::string header = "WINE REGISTRY Version 2\n";
    // A header followed at once by another key's header: the first has no values.
    EXPECT_FALSE(defaultValueIn(header + kSection + "[Software\\\\Classes\\\\Other] 1\n@=\"other\"\n", section));
    EXPECT_FALSE(defaultValueIn(header + kSection + "  [Other] 1\n@=\"other\"\n", section));
    // A key listed twice is merged: a later value replaces an earlier one, a
    // later section without one keeps it.
    EXPECT_EQ(defaultValueIn(header + kSection + "@=\"first\"\n\n[Other] 1\n@=\"x\"\n" + kSection + "@=\"second\"\n",
                             section),
              "second");
    EXPECT_EQ(defaultValueIn(header + kSection + "@=\"first\"\n\n" + kSection + "\"Name\"=\"x\"\n", section), "first");
    EXPECT_FALSE(defaultValueIn(header + kSection + "@=\"first\"\n" + kSection + "@=dword:00000001\n", section));
    // Blanks before a header.
    EXPECT_EQ(defaultValueIn(header + "   " + kSection + "@=\"indented\"\n", section), "indented");
    // The first line must be exactly the signature, with LF or CR LF.
    EXPECT_EQ(defaultValueIn("WINE REGISTRY Version 2\r\n" + kSection + "@=\"crlf\"\r\n", section), "crlf");
    EXPECT_FALSE(defaultValueIn("WINE REGISTRY Version 23\n" + kSection + "@=\"x\"\n", section));
    EXPECT_FALSE(defaultValueIn("WINE REGISTRY Version 2 \n" + kSection + "@=\"x\"\n", section));
    EXPECT_FALSE(defaultValueIn("WINE REGISTRY Version 2", section));
}

TEST(Registry, SectionsAreFoundAcrossReadBlocks)
{
    // Headers of every length, so that some fall across each block boundary.
    std::string text = "WINE REGISTRY Version 2\n\n";
    for (int i = 0; text.size() < 300000; ++i)
        text += "[Software\\\\Classes\\\\" + std::string(std::size_t(i % 97), 'k') + "] 1\n@=\"other\"\n\n";
    text += kSection + "@=\"found\"\n";
    EXPECT_EQ(defaultValueIn(text, "Software\\Classes\\" + kKey), "found");
    EXPECT_EQ(defaultValueIn(text, "Software\\Classes\\kkk"), "other");
    EXPECT_FALSE(defaultValueIn(text, "Software\\Classes\\missing"));
}

// Key names as Wine writes them: characters above 127 as \x escapes (four
// digits when a hex digit follows), a surrogate pair as two, brackets as
// \[ and \]; matched after decoding, letter case ignored beyond ASCII too.
TEST(Registry, KeyNamesAsWineWritesThem)
{
    const std::string file = "WINE REGISTRY Version 2\n\n"
                             "[Software\\\\Classes\\\\caf\\xe9] 1\n@=\"caf\xc3\xa9\"\n\n"
                             "[Software\\\\Classes\\\\Stra\\x00dfe] 1\n@=\"stra\xc3\x9f\x65\"\n\n"
                             "[Software\\\\Classes\\\\\\xd83d\\xde00key] 1\n@=\"astral\"\n\n"
                             "[Software\\\\Classes\\\\x\\[1\\]] 1\n@=\"brackets\"\n\n"
                             "[Software\\\\Classes\\\\\\x41pple] 1\n@=\"spelled\"\n";
    const struct {
        const char* key;
        std::optional<std::string> value;
    } rows[] = {
        {"caf\xc3\xa9", "caf\xc3\xa9"},
        {"CAF\xc3\xa9", "caf\xc3\xa9"},
        {"CAF\xc3\x89", "caf\xc3\xa9"},
        {"caf\xc3\xa8", std::nullopt},
        {"caf", std::nullopt},
        {"Stra\xc3\x9f"
         "e",
         "stra\xc3\x9f"
         "e"},
        {"STRA\xc3\x9f"
         "E",
         "stra\xc3\x9f"
         "e"},
        {"Strasse", std::nullopt},
        {"\xf0\x9f\x98\x80key", "astral"},
        {"\xf0\x9f\x98\x80KEY", "astral"},
        {"x[1]", "brackets"},
        {"X[1]", "brackets"},
        {"x\\[1\\]", std::nullopt},
        {"apple", "spelled"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(defaultValueIn(file, std::string("Software\\Classes\\") + row.key), row.value) << row.key;
}

TEST(VornsFolder, DerivedFromTheRegisteredCommand)
{
    EXPECT_EQ(VornsFolderFromCommand("C:\\PROGRA~1\\CORVAN~1\\CORVANE.EXE %1"), "C:\\PROGRA~1\\CORVAN~1\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand("\"C:\\Program Files\\Corvane 5\\Corvane.exe\" \"%1\""),
              "C:\\Program Files\\Corvane 5\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand("\"C:\\Corvane 5\\Corvane.exe\" %1"), "C:\\Corvane 5\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand("\"Corvane.exe\" \"%1\""), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("\"C:\\Corvane 5\\Corvane.exe %1"), "\"C:\\Corvane 5\\Vorns")
        << "without its closing quote, cut as an unquoted command";
    EXPECT_EQ(VornsFolderFromCommand("C:\\Corvane 5\\Corvane.exe \"%1\""), "C:\\Corvane 5\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand(""), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("Corvane.exe"), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("Corvane.exe %1"), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("C:\\Corvane\\"), "Vorns");
}
