#include "platform/module_resources.h"
#include "support/test_catalogue.h"

#include <gtest/gtest.h>

TEST(ModuleResources, FindsByTypeAndNameInTheCurrentRoot)
{
    const auto builtIn = ModuleResources::find("IDR_NUM_VORNS", "NUM_VORNS");
    ASSERT_TRUE(builtIn);
    EXPECT_EQ(builtIn->size, 4);
    EXPECT_FALSE(ModuleResources::find("idr_num_vorns", "NUM_VORNS")) << "names match case-sensitively";
    {
        TestCatalogue catalogue;
        catalogue.setCountBytes("abc");
        const auto switched = ModuleResources::find("IDR_NUM_VORNS", "NUM_VORNS");
        ASSERT_TRUE(switched);
        EXPECT_EQ(ModuleResources::load(*switched), "abc");
    }
    EXPECT_EQ(ModuleResources::find("IDR_NUM_VORNS", "NUM_VORNS")->size, 4);
}
