#include "core/DataTables.h"

#include <gtest/gtest.h>

using namespace velnor;

TEST(DataTables, StartUpCopiesTheBuiltInRows)
{
    StaticToDynamic();
    ASSERT_EQ(CropsRec.size(), 50u);
    ASSERT_EQ(AnimalsRec.size(), 7u);
    ASSERT_EQ(IndustRec.size(), 15u);
    ASSERT_EQ(MetDataRec.size(), 6u);
    EXPECT_EQ(CropsRec[0].Name, "Cereals: Barley");
    EXPECT_EQ(CropsRec[0].Id, 1);
    EXPECT_EQ(CropsRec[0].Consumpt, (std::array<double, 7>{20, 45, 105, 135, 0.3, 1.15, 0.25}));
    for (std::size_t p = 0; p < CropsRec.size(); ++p)
        EXPECT_EQ(CropsRec[p].Id, static_cast<int>(p) + 1);
    for (std::size_t p = 0; p < IndustRec.size(); ++p)
        EXPECT_EQ(IndustRec[p].Id, static_cast<int>(p) + 1);
    EXPECT_EQ(IndustRec[14].Name, "Thermoelectric/MW");
    EXPECT_DOUBLE_EQ(IndustRec[0].Intake[0], 0.0144);
    EXPECT_DOUBLE_EQ(IndustRec[12].Cons[6], 0.0775);
    EXPECT_EQ(CropsRec[49].Name, "Vegetables: Water Melons");
}

TEST(DataTables, WorkingTablesAreCopiesOfTheBuiltInOnes)
{
    StaticToDynamic();
    AnimalsRec[0].Consumpt[0] = 1;
    EXPECT_DOUBLE_EQ(AnimalsRecSt[0].Consumpt[0], 70);
    StaticToDynamic();
    EXPECT_DOUBLE_EQ(AnimalsRec[0].Consumpt[0], 70);
}

TEST(DataTables, Lookups)
{
    StaticToDynamic();
    EXPECT_EQ(FindCropIndxName("Cereals: Wheat"), 6);
    EXPECT_EQ(FindCropIndxName("cereals: wheat"), NotFound);
    EXPECT_EQ(FindAnimIndxId(7), 6);
    EXPECT_EQ(AnimalsRec[static_cast<std::size_t>(FindAnimIndxId(7))].Name, "Chickens");
    EXPECT_EQ(FindAnimIndxName("Sheeps"), 1);
    EXPECT_EQ(FindIndIndxName("Food"), 0);
    EXPECT_EQ(FindIndIndxName(""), NotFound);
    EXPECT_EQ(FindWatUsTypeIndxId(-1), 4);
    EXPECT_EQ(FindWatUsTypeIndxId(0), NotFound);
    EXPECT_EQ(FindWatUsTypeIndxName("Irrigation"), 3);
}

TEST(DataTables, NameLookupFindsTheLastOfEqualNames)
{
    StaticToDynamic();
    AnimalsRec[5].Name = "Cattles";
    EXPECT_EQ(FindAnimIndxName("Cattles"), 5);
}

TEST(DataTables, EmpiricalTable)
{
    // zone 2 ("Arid"), heat index 2 ("15-25 C")
    EXPECT_DOUBLE_EQ(IndicatEToRec.TblETo[(2 - 1) * 3 + (2 - 1)], 6);
    EXPECT_EQ(IndicatEToRec.TblClimaZone[3], "Humid");
    EXPECT_EQ(IndicatEToRec.TblTempZone[2], "greater than 25\u00B0C");
}
