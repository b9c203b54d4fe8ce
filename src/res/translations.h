#pragma once

#include "platform/dialog_template.h"

#include <string>
#include <vector>

// The program's texts in other languages: one catalogue per language, made
// from po/<language>.po by tools/translation_tables. Each text is found by its
// resource's name and its English text, as gettext finds a message by context
// and msgid, so a text whose English changed falls back to English until its
// translation is brought up to date.
struct TranslatedText {
    const char* context; // IDS_… for a string, IDD_… for a dialog's texts
    const char* english;
    const char* translated;
};

struct LanguageCatalogue {
    const char* language; // as gettext names it: "de"
    std::vector<TranslatedText> entries;
};

// Every catalogue, written from po/ at build time.
const std::vector<LanguageCatalogue>& LanguageCatalogues();

// The catalogue for a language name such as "de", "de_AT" or "de_DE.UTF-8",
// or nullptr for one we have none for.
const LanguageCatalogue* LanguageCatalogueFor(const std::string& language);

// The language gettext would show messages in, given LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG (nullptr where unset): the first language LANGUAGE
// lists that we have, or without LANGUAGE the locale's. "" means English, the
// program's own texts: for C, POSIX, en_*, and languages we do not have.
std::string MessageLanguage(const char* language, const char* lcAll, const char* lcMessages, const char* lang);

// The string's text in the catalogue's language; English without a
// catalogue, for texts never translated, and where the catalogue has none.
std::string TranslatedString(const LanguageCatalogue* catalogue, int id);

// The dialog with its texts in the catalogue's language, widened or
// heightened where that language's texts need the room.
DialogTemplate TranslatedTemplate(const DialogTemplate& english, const LanguageCatalogue& catalogue);

// Windows' primary language id (LANG_GERMAN, …) for the catalogue's language.
int WindowsPrimaryLanguage(const LanguageCatalogue& catalogue);

// The Linux build's resources answer in this language from now on ("" for
// English), as a Windows thread's UI language is set; at first use it is
// the one MessageLanguage gives for the environment.
void SetResourceLanguage(const std::string& language);
