// Loading stored scenarios: rows written by hand, reference tables, failures.
#include "DbFixture.h"

#include "core/Errors.h"

namespace velnor::db::test {
namespace {

class LoadTest : public DbTest {
protected:
    // Scenario 10 of project 1, written as another program might have: farm
    // rows of two farms interleaved, a group whose wn_groups.id equals a water
    // user's identifier, an unused data type beside a Blaney-Criddle user.
    void InsertScenario()
    {
        Sql(R"(
INSERT INTO projects (id, model, short_descr, creator) VALUES (1, 4, 'Project', 'someone');
INSERT INTO scenarios (id, project, short_descr) VALUES (17, 1, 'Cleared version');
INSERT INTO scenarios (id, project, short_descr, descr, parent) VALUES (10, 1, 'Stored', 'by hand', 17);
INSERT INTO wn_scenarios VALUES (10);
INSERT INTO gentities (id, name, descr, terminal_subtable) VALUES
  (101, 'Town', 'Town', 'wn_water_users'), (102, 'Farm A', 'Farm A', 'wn_water_users'),
  (103, 'Farm B', 'Farm B', 'wn_water_users'), (104, 'Plant', 'Plant', 'wn_water_users'),
  (105, 'Field', 'Field', 'wn_water_users');
INSERT INTO wn_water_users (id, scenario, num, type) VALUES
  (101, 10, 1000, 1), (102, 10, 0, 2), (103, 10, 0, 2), (104, 10, 2, 3), (105, 10, 10, 4);
INSERT INTO wn_urban_areas VALUES (201, 101, 1000);
INSERT INTO wn_urban_area_water_needs SELECT 201, m, 150 FROM generate_series(1, 12) m;
INSERT INTO wn_farms_animals VALUES (301, 102, 1, 100), (302, 103, 2, 50), (303, 102, 2, 200);
INSERT INTO wn_farm_animal_water_needs
  SELECT a, m, v FROM (VALUES (301, 70), (302, 15), (303, 15)) t(a, v), generate_series(1, 12) m;
INSERT INTO wn_industries VALUES (401, 104, 1, 2);
INSERT INTO wn_industry_water_needs SELECT 401, m, 0.02, 0.01, 0.005 FROM generate_series(1, 12) m;
INSERT INTO wn_irrig_areas_crops VALUES (501, 105, 1, 10, 300, 2, 123, 38);
INSERT INTO wn_irrig_area_crop_water_needs VALUES
  (501, 0, 1, 0, 0.3), (501, 0, 2, 20, 0.3), (501, 0, 3, 45, 1.15), (501, 0, 4, 105, 1.15), (501, 0, 5, 135, 0.25);
INSERT INTO wn_irrig_data SELECT 105, 1, m, 20 FROM generate_series(1, 12) m;
INSERT INTO wn_irrig_data SELECT 105, 4, m, 999 FROM generate_series(1, 12) m;
INSERT INTO wn_groups VALUES (101, 10, 'Pair', 'Pair');
INSERT INTO wn_users_groups (wn_group, water_user) VALUES (101, 101), (101, 104);
)");
    }
};

TEST_F(LoadTest, ReadsHandWrittenRowsAndRecomputesWhatIsNotStored)
{
    InsertScenario();
    TKyWnScenario scen;
    scen.LoadScenario(Conn(), 10, WatUserRec);

    EXPECT_EQ(scen.id, 10);
    EXPECT_EQ(scen.parent, 17);
    EXPECT_EQ(scen.short_descr, "Stored");
    EXPECT_EQ(scen.descr, "by hand");
    ASSERT_TRUE(scen.project.has_value());
    EXPECT_EQ(scen.project->short_descr, "Project");
    EXPECT_EQ(scen.project->model, KyVelnor);

    // Water supply, industry, farms, irrigation, groups.
    ASSERT_EQ(WatUserRec.size(), 6u);
    const int categories[] = {CatWaterSupply, CatIndustry, CatFarming, CatFarming, CatIrrigation, CatGroup};
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(WatUserRec[k].Category, categories[k]) << k;

    const TWaterUser& town = WatUserRec[0];
    EXPECT_EQ(town.Geo_id, 101);
    EXPECT_EQ(town.Toponym, "Town");
    EXPECT_EQ(town.UnitsNum, 1000);
    EXPECT_NEAR(town.TblMonthNeeds[6], 0.004575, 1e-15);
    EXPECT_NEAR(town.YearNeeds, 0.0549, 1e-14);

    const TWaterUser& plant = WatUserRec[1];
    EXPECT_EQ(plant.UnitsNum, 2);
    EXPECT_NEAR(plant.TblMonthNeeds[0], 0.02, 1e-15);
    ASSERT_EQ(plant.WatConsRec.size(), 1u);
    EXPECT_EQ(plant.WatConsRec[0].CnsmpType, "Food");
    EXPECT_DOUBLE_EQ(plant.WatConsRec[0].TblIntake[3], 0.02);
    EXPECT_DOUBLE_EQ(plant.WatConsRec[0].TblDisch[3], 0.005);

    const TWaterUser& farmA = WatUserRec[2];
    EXPECT_EQ(farmA.Toponym, "Farm A");
    ASSERT_EQ(farmA.WatConsRec.size(), 2u);
    EXPECT_EQ(farmA.UnitsNum, 300);
    EXPECT_EQ(farmA.WatConsRec[0].CnsmpType, "Cattles");
    EXPECT_EQ(farmA.WatConsRec[1].CnsmpType, "Sheeps");
    EXPECT_NEAR(farmA.TblMonthNeeds[0], 0.000305, 1e-15);
    EXPECT_EQ(WatUserRec[3].WatConsRec.size(), 1u);

    const TWaterUser& field = WatUserRec[4];
    EXPECT_EQ(field.MethId, 2);
    EXPECT_DOUBLE_EQ(field.Latitude, 38);
    EXPECT_DOUBLE_EQ(field.Height, 0); // altitude is not read back
    EXPECT_DOUBLE_EQ(field.TblMnthMinT[5], 20);
    EXPECT_DOUBLE_EQ(field.TblRelSun[5], 0); // data type 4 is not read for method 2
    ASSERT_EQ(field.WatConsRec.size(), 1u);
    const auto& kc = field.WatConsRec[0].TblKc;
    const double curve[7] = {20, 45, 105, 135, 0.3, 1.15, 0.25};
    for (int k = 0; k < 7; ++k)
        EXPECT_DOUBLE_EQ(kc[k], curve[k]) << k;
    // The crop's needs are computed from the meteorological data, as the editor does.
    WatConsRec.clear();
    AddExRecIrig(std::vector<double>(12, 20), 38, 0, 300, 2, 1, 10, 0);
    for (int m = 0; m < 12; ++m)
        EXPECT_NEAR(field.TblMonthNeeds[m], 10 * WatConsRec[0].TblConsp[m] / 1e6, 1e-15) << m;
    EXPECT_GT(field.YearNeeds, 0);

    // The group: its own identifier above the water users', members summed.
    const TWaterUser& pair = WatUserRec[5];
    EXPECT_EQ(pair.Toponym, "Pair");
    EXPECT_EQ(pair.UnitsNum, 2);
    EXPECT_EQ(pair.Geo_id, 106);
    ASSERT_EQ(pair.WatConsRec.size(), 2u);
    EXPECT_EQ(pair.WatConsRec[0].CnsmpId, 101);
    EXPECT_EQ(pair.WatConsRec[1].CnsmpId, 104);
    for (int m = 0; m < 12; ++m)
        EXPECT_NEAR(pair.TblMonthNeeds[m], town.TblMonthNeeds[m] + plant.TblMonthNeeds[m], 1e-15);
    EXPECT_NEAR(pair.YearNeeds, town.YearNeeds + plant.YearNeeds, 1e-14);
}

TEST_F(LoadTest, SavedScenarioOfEveryCategoryLoadsWithTheSameNeeds)
{
    const int town = AddWaterSupply("Town", 10000, 120);
    AddConsumptorUser(CatFarming, "Farm", {{1, 100}, {2, 200}});
    AddConsumptorUser(CatIndustry, "Plant", {{1, 2}, {14, 1}});
    const int f4 = AddIrrigation("Field PM", 4, {{1, 10}, {11, 30}, {49, 5}}, 60);
    AddIrrigation("Field MBC", 3, {{2, 10}}, 120);
    AddIrrigation("Field BC", 2, {{7, 10}}, 300);
    AddIrrigation("Field EMP", 1, {{20, 10}}, 200);
    AddGroup("Group", {town, f4});
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "All");
    const WaterUserList afterSave = WatUserRec;

    WatUserRec.clear();
    TKyWnScenario loaded;
    loaded.LoadScenario(Conn(), scen.id, WatUserRec);
    ASSERT_EQ(WatUserRec.size(), afterSave.size());
    for (const TWaterUser& before : afterSave) {
        const int k = FindWatUsIndxId(before.Geo_id);
        ASSERT_NE(k, NotFound) << before.Toponym.str();
        const TWaterUser& after = WatUserRec[static_cast<std::size_t>(k)];
        EXPECT_EQ(after.Toponym, before.Toponym);
        EXPECT_EQ(after.Category, before.Category);
        EXPECT_EQ(after.UnitsNum, before.UnitsNum) << before.Toponym.str();
        EXPECT_EQ(after.WatConsRec.size(), before.WatConsRec.size());
        for (int m = 0; m < 12; ++m)
            EXPECT_NEAR(after.TblMonthNeeds[m], before.TblMonthNeeds[m], 1e-15) << before.Toponym.str() << " " << m;
        EXPECT_NEAR(after.YearNeeds, before.YearNeeds, 1e-14) << before.Toponym.str();
    }
}

TEST_F(LoadTest, ReferenceTablesComeFromTheDatabase)
{
    // A fresh database holds exactly the built-in reference data.
    const LookupTables t = LoadLookupTbls(Conn());
    ASSERT_EQ(t.IndustRec.size(), IndustRecSt.size());
    ASSERT_EQ(t.AnimalsRec.size(), AnimalsRecSt.size());
    ASSERT_EQ(t.CropsRec.size(), CropsRecSt.size());
    ASSERT_EQ(t.MetDataRec.size(), MetDataRecSt.size());
    for (std::size_t k = 0; k < IndustRecSt.size(); ++k) {
        EXPECT_EQ(t.IndustRec[k].Name, IndustRecSt[k].Name);
        EXPECT_EQ(t.IndustRec[k].Id, IndustRecSt[k].Id);
        EXPECT_EQ(t.IndustRec[k].Intake, IndustRecSt[k].Intake) << k;
        EXPECT_EQ(t.IndustRec[k].Disch, IndustRecSt[k].Disch) << k;
        EXPECT_EQ(t.IndustRec[k].Cons, IndustRecSt[k].Cons) << k;
    }
    for (std::size_t k = 0; k < AnimalsRecSt.size(); ++k) {
        EXPECT_EQ(t.AnimalsRec[k].Name, AnimalsRecSt[k].Name);
        EXPECT_EQ(t.AnimalsRec[k].Consumpt, AnimalsRecSt[k].Consumpt) << k;
    }
    for (std::size_t k = 0; k < CropsRecSt.size(); ++k) {
        EXPECT_EQ(t.CropsRec[k].Name, CropsRecSt[k].Name);
        EXPECT_EQ(t.CropsRec[k].Id, CropsRecSt[k].Id);
        EXPECT_EQ(t.CropsRec[k].Consumpt, CropsRecSt[k].Consumpt) << k;
    }
    for (std::size_t k = 0; k < MetDataRecSt.size(); ++k) {
        EXPECT_EQ(t.MetDataRec[k].Name, MetDataRecSt[k].Name);
        EXPECT_EQ(t.MetDataRec[k].id, MetDataRecSt[k].id);
    }

    // A load replaces the working tables with the database's.
    InsertScenario();
    Sql("UPDATE crops SET name = 'Barley (local)' WHERE id = 1;"
        "UPDATE water_needs_animals SET water_cons = 80 WHERE animal = 1;"
        "INSERT INTO animals VALUES (8, 'Camels');"
        "INSERT INTO water_needs_animals SELECT 8, m, 40 FROM generate_series(1, 12) m;");
    TKyWnScenario scen;
    scen.LoadScenario(Conn(), 10, WatUserRec);
    EXPECT_EQ(CropsRec[0].Name, "Barley (local)");
    EXPECT_EQ(WatUserRec[4].WatConsRec[0].CnsmpType, "Barley (local)");
    EXPECT_DOUBLE_EQ(AnimalsRec[0].Consumpt[0], 80);
    ASSERT_EQ(AnimalsRec.size(), 8u);
    EXPECT_EQ(AnimalsRec[7].Name, "Camels");
}

TEST_F(LoadTest, AFailedLoadLeavesTheWorkingScenarioAndTablesAsTheyWere)
{
    InsertScenario();
    AddWaterSupply("Working", 5, 100);
    CropsRec[0].Name = "working table";
    TKyWnScenario scen;
    scen.short_descr = "working";

    struct Case {
        const char* what;
        const char* sql;
        const char* undo;
    };
    const Case cases[] = {
        {"a crop with four curve points", "DELETE FROM crop_coefficients WHERE crop = 3 AND num_val = 5",
         "INSERT INTO crop_coefficients VALUES (3, 5, 140, 0.3)"},
        {"a gap in the animals", "DELETE FROM animals WHERE id = 4",
         "INSERT INTO animals VALUES (4, 'Pigs'); INSERT INTO water_needs_animals SELECT 4, m, 15 FROM "
         "generate_series(1, 12) m"},
        {"a month missing", "DELETE FROM wn_urban_area_water_needs WHERE num = 12",
         "INSERT INTO wn_urban_area_water_needs VALUES (201, 12, 150)"},
        {"an unknown crop", "UPDATE wn_irrig_areas_crops SET crop = 77", "UPDATE wn_irrig_areas_crops SET crop = 1"},
        {"meteorological data missing", "DELETE FROM wn_irrig_data WHERE data_type = 1",
         "INSERT INTO wn_irrig_data SELECT 105, 1, m, 20 FROM generate_series(1, 12) m"},
        {"a statement the server refuses", "ALTER TABLE wn_irrig_data RENAME COLUMN value TO val",
         "ALTER TABLE wn_irrig_data RENAME COLUMN val TO value"},
    };
    for (const Case& c : cases) {
        Conn().Rollback(); // releases the tables this session read, so they can be altered
        Sql(c.sql);
        EXPECT_THROW(scen.LoadScenario(Conn(), 10, WatUserRec), std::exception) << c.what;
        EXPECT_NO_THROW(Conn().Tx().exec("SELECT 1")) << c.what << ": the connection stays usable";
        EXPECT_EQ(scen.short_descr, "working") << c.what;
        EXPECT_EQ(scen.id, -1) << c.what;
        ASSERT_EQ(WatUserRec.size(), 1u) << c.what;
        EXPECT_EQ(WatUserRec[0].Toponym, "Working") << c.what;
        EXPECT_EQ(CropsRec[0].Name, "working table") << c.what;
        EXPECT_EQ(AnimalsRec.size(), 7u) << c.what;
        Conn().Rollback();
        Sql(c.undo);
    }
    scen.LoadScenario(Conn(), 10, WatUserRec);
    EXPECT_EQ(WatUserRec.size(), 6u);

    TKyWnScenario missing;
    EXPECT_THROW(missing.LoadScenario(Conn(), 4242, WatUserRec), ENoRecordError);
}

TEST_F(LoadTest, TextsSurviveSaveAndLoadInEveryClientEncoding)
{
    const std::string tricky = "O'Neil \"Q\" back\\slash; DROP TABLE x; Πεδιάδα Άρτα";
    struct Case {
        const char* encoding;
        std::string expected;
    };
    const Case cases[] = {
        {"UTF8", tricky},
        {"ISO_8859_7", tricky},
        {"ISO_8859_1", "O'Neil \"Q\" back\\slash; DROP TABLE x; ??????? ????"},
    };
    for (const Case& c : cases) {
        auto conn = Connect(c.encoding);
        WatUserRec.clear();
        const int town = AddWaterSupply(tricky, 10, 100);
        AddGroup(tricky + " group", {town});
        TKyWnScenario scen;
        SaveAsNew(*conn, scen, tricky, tricky);
        WatUserRec.clear();
        TKyWnScenario loaded;
        loaded.LoadScenario(*conn, scen.id, WatUserRec);
        ASSERT_EQ(WatUserRec.size(), 2u) << c.encoding;
        EXPECT_EQ(WatUserRec[0].Toponym, c.expected) << c.encoding;
        EXPECT_EQ(WatUserRec[1].Toponym, c.expected + " group") << c.encoding;
        EXPECT_EQ(loaded.short_descr, c.expected) << c.encoding;
        ASSERT_TRUE(loaded.project.has_value());
        EXPECT_EQ(loaded.project->short_descr, c.expected) << c.encoding;
    }
    // What another client wrote in UTF-8 reaches a Latin-1 session as '?'.
    auto latin = Connect("ISO_8859_1");
    TScenariosList list;
    list.KyLoadScenarios(*latin, KyVelnor, false, true);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2]->short_descr, cases[2].expected);
}

TEST_F(LoadTest, LongNamesAreCutTo120Characters)
{
    InsertScenario();
    const std::string greek130 = [] {
        std::string s;
        for (int k = 0; k < 130; ++k)
            s += "λ";
        return s;
    }();
    Sql("UPDATE gentities SET name = '" + greek130 + "' WHERE id = 101");
    TKyWnScenario scen;
    scen.LoadScenario(Conn(), 10, WatUserRec);
    EXPECT_EQ(CharCount(WatUserRec[0].Toponym.str()), 120u);
}

} // namespace
} // namespace velnor::db::test
