// The language the Linux program chooses, and what a catalogue gives: the
// translation where it has one for the text's current English, English
// everywhere else.
#include "platform/dialog_template.h"
#include "platform/string_resources.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"
#include "res/translations.h"

#include <gtest/gtest.h>

TEST(Translations, LanguageChosenAsGettextChoosesIt)
{
    struct Row {
        const char *language, *lcAll, *lcMessages, *lang, *chosen;
    };
    const Row rows[] = {
        {nullptr, nullptr, nullptr, nullptr, ""},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8", "de"},
        {nullptr, nullptr, nullptr, "de_AT@euro", "de"},
        {nullptr, nullptr, "es_MX.UTF-8", "de_DE.UTF-8", "es"},
        {nullptr, "fr_CA.UTF-8", "es_MX.UTF-8", "de_DE.UTF-8", "fr"},
        {"", "", "", "fr_FR", "fr"},
        {"it:es:de", "C.UTF-8", nullptr, nullptr, "es"},
        {"it", nullptr, nullptr, "de_DE.UTF-8", ""},
        {"en_GB:de", nullptr, nullptr, "de_DE.UTF-8", ""},
        {"de", nullptr, nullptr, nullptr, ""},
        {"de", "C", nullptr, "fr_FR", ""},
        {"de", "POSIX", nullptr, nullptr, ""},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", ""},
        {nullptr, nullptr, nullptr, "it_IT.UTF-8", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MessageLanguage(row.language, row.lcAll, row.lcMessages, row.lang), row.chosen)
            << (row.language ? row.language : "-") << " " << (row.lcAll ? row.lcAll : "-") << " "
            << (row.lcMessages ? row.lcMessages : "-") << " " << (row.lang ? row.lang : "-");
    }
}

TEST(Translations, ACatalogueTranslatesOnlyWhatItHasForTheCurrentEnglish)
{
    const LanguageCatalogue catalogue = {
        "xx",
        {
            {"IDS_FINDING", "Finding Corvane and Vorns control file.", "Corvane suchen."},
            {"IDS_READY", "Thank-you for an older text.", "Danke."},
            {"IDS_CONTROL_FILE", "Vorns.ctl", "Vorns.dat"},
            {"IDD_DUP_VORN_NAME", "S&kip", "Ü&berspringen"},
        },
    };
    EXPECT_EQ(TranslatedString(&catalogue, IDS_FINDING), "Corvane suchen.");
    EXPECT_EQ(TranslatedString(&catalogue, IDS_READY).substr(0, 14), "Thank-you for ") << "stale: English";
    EXPECT_EQ(TranslatedString(&catalogue, IDS_DONE).substr(0, 15), "Done installing") << "missing: English";
    EXPECT_EQ(TranslatedString(&catalogue, IDS_CONTROL_FILE), "Vorns.ctl") << "a file name stays";
    EXPECT_EQ(TranslatedString(&catalogue, 9999), "");

    const DialogTemplate dialog = TranslatedTemplate(kDupVornNameTemplate, catalogue);
    EXPECT_STREQ(dialog.title, "Duplicate Vorn Name");
    EXPECT_STREQ(dialog.controls[0].text, "&Save");
    EXPECT_STREQ(dialog.controls[1].text, "Ü&berspringen");
    EXPECT_EQ(dialog.cx, 129) << "no layout of its own";
}

// The compiled-in catalogues, as the program answers with each language set.
TEST(Translations, EachLanguagesTextsAndLayout)
{
    struct Row {
        const char* language;
        std::string aboutItem, install, skip;
        int mainWidth, conflictHeight;
    };
    const Row rows[] = {
        {"", "&About Quillop...", "&Install Vorn Files", "S&kip", 206, 86},
        {"de",
         "&Info \xC3\xBC"
         "ber Quillop...",
         "Vorn-Dateien &installieren",
         "\xC3\x9C&"
         "berspringen",
         226, 94},
        {"fr", "\xC3\x80 &propos de Quillop...", "&Installer les fichiers Vorn", "&Ignorer", 226, 86},
        {"es", "&Acerca de Quillop...", "&Instalar archivos Vorn", "&Omitir", 226, 86},
    };
    for (const Row& row : rows) {
        SetResourceLanguage(row.language);
        EXPECT_EQ(LoadString(IDS_ABOUTBOX), row.aboutItem);
        EXPECT_EQ(LoadString(IDS_CONTROL_FILE), "Vorns.ctl");
        const DialogTemplate& main = LoadDialogTemplate(kMainDialogTemplate);
        EXPECT_EQ(main.controls[2].text, row.install);
        EXPECT_EQ(main.cx, row.mainWidth);
        const DialogTemplate& conflict = LoadDialogTemplate(kDupFileNameTemplate);
        EXPECT_EQ(conflict.controls[1].text, row.skip);
        EXPECT_EQ(conflict.cy, row.conflictHeight);
    }
    SetResourceLanguage("de");
    EXPECT_EQ(LoadString(IDS_DONE),
              "%d Vorn-Dateien wurden installiert.\r%s\r\rKlicken Sie auf \xE2\x80\x9E"
              "Beenden\xE2\x80\x9C, um das Programm zu schlie\xC3\x9F"
              "en.\r\r\rViel Freude mit Quenna!  ");
    SetResourceLanguage("");
}
