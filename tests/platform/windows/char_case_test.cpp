#include "platform/char_case.h"

#include <gtest/gtest.h>

// Case as Windows maps it in the ANSI code page (1252 here): one byte is
// one character, and "é" (0xE9) has "É" (0xC9).
TEST(CharCase, TheAnsiCodePagesMapping)
{
    EXPECT_EQ(CharCase::upper("R\xe9sum\xe9 Vorns_9"), "R\xc9SUM\xc9 VORNS_9");
    EXPECT_EQ(CharCase::lower("R\xc9SUM\xc9 VORNS_9"), "r\xe9sum\xe9 vorns_9");
    EXPECT_EQ(CharCase::upperFirst("\xe9t\xe9"), "\xc9t\xe9");
    EXPECT_TRUE(CharCase::equalIgnoringCase("caf\xe9", "CAF\xc9"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("caf\xe9", "CAFE"));
}
