#include "registry.h"
#include "throwaway_prefix.h"
#include "vorns_folder.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

std::optional<std::string> defaultValueIn(const std::string& text, const std::string& section)
{
    QByteArray bytes = QByteArray::fromStdString(text);
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return Registry::DefaultValueInFile(file, section);
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
    prefix.writeRegistry("user.reg", "[software\\\\classes\\\\crv5.image\\\\SHELL\\\\open\\\\command] 1\n"
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
    EXPECT_EQ(value("@=\"" + std::string(1022, 'x') + "\"")->size(), 1022u);
    EXPECT_FALSE(value("@=\"" + std::string(1023, 'x') + "\"")) << "1,024 bytes with the terminator";
    EXPECT_FALSE(defaultValueIn("REGEDIT4\n\n" + kSection + "@=\"x\"\n", "Software\\Classes\\" + kKey));
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

TEST(VornsFolder, DerivedFromTheRegisteredCommand)
{
    EXPECT_EQ(VornsFolderFromCommand("C:\\PROGRA~1\\CORVAN~1\\CORVANE.EXE %1"), "C:\\PROGRA~1\\CORVAN~1\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand("\"C:\\Program Files\\Corvane 5\\Corvane.exe\" \"%1\""),
              "\"C:\\Program Files\\Corvane 5\\Vorns");
    EXPECT_EQ(VornsFolderFromCommand("Corvane.exe"), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("Corvane.exe %1"), "Vorns");
    EXPECT_EQ(VornsFolderFromCommand("C:\\Corvane\\"), "Vorns");
}
