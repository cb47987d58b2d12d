// Projects and scenarios: lists, lookups, deletion, and the connection's helpers.
#include "DbFixture.h"

namespace velnor::db::test {
namespace {

using StoreTest = DbTest;

TEST_F(StoreTest, ListsLookupsAndModelOfProjects)
{
    TKyWnScenario a;
    SaveAsNew(Conn(), a, "Older", "base");
    TKyWnScenario b;
    SaveAsNew(Conn(), b, "Newer", "Base");

    TProjectsList projects;
    projects.KyLoadProjects(Conn(), KyVelnor, true);
    ASSERT_EQ(projects.size(), 2u);
    EXPECT_EQ(projects[0]->short_descr, "Newer");
    EXPECT_EQ(projects[0]->model, KyVelnor);
    EXPECT_EQ(Count("projects", "model = 4"), 2);

    TScenariosList list;
    list.KyLoadScenarios(Conn(), KyVelnor, false, true);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.KyFindByName("Base")->id, b.id);
    using std::chrono::duration_cast;
    using std::chrono::microseconds;
    EXPECT_EQ(duration_cast<microseconds>(list[0]->last_date.time_since_epoch()),
              duration_cast<microseconds>(b.last_date.time_since_epoch()));
    EXPECT_EQ(list[0]->last_user, Conn().UserName());
    EXPECT_EQ(list.KyFindByName("base")->id, a.id);
    EXPECT_EQ(list.KyFindByName("BASE"), nullptr);
    EXPECT_EQ(list.KyFindByName(Conn(), "base", b.project->id), nullptr);
    EXPECT_EQ(list.KyFindByName(Conn(), "base", a.project->id)->id, a.id);

    TScenariosList ofProject;
    ofProject.KyLoadScenarios(Conn(), a.project->id, false, true);
    ASSERT_EQ(ofProject.size(), 1u);
    EXPECT_EQ(ofProject[0]->id, a.id);
    ofProject.KyLoadScenarios(Conn(), -1, false, true);
    EXPECT_TRUE(ofProject.empty());

    EXPECT_EQ(getModelFromProjectID(Conn(), a.project->id), KyVelnor);
    EXPECT_EQ(getModelFromProjectID(Conn(), 999), KyUnknown);
    EXPECT_EQ(a.KyProjectID(Conn()), a.project->id);

    TKyProject missing;
    missing.id = 999;
    EXPECT_THROW(missing.KyLoadProject(Conn()), ENoRecordError);
}

TEST_F(StoreTest, DeletingAProjectOrClearingAScenarioLeavesNothingBehind)
{
    const int town = AddWaterSupply("Town", 10, 100);
    AddConsumptorUser(CatFarming, "Farm", {{1, 10}});
    AddConsumptorUser(CatIndustry, "Plant", {{2, 1}});
    AddIrrigation("Field", 4, {{1, 10}});
    AddGroup("G", {town});
    TKyWnScenario keep;
    SaveAsNew(Conn(), keep, "Kept", "S");
    TKyWnScenario gone;
    SaveAsNew(Conn(), gone, "Deleted", "S");
    keep.SaveScenario(Conn(), WatUserRec); // clears the first version of "Kept"

    const char* tables[] = {"gentities", "wn_water_users", "wn_urban_areas", "wn_urban_area_water_needs",
                            "wn_farms_animals", "wn_farm_animal_water_needs", "wn_industries",
                            "wn_industry_water_needs", "wn_irrig_areas_crops", "wn_irrig_area_crop_water_needs",
                            "wn_irrig_data", "wn_groups", "wn_users_groups", "wn_results"};
    std::map<std::string, long long> perScenario;
    for (const char* t : tables)
        perScenario[t] = Count(t) / 2; // two scenarios hold data now
    for (const char* t : tables)
        EXPECT_GT(perScenario[t], 0) << t;

    gone.project->KyDeleteProject(Conn());
    EXPECT_EQ(Count("scenarios", "project = " + std::to_string(gone.project->id)), 0);
    for (const char* t : tables)
        EXPECT_EQ(Count(t), perScenario[t]) << t;

    // Deleting a scenario (for all models) keeps its scenarios row only.
    keep.KyClearScenario(Conn(), true);
    for (const char* t : tables)
        EXPECT_EQ(Count(t), 0) << t;
    EXPECT_EQ(Count("scenarios"), 2);
    TScenariosList list;
    list.KyLoadScenarios(Conn(), KyVelnor, false, true);
    EXPECT_TRUE(list.empty());
}

TEST_F(StoreTest, ClearingRemovesTheRegisteredGeographicEntities)
{
    TKyWnScenario s;
    SaveAsNew(Conn(), s, "P", "S");
    Sql("INSERT INTO gentities (id, name) VALUES (900, 'shared');"
        "INSERT INTO gentities_scenarios VALUES (900, " + std::to_string(s.id) + ")");
    TKyScenario::KyClearScenario(Conn(), s.id, KyVelnor, true);
    EXPECT_EQ(Count("gentities", "id = 900"), 0);
    EXPECT_EQ(Count("wn_scenarios"), 0);
}

TEST_F(StoreTest, AFailedCommitLeavesTheConnectionUsable)
{
    TKyWnScenario s;
    SaveAsNew(Conn(), s, "P", "S");
    // A check the server makes only at commit refuses the deletion.
    Sql("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused'; END $$;"
        "CREATE CONSTRAINT TRIGGER refuse AFTER DELETE ON projects DEFERRABLE INITIALLY DEFERRED "
        "FOR EACH ROW EXECUTE FUNCTION refuse();");
    EXPECT_THROW(s.project->KyDeleteProject(Conn()), pqxx::sql_error);
    EXPECT_EQ(Count("projects"), 1);

    // Committing next, with nothing done in between (a cancelled Save As), and
    // working on afterwards.
    const bool saved = s.SaveAsScenario(Conn(), WatUserRec, [](TKyWnScenario&) { return false; });
    EXPECT_FALSE(saved);
    Conn().Commit();
    SaveAsNew(Conn(), s, "Q", "T");
    EXPECT_EQ(Count("projects"), 2);
}

TEST_F(StoreTest, ConnectionHelpers)
{
    const int a = getNewIDseq(Conn(), "gentities_id");
    const std::vector<int> more = getNewIDsSeq(Conn(), "gentities_id", 3);
    EXPECT_EQ(more, (std::vector<int>{a + 1, a + 2, a + 3}));
    EXPECT_THROW(getNewIDseq(Conn(), "x'); DROP TABLE gentities; --"), VelnorError);

    // The search path survives a rollback.
    EXPECT_THROW(ExecSQLString(Conn(), "SELECT * FROM no_such_table"), pqxx::sql_error);
    Conn().Rollback();
    EXPECT_NO_THROW(ExecSQLString(Conn(), "SELECT count(*) FROM wn_scenarios"));
    EXPECT_EQ(Conn().Tx().exec("SHOW search_path")[0][0].as<std::string>(), "hydro, public");

    EXPECT_EQ(GetEncodingStr(8), "ISO_8859_7");
    EXPECT_EQ(GetEncodingStr(25), "ISO_8859_5");
    EXPECT_EQ(GetEncodingStr(9), "ISO_8859_1");
    EXPECT_EQ(EncodingName(DBENLocaleDefault, 8), "ISO_8859_7");
    EXPECT_EQ(EncodingName(DBENCyrillicISO, 8), "ISO_8859_5");
    SetDbClientEncoding(Conn(), "ISO_8859_5");
    EXPECT_EQ(Conn().ToClient("Мир α"), "Мир ?");
    EXPECT_THROW(SetDbClientEncoding(Conn(), "KOI8"), VelnorError);
}

} // namespace
} // namespace velnor::db::test
