#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The errors of an installation run; the catalogue raises the first two.
enum class LocalErrors {
    CantFindVorn = 0,
    CantLoadVorn = 1,
    CantFindHost = 2,
    CantFindControlFile = 3,
    InvalidFile = 4,
};

// The message shown for an error code; "Unknown error." for any other value.
std::string LocalErrorMessage(int error);

// One catalogue entry's fields, all kept as text.
struct VornRecord {
    std::string name;
    std::string file;
    std::string stepSize;
    std::string across;
    std::string down;
    std::string placementMode;
    std::string selectionMode;
};

// Entry k of the catalogue: its record text and its image bytes.
struct CatalogueEntry {
    std::string record;
    std::string image;
};

// The number of entries. Throws LocalErrors.
std::uint32_t ReadCatalogueCount();
// Entry k (from 1). Throws LocalErrors.
CatalogueEntry LoadCatalogueEntry(std::uint32_t k);
// Entry k's record text alone. Throws LocalErrors.
std::string LoadCatalogueRecord(std::uint32_t k);

VornRecord ParseRecord(const char* text, std::size_t size);
// The value after the first occurrence of `key` (which includes its colon)
// up to the line's CR LF.
std::string ParseRecordField(const char* text, std::size_t size, const char* key);
