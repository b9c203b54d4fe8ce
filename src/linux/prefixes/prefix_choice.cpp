#include "linux/prefixes/prefix_choice.h"

#include "platform/linux/registry_files.h"
#include "platform/linux/wine_prefix.h"
#include "platform/string_resources.h"
#include "res/resource_ids.h"

std::vector<PrefixSearch::Prefix> PrefixesWithHost(const std::vector<PrefixSearch::Prefix>& prefixes)
{
    const std::string key = LoadString(IDS_FILETYPE_KEY);
    std::vector<PrefixSearch::Prefix> withHost;
    for (const PrefixSearch::Prefix& prefix : prefixes)
        if (Registry::QueryClassesRootDefault(key, WinePrefix(prefix.path)))
            withHost.push_back(prefix);
    return withHost;
}

std::size_t MostRecentlyUsed(const std::vector<PrefixSearch::Prefix>& prefixes)
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < prefixes.size(); ++i)
        if (prefixes[i].lastUsed > prefixes[best].lastUsed)
            best = i;
    return best;
}
