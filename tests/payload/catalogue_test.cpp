#include "payload/catalogue.h"
#include "payload/control_file.h"
#include "support/test_catalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

std::optional<LocalErrors> errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (LocalErrors error) {
        return error;
    }
    return std::nullopt;
}

std::string field(const std::string& record, const char* key)
{
    return ParseRecordField(record.data(), record.size(), key);
}

} // namespace

TEST(Catalogue, CompiledInCollectionHoldsEightWellFormedEntries)
{
    ASSERT_EQ(ReadCatalogueCount(), 8u);
    for (std::uint32_t k = 1; k <= 8; ++k) {
        const CatalogueEntry entry = LoadCatalogueEntry(k);
        const VornRecord record = ParseRecord(entry.record.data(), entry.record.size());
        EXPECT_FALSE(record.name.empty());
        EXPECT_EQ(record.file, record.name + ".vrn");
        EXPECT_EQ(record.placementMode, "0");
        EXPECT_EQ(entry.image.substr(0, 4), "\x89PNG") << k;
    }
}

TEST(Catalogue, CountResourceFaults)
{
    TestCatalogue catalogue;
    EXPECT_EQ(errorOf([] { ReadCatalogueCount(); }), LocalErrors::CantFindVorn);
    catalogue.setCountBytes(std::string("\x08\0\0", 3));
    EXPECT_EQ(errorOf([] { ReadCatalogueCount(); }), LocalErrors::CantLoadVorn);
    catalogue.setCountBytes(std::string("\x08\0\0\0\0", 5));
    EXPECT_EQ(errorOf([] { ReadCatalogueCount(); }), LocalErrors::CantLoadVorn);
    catalogue.setCount(0);
    EXPECT_EQ(errorOf([] { ReadCatalogueCount(); }), LocalErrors::CantLoadVorn);
    catalogue.setCount(0x01020304);
    EXPECT_EQ(ReadCatalogueCount(), 0x01020304u);
}

TEST(Catalogue, EntryFaults)
{
    TestCatalogue catalogue;
    catalogue.addEntry(1, "Leaf");
    catalogue.setRecord(2, recordFor("Stone", "Stone.vrn"));
    catalogue.setImage(3, "");
    catalogue.setRecord(3, recordFor("Empty", "Empty.vrn"));
    catalogue.setImage(5, "x");

    EXPECT_EQ(LoadCatalogueEntry(1).image, "image of Leaf");
    EXPECT_EQ(errorOf([] { LoadCatalogueEntry(2); }), LocalErrors::CantFindVorn) << "image missing";
    EXPECT_EQ(LoadCatalogueEntry(3).image.size(), 0) << "an empty image gives an empty file";
    EXPECT_EQ(errorOf([] { LoadCatalogueEntry(5); }), LocalErrors::CantFindVorn) << "record missing";
    // Resources that are there but cannot be read.
    catalogue.setUnloadable("CTL", "IDR_CTL6");
    catalogue.setImage(6, "x");
    EXPECT_EQ(errorOf([] { LoadCatalogueEntry(6); }), LocalErrors::CantLoadVorn);
    catalogue.setRecord(7, recordFor("Seven", "Seven.vrn"));
    catalogue.setUnloadable("VRN", "IDR_VRN7");
    EXPECT_EQ(errorOf([] { LoadCatalogueEntry(7); }), LocalErrors::CantLoadVorn);
    EXPECT_EQ(LocalErrorMessage(1), "Can't load vorn.");
    EXPECT_EQ(LocalErrorMessage(4), "Invalid file.");
    EXPECT_EQ(LocalErrorMessage(5), "Unknown error.");
}

TEST(Catalogue, FieldsAreFoundByKeyWhereverTheyStand)
{
    EXPECT_EQ(field("StepSize:250\r\n", "StepSize:"), "250");
    EXPECT_EQ(field("StepSize:250\n", "StepSize:"), "25") << "a bare LF costs the last character";
    EXPECT_EQ(field("VornName:\r\n", "VornName:"), "");
    EXPECT_EQ(field("VornName:A\r\nVornName:B\r\n", "VornName:"), "A");
    const std::string shuffled = "\r\nVornsDown:4\r\nVornFile:Leaf.vrn\r\nVornSelectionMode:0\r\n"
                                 "VornName:Leaf\r\nVornPlacementMode:0\r\nStepSize:210\r\nVornsAcross:5\r\n";
    const VornRecord record = ParseRecord(shuffled.data(), shuffled.size());
    EXPECT_EQ(FormatRecord(record),
              "VornName:Leaf\r\nVornFile:Leaf.vrn\r\nStepSize:210\r\nVornsAcross:5\r\nVornsDown:4\r\n"
              "VornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n");
    // Searches stay within the record's size.
    const std::string cut = "VornName:Leaf\r\nStepSize:250\r\n";
    EXPECT_EQ(ParseRecordField(cut.data(), 15, "StepSize:"), "");
}
