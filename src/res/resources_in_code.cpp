// The Linux build's string and dialog resources: the tables compiled in, in
// the language gettext would choose from the environment, as Windows' loader
// chooses a resource's language from the user's.
#include "platform/dialog_template.h"
#include "platform/string_resources.h"
#include "res/translations.h"

#include <cstdlib>
#include <map>
#include <utility>

namespace {

const LanguageCatalogue*& chosenCatalogue()
{
    static const LanguageCatalogue* catalogue = LanguageCatalogueFor(MessageLanguage(
        std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
    return catalogue;
}

} // namespace

void SetResourceLanguage(const std::string& language)
{
    chosenCatalogue() = LanguageCatalogueFor(language);
}

void LoadStringsInEnglish()
{
    SetResourceLanguage("");
}

std::string LoadString(int id)
{
    return TranslatedString(chosenCatalogue(), id);
}

const DialogTemplate& LoadDialogTemplate(const DialogTemplate& english)
{
    const LanguageCatalogue* catalogue = chosenCatalogue();
    if (!catalogue)
        return english;
    // Made once per language and dialog, and kept: dialogs hold on to it.
    static std::map<std::pair<const LanguageCatalogue*, int>, DialogTemplate> translated;
    const auto key = std::make_pair(catalogue, english.id);
    auto it = translated.find(key);
    if (it == translated.end())
        it = translated.emplace(key, TranslatedTemplate(english, *catalogue)).first;
    return it->second;
}
