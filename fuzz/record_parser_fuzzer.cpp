// The record parser against the plain reading of each key: the value runs
// from after the key to the first LF, less the character before the LF.
#include "payload/catalogue.h"

#include <cstdint>
#include <string>

namespace {

std::string reference(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size();
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos || lf == start)
        return {};
    return text.substr(start, lf - 1 - start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const VornRecord record = ParseRecord(text.data(), text.size());
    const std::pair<const std::string*, const char*> fields[] = {
        {&record.name, "VornName:"},
        {&record.file, "VornFile:"},
        {&record.stepSize, "StepSize:"},
        {&record.across, "VornsAcross:"},
        {&record.down, "VornsDown:"},
        {&record.placementMode, "VornPlacementMode:"},
        {&record.selectionMode, "VornSelectionMode:"},
    };
    for (const auto& [value, key] : fields)
        if (*value != reference(text, key))
            __builtin_trap();
    return 0;
}
