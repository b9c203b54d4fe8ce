#pragma once

#include "linux/prefixes/prefix_search.h"

#include <vector>

// The prefixes whose registry answers Corvane's registration, the one the
// Vorns folder search reads.
std::vector<PrefixSearch::Prefix> PrefixesWithHost(const std::vector<PrefixSearch::Prefix>& prefixes);

// The one of `prefixes` used most recently (its user.reg changed last); the
// first of them on a tie. `prefixes` is not empty.
std::size_t MostRecentlyUsed(const std::vector<PrefixSearch::Prefix>& prefixes);
