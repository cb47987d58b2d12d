// What a save writes, and how Save, Save As and a failed save treat the
// working scenario.
#include "DbFixture.h"

#include "core/Errors.h"

namespace velnor::db::test {
namespace {

using SaveTest = DbTest;

TEST_F(SaveTest, WritesTheRowsOfEveryCategory)
{
    const int town = AddWaterSupply("Town", 1000, 150);
    const int farm = AddConsumptorUser(CatFarming, "Farm", {{1, 100}, {2, 200}});
    const int plant = AddConsumptorUser(CatIndustry, "Plant", {{1, 2}, {3, 1}});
    const int field = AddIrrigation("Field", 4, {{1, 10}, {2, 20}, {7, 5}});
    AddGroup("Coast", {town, field});
    (void)farm;
    (void)plant;
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "S");
    const std::string inScen = "scenario = " + std::to_string(scen.id);

    EXPECT_EQ(Count("wn_scenarios", "id = " + std::to_string(scen.id)), 1);
    EXPECT_EQ(Count("wn_water_users", inScen), 4);
    EXPECT_EQ(Count("gentities", "terminal_subtable = 'wn_water_users'"), 4);
    EXPECT_EQ(Count("gentities g JOIN wn_water_users w ON w.id = g.id", "g.name = g.descr"), 4);

    // Memory carries the new identifiers; the group is numbered above them and
    // its members point at the new identifiers of town and field.
    const TWaterUser& t = WatUserRec[0];
    const TWaterUser& f = WatUserRec[1];
    const TWaterUser& i = WatUserRec[2];
    const TWaterUser& irr = WatUserRec[3];
    const TWaterUser& grp = WatUserRec[4];
    for (const TWaterUser* u : {&t, &f, &i, &irr})
        EXPECT_EQ(Count("wn_water_users", "id = " + std::to_string(u->Geo_id) + " AND " + inScen + " AND type = " +
                                              std::to_string(u->Category) + " AND num = " + std::to_string(u->UnitsNum)),
                  1)
            << u->Toponym.str();
    EXPECT_GT(grp.Geo_id, std::max({t.Geo_id, f.Geo_id, i.Geo_id, irr.Geo_id}));
    ASSERT_EQ(grp.WatConsRec.size(), 2u);
    EXPECT_EQ(grp.WatConsRec[0].CnsmpId, t.Geo_id);
    EXPECT_EQ(grp.WatConsRec[1].CnsmpId, irr.Geo_id);

    // Water supply: one area, 12 monthly consumptions.
    EXPECT_EQ(Count("wn_urban_areas", "water_user = " + std::to_string(t.Geo_id) + " AND population = 1000"), 1);
    EXPECT_EQ(Count("wn_urban_area_water_needs n JOIN wn_urban_areas a ON n.urban_area = a.id",
                    "a.water_user = " + std::to_string(t.Geo_id) + " AND n.value = 150"),
              12);

    // Farming: one row per kind, each with its own 12 need rows.
    EXPECT_EQ(Count("wn_farms_animals", "water_user = " + std::to_string(f.Geo_id)), 2);
    EXPECT_EQ(Scalar("SELECT count(DISTINCT n.animal) FROM wn_farm_animal_water_needs n JOIN wn_farms_animals a "
                     "ON n.animal = a.id WHERE a.water_user = " + std::to_string(f.Geo_id) +
                     " GROUP BY a.water_user"),
              2);
    EXPECT_EQ(Count("wn_farm_animal_water_needs n JOIN wn_farms_animals a ON n.animal = a.id",
                    "a.water_user = " + std::to_string(f.Geo_id) + " AND a.animal = 2 AND n.value = 15"),
              12);

    // Industry: per branch, intake / consumption / discharge per month.
    EXPECT_EQ(Count("wn_industries", "water_user = " + std::to_string(i.Geo_id) + " AND ind_branch = 1 AND units = 2"), 1);
    EXPECT_EQ(Count("wn_industry_water_needs n JOIN wn_industries b ON n.industry = b.id",
                    "b.water_user = " + std::to_string(i.Geo_id) +
                        " AND b.ind_branch = 1 AND n.num = 1 AND n.water_infl_value = 0.0144 AND "
                        "n.water_cons_value = 0.0016 AND n.water_outfl_value = 0.0129"),
              1);
    EXPECT_EQ(Count("wn_industry_water_needs n JOIN wn_industries b ON n.industry = b.id",
                    "b.water_user = " + std::to_string(i.Geo_id)),
              24);

    // Irrigation, Penman-Monteith, three crops: method and latitude on every
    // crop, five curve points each, data types 1 to 5 keyed by the water user.
    EXPECT_EQ(Count("wn_irrig_areas_crops",
                    "water_user = " + std::to_string(irr.Geo_id) + " AND calc_method = 4 AND latitude = 38 AND altitude = 0"),
              3);
    EXPECT_EQ(Count("wn_irrig_area_crop_water_needs n JOIN wn_irrig_areas_crops c ON n.crop = c.id",
                    "c.water_user = " + std::to_string(irr.Geo_id) + " AND n.num = 0"),
              15);
    // Barley's curve 20, 45, 105, 135 / 0.3, 1.15, 0.25 as five points.
    const pqxx::result pts = [&] {
        pqxx::connection c("dbname=" + DbName());
        pqxx::work w(c);
        return w.exec("SELECT n.num_val, n.x, n.y FROM hydro.wn_irrig_area_crop_water_needs n JOIN "
                      "hydro.wn_irrig_areas_crops c ON n.crop = c.id WHERE c.crop = 1 AND c.water_user = " +
                      std::to_string(irr.Geo_id) + " ORDER BY n.num_val");
    }();
    const double expected[5][2] = {{0, 0.3}, {20, 0.3}, {45, 1.15}, {105, 1.15}, {135, 0.25}};
    ASSERT_EQ(pts.size(), 5u);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(pts[p][0].as<int>(), p + 1);
        EXPECT_DOUBLE_EQ(pts[p][1].as<double>(), expected[p][0]);
        EXPECT_DOUBLE_EQ(pts[p][2].as<double>(), expected[p][1]);
    }
    EXPECT_EQ(Count("wn_irrig_data", "irrig_area = " + std::to_string(irr.Geo_id)), 60);
    EXPECT_EQ(Count("wn_irrig_data", "irrig_area = " + std::to_string(irr.Geo_id) + " AND data_type BETWEEN 1 AND 5"), 60);

    // Results: 12 per water user in hm3, unit 15; none for the group.
    EXPECT_EQ(Count("wn_results r JOIN wn_water_users w ON r.water_user = w.id", "w." + inScen + " AND r.unit = 15"), 48);
    EXPECT_EQ(Count("wn_results", "unit <> 15"), 0);
    EXPECT_EQ(Count("wn_results", "water_user = " + std::to_string(t.Geo_id) + " AND abs(value - 0.004575) < 1e-15"),
              12);

    // The group: its row and two members, no gentities row and no results.
    EXPECT_EQ(Count("wn_groups", inScen + " AND descr = 'Coast' AND short_descr = 'Coast'"), 1);
    EXPECT_EQ(Count("wn_users_groups", "water_user IN (" + std::to_string(t.Geo_id) + "," +
                                           std::to_string(irr.Geo_id) + ")"),
              2);
    EXPECT_EQ(Count("gentities", "name = 'Coast'"), 0);
}

TEST_F(SaveTest, StoresTheMeteorologicalDataTypesOfEachMethod)
{
    struct Case {
        int method;
        const char* types;
    };
    const Case cases[] = {{1, "3,6"}, {2, "1"}, {3, "1,3,4,5"}, {4, "1,2,3,4,5"}};
    for (const Case& c : cases)
        AddIrrigation("M" + std::to_string(c.method), c.method, {{1, 10}});
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "S");
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const int id = WatUserRec[k].Geo_id;
        pqxx::connection c("dbname=" + DbName());
        pqxx::work w(c);
        const auto r = w.exec("SELECT string_agg(DISTINCT data_type::text, ',' ORDER BY data_type::text), count(*) FROM "
                              "hydro.wn_irrig_data WHERE irrig_area = " + std::to_string(id));
        EXPECT_EQ(r[0][0].as<std::string>(), cases[k].types) << "method " << cases[k].method;
        EXPECT_EQ(r[0][1].as<long>(), 12 * static_cast<long>(std::string(cases[k].types).size() / 2 + 1));
    }
    // Empirical: heat index under type 6, climatic zone in January of type 3.
    const int emp = WatUserRec[0].Geo_id;
    EXPECT_EQ(Count("wn_irrig_data", "irrig_area = " + std::to_string(emp) + " AND data_type = 6 AND value = 2"), 12);
    EXPECT_EQ(Count("wn_irrig_data", "irrig_area = " + std::to_string(emp) + " AND data_type = 3 AND num = 1 AND value = 2"), 1);
}

TEST_F(SaveTest, RemapsGroupMembersWhenNewIdentifiersOverlapOldOnes)
{
    AddWaterSupply("A", 10, 100);
    AddWaterSupply("B", 20, 100);
    WatUserRec[0].Geo_id = 5;
    WatUserRec[1].Geo_id = 7;
    AddGroup("G", {5, 7});
    Sql("SELECT setval('gentities_id', 6)"); // hands out 7 for A and 8 for B
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "S");
    EXPECT_EQ(WatUserRec[0].Geo_id, 7);
    EXPECT_EQ(WatUserRec[1].Geo_id, 8);
    ASSERT_EQ(WatUserRec[2].WatConsRec.size(), 2u);
    EXPECT_EQ(WatUserRec[2].WatConsRec[0].CnsmpId, 7);
    EXPECT_EQ(WatUserRec[2].WatConsRec[1].CnsmpId, 8);
    EXPECT_EQ(WatUserRec[2].Geo_id, 9);
    EXPECT_EQ(Count("wn_users_groups", "water_user = 7"), 1);
    EXPECT_EQ(Count("wn_users_groups", "water_user = 8"), 1);
}

TEST_F(SaveTest, SaveMakesANewVersionAndClearsTheOldOneSaveAsKeepsBoth)
{
    AddWaterSupply("Town", 1000, 150);
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "First");
    const int first = scen.id;
    EXPECT_EQ(Count("scenarios", "id = " + std::to_string(first) + " AND parent IS NULL"), 1);

    scen.SaveScenario(Conn(), WatUserRec); // Save: new version, old one cleared
    const int second = scen.id;
    EXPECT_NE(second, first);
    EXPECT_EQ(scen.parent, first);
    EXPECT_EQ(Count("scenarios", "id = " + std::to_string(second) + " AND parent = " + std::to_string(first)), 1);
    EXPECT_EQ(Count("scenarios"), 2); // the cleared version's row stays
    EXPECT_EQ(Count("wn_scenarios"), 1);
    // Nothing of the cleared version is left behind.
    EXPECT_EQ(Count("wn_water_users"), 1);
    EXPECT_EQ(Count("gentities"), 1);
    EXPECT_EQ(Count("wn_urban_area_water_needs"), 12);
    EXPECT_EQ(Count("wn_results"), 12);

    SaveAsNew(Conn(), scen, "P", "Third"); // Save As: both stay listed, newest first
    TScenariosList list;
    list.KyLoadScenarios(Conn(), KyVelnor, false, true);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->short_descr, "Third");
    EXPECT_EQ(list[0]->parent, second);
    EXPECT_EQ(list[1]->id, second);
    TScenariosList all;
    all.KyLoadScenarios(Conn(), KyVelnor, true, true);
    EXPECT_EQ(all.size(), 3u);
}

TEST_F(SaveTest, AnEmptyScenarioWritesOnlyItsScenarioRows)
{
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "Empty");
    EXPECT_EQ(Count("scenarios"), 1);
    EXPECT_EQ(Count("wn_scenarios"), 1);
    for (const char* t : {"gentities", "wn_water_users", "wn_results", "wn_groups", "wn_users_groups"})
        EXPECT_EQ(Count(t), 0) << t;
}

TEST_F(SaveTest, CancelledSaveAsCommitsWhatTheDialogDidAndChangesNothingElse)
{
    AddWaterSupply("Town", 1000, 150);
    TKyWnScenario scen;
    const bool saved = scen.SaveAsScenario(Conn(), WatUserRec, [&](TKyWnScenario&) {
        TKyProject prj;
        prj.short_descr = "Made in the dialog";
        prj.KySaveProject(Conn());
        return false;
    });
    EXPECT_FALSE(saved);
    EXPECT_EQ(scen.id, -1);
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
    EXPECT_EQ(Count("projects", "short_descr = 'Made in the dialog'"), 1);
    EXPECT_EQ(Count("scenarios"), 0);
}

TEST_F(SaveTest, AnErrorInTheMiddleRollsBackAndLeavesMemoryAsItWas)
{
    const int town = AddWaterSupply("Town", 1000, 150);
    const int field = AddIrrigation("Field", 2, {{1, 10}});
    AddGroup("G", {town, field});
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "Base");
    const int savedId = scen.id;
    const long long scenarios = Count("scenarios");

    const TKyWnScenario before = scen;
    const WaterUserList usersBefore = WatUserRec;
    Sql("CREATE FUNCTION fail_insert() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'injected'; END $$;"
        "CREATE TRIGGER fail_insert BEFORE INSERT ON wn_irrig_data FOR EACH STATEMENT EXECUTE FUNCTION fail_insert();");

    EXPECT_THROW(scen.SaveScenario(Conn(), WatUserRec), pqxx::sql_error);

    EXPECT_EQ(scen.id, before.id);
    EXPECT_EQ(scen.parent, before.parent);
    ASSERT_EQ(WatUserRec.size(), usersBefore.size());
    for (std::size_t k = 0; k < WatUserRec.size(); ++k) {
        EXPECT_EQ(WatUserRec[k].Geo_id, usersBefore[k].Geo_id);
        ASSERT_EQ(WatUserRec[k].WatConsRec.size(), usersBefore[k].WatConsRec.size());
        for (std::size_t c = 0; c < WatUserRec[k].WatConsRec.size(); ++c)
            EXPECT_EQ(WatUserRec[k].WatConsRec[c].CnsmpId, usersBefore[k].WatConsRec[c].CnsmpId);
    }
    // Neither the new version nor the clearing of the old one happened.
    EXPECT_EQ(Count("scenarios"), scenarios);
    EXPECT_EQ(Count("wn_scenarios", "id = " + std::to_string(savedId)), 1);
    EXPECT_EQ(Count("wn_water_users"), 2);

    // The connection goes on working: the next save succeeds.
    Sql("DROP TRIGGER fail_insert ON wn_irrig_data");
    scen.SaveScenario(Conn(), WatUserRec);
    EXPECT_EQ(scen.parent, savedId);
    EXPECT_EQ(Count("wn_scenarios"), 1);
}

TEST_F(SaveTest, RefusesAGroupMemberThatIsNoWaterUser)
{
    const int town = AddWaterSupply("Town", 1000, 150);
    AddGroup("G", {town});
    WatUserRec[1].WatConsRec[0].CnsmpId = 99;
    TKyWnScenario scen;
    EXPECT_THROW(SaveAsNew(Conn(), scen, "P", "S"), InputError);
    EXPECT_EQ(scen.id, -1);
    EXPECT_EQ(WatUserRec[0].Geo_id, town);
    EXPECT_EQ(Count("scenarios"), 0);
    EXPECT_EQ(Count("projects"), 0);
}

TEST_F(SaveTest, RefusesAConsumptorTheReferenceTablesDoNotHold)
{
    // What a load could not read back is not saved.
    struct Case {
        int category;
        int id;
    };
    const Case cases[] = {{CatFarming, 8}, {CatFarming, 0}, {CatIndustry, 16}, {CatIrrigation, 51}, {CatIrrigation, -1}};
    for (const Case& c : cases) {
        WatUserRec.clear();
        AddWaterSupply("Town", 1000, 150);
        if (c.category == CatIrrigation)
            AddIrrigation("User", 2, {{1, 10}, {2, 10}});
        else
            AddConsumptorUser(c.category, "User", {{1, 10}, {2, 10}});
        WatUserRec[1].WatConsRec[1].CnsmpId = c.id;
        const WaterUserList before = WatUserRec;
        TKyWnScenario scen;
        EXPECT_THROW(SaveAsNew(Conn(), scen, "P", "S"), InputError) << c.category << " " << c.id;
        EXPECT_EQ(scen.id, -1);
        EXPECT_EQ(WatUserRec[0].Geo_id, before[0].Geo_id);
        EXPECT_EQ(Count("scenarios"), 0);
    }
    // The last of each kind is accepted.
    WatUserRec.clear();
    AddConsumptorUser(CatFarming, "Farm", {{7, 1}});
    AddConsumptorUser(CatIndustry, "Plant", {{15, 1}});
    AddIrrigation("Field", 2, {{50, 10}});
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "S");
    EXPECT_EQ(Count("wn_water_users"), 3);
}


// A large first save into a new database leaves the planner statistics that the
// next load is planned on; a small save leaves them to the server.
TEST_F(SaveTest, ALargeFirstSaveCountsItsTablesForThePlanner)
{
    const auto analysed = [this](const char* table) {
        return Scalar(std::string("SELECT count(*) FROM pg_stats WHERE schemaname = 'hydro' AND tablename = '") +
                      table + "'") > 0;
    };
    AddWaterSupply("Town", 1000, 150);
    TKyWnScenario small;
    SaveAsNew(Conn(), small, "P", "Small");
    EXPECT_FALSE(analysed("wn_results"));

    for (int i = 0; i < 150; ++i)
        AddWaterSupply("Town " + std::to_string(i), 1000 + i, 150);
    TKyWnScenario large;
    SaveAsNew(Conn(), large, "P", "Large");
    for (const char* t : {"wn_results", "wn_urban_area_water_needs"})
        EXPECT_TRUE(analysed(t)) << t;
    EXPECT_FALSE(analysed("wn_urban_areas")); // 151 rows: not worth it
}

} // namespace
} // namespace velnor::db::test
