#include "DbFixture.h"

#include <gtest/gtest.h>

namespace velnor::db::test {

// The session is ended by the server (as when it restarts) while idle.
class BrokenConnectionTest : public DbTest {
protected:
    void KillSession()
    {
        Conn().Tx().exec("SELECT 1");
        Sql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() "
            "AND pid <> pg_backend_pid()");
    }
};

TEST_F(BrokenConnectionTest, AFailedSaveReportsItsOwnErrorNotTheRollbacks)
{
    KillSession();
    AddWaterSupply("Town", 100, 150);
    TKyWnScenario scen;
    try {
        SaveAsNew(Conn(), scen, "P", "S");
        FAIL() << "saved on a dead connection";
    } catch (const std::exception& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.find("encoding"), std::string::npos) << what;
        EXPECT_EQ(what.find("not connected"), std::string::npos) << what;
        EXPECT_NE(what.find("connection to the database server was lost"), std::string::npos) << what;
    }
    EXPECT_LT(scen.id, 0) << "memory as it was";
    EXPECT_FALSE(Conn().IsAlive());
    EXPECT_NO_THROW(Conn().Rollback());
}

TEST_F(BrokenConnectionTest, IsAliveRecoversAnAbortedTransactionAndNoticesABrokenOne)
{
    EXPECT_TRUE(Conn().IsAlive());
    EXPECT_THROW(Conn().Exec("SELECT no_such_column FROM scenarios"), pqxx::sql_error);
    EXPECT_TRUE(Conn().IsAlive()) << "an aborted transaction is rolled back";
    EXPECT_EQ(Conn().Tx().exec("SHOW search_path")[0][0].as<std::string>(), "hydro, public");
    KillSession();
    EXPECT_FALSE(Conn().IsAlive());
}

TEST_F(BrokenConnectionTest, LongWorkTellsItsProgress)
{
    std::vector<std::string> steps;
    Conn().SetProgressHook([&](const std::string& what) { steps.push_back(what); });
    AddWaterSupply("Town", 100, 150);
    TKyWnScenario scen;
    SaveAsNew(Conn(), scen, "P", "S");
    ASSERT_FALSE(steps.empty());
    EXPECT_NE(steps.front().find("Writing"), std::string::npos);
    steps.clear();
    TKyWnScenario loaded;
    loaded.LoadScenario(Conn(), scen.id, WatUserRec);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), "Reading reference tables");
}

} // namespace velnor::db::test
