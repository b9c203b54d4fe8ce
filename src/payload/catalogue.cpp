#include "payload/catalogue.h"

#include "platform/module_resources.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

#include <algorithm>
#include <cstring>
#include <string_view>

std::string LocalErrorMessage(int error)
{
    switch (static_cast<LocalErrors>(error)) {
    case LocalErrors::CantFindVorn:
        return LoadString(IDS_CANT_FIND_VORN);
    case LocalErrors::CantLoadVorn:
        return LoadString(IDS_CANT_LOAD_VORN);
    case LocalErrors::CantFindHost:
        return LoadString(IDS_CANT_FIND_HOST);
    case LocalErrors::CantFindControlFile:
        return LoadString(IDS_CANT_FIND_CONTROL_FILE);
    case LocalErrors::InvalidFile:
        return LoadString(IDS_INVALID_FILE);
    }
    return LoadString(IDS_UNKNOWN_ERROR);
}

namespace {

std::string loadResource(const std::string& name, const std::string& type)
{
    const auto handle = ModuleResources::find(name, type);
    if (!handle)
        throw LocalErrors::CantFindVorn;
    auto bytes = ModuleResources::load(*handle);
    if (!bytes)
        throw LocalErrors::CantLoadVorn;
    return *bytes;
}

} // namespace

std::uint32_t ReadCatalogueCount()
{
    const auto handle = ModuleResources::find("IDR_NUM_VORNS", "NUM_VORNS");
    if (!handle)
        throw LocalErrors::CantFindVorn;
    if (handle->size != 4)
        throw LocalErrors::CantLoadVorn;
    const auto bytes = ModuleResources::load(*handle);
    if (!bytes || bytes->size() != 4)
        throw LocalErrors::CantLoadVorn;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes->data());
    const std::uint32_t count
        = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    if (count == 0)
        throw LocalErrors::CantLoadVorn;
    return count;
}

std::string LoadCatalogueRecord(std::uint32_t k)
{
    return loadResource(FormatText(LoadString(IDS_CTL_RESOURCE), {k}), "CTL");
}

CatalogueEntry LoadCatalogueEntry(std::uint32_t k)
{
    CatalogueEntry entry;
    entry.record = LoadCatalogueRecord(k);
    entry.image = loadResource(FormatText(LoadString(IDS_VRN_RESOURCE), {k}), "VRN");
    return entry;
}

std::string ParseRecordField(const char* text, std::size_t size, const char* key)
{
    const std::string_view record(text, size);
    const std::size_t at = record.find(key);
    if (at == std::string_view::npos)
        return {};
    const std::size_t start = at + std::strlen(key);
    const std::size_t lineFeed = record.find('\n', start);
    // The build rejects records without a CR LF after every value; this
    // keeps a malformed one from reading outside its value.
    if (lineFeed == std::string_view::npos || lineFeed == start)
        return {};
    return std::string(record.substr(start, lineFeed - 1 - start));
}

VornRecord ParseRecord(const char* text, std::size_t size)
{
    VornRecord record;
    record.name = ParseRecordField(text, size, "VornName:");
    record.file = ParseRecordField(text, size, "VornFile:");
    record.stepSize = ParseRecordField(text, size, "StepSize:");
    record.across = ParseRecordField(text, size, "VornsAcross:");
    record.down = ParseRecordField(text, size, "VornsDown:");
    record.placementMode = ParseRecordField(text, size, "VornPlacementMode:");
    record.selectionMode = ParseRecordField(text, size, "VornSelectionMode:");
    return record;
}
