// velnor-cli db: save, list and load through the command words.
#include "DbFixture.h"

#include "cli/DbCommand.h"
#include "core/ExchangeFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>

namespace velnor::db::test {
namespace {

class DbCliTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        if (const char* db = std::getenv("PGDATABASE"))
            savedDb_ = db;
        setenv("PGDATABASE", DbName().c_str(), 1);
        dir_ = std::filesystem::temp_directory_path() / ("velnor-db-cli-" + DbName());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override
    {
        if (!dir_.empty()) {
            std::filesystem::remove_all(dir_);
            if (savedDb_)
                setenv("PGDATABASE", savedDb_->c_str(), 1);
            else
                unsetenv("PGDATABASE");
        }
        DbTest::TearDown();
    }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run Db(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = cli::RunDbCommand(args, out, err);
        return {status, out.str(), err.str()};
    }
    static int LastWord(const std::string& text)
    {
        const auto end = text.find_last_not_of(" \n");
        const auto begin = text.find_last_of(" \n", end);
        return std::stoi(text.substr(begin + 1, end - begin));
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
    std::optional<std::string> savedDb_;
};

TEST_F(DbCliTest, SaveListLoadRoundTrip)
{
    const int town = AddWaterSupply("Town", 10000, 120);
    AddConsumptorUser(CatFarming, "Farm", {{1, 100}, {2, 200}});
    AddConsumptorUser(CatIndustry, "Plant", {{1, 2}});
    const int field = AddIrrigation("Πεδιάδα", 4, {{1, 10}, {11, 5}}, 60);
    AddGroup("Coast", {town, field});
    WriteExchangeFile(Path("in.bin"), WatUserRec);
    const WaterUserList original = WatUserRec;

    const Run saved = Db({"save", Path("in.bin"), "--project", "Prj", "--scenario", "Base", "--description", "first"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const int first = LastWord(saved.out);
    const Run again = Db({"save", Path("in.bin"), "--project", "Prj", "--scenario", "Other"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Count("projects"), 1); // the project of that name is reused
    const Run replaced = Db({"save", Path("in.bin"), "--replace", std::to_string(first)});
    ASSERT_EQ(replaced.status, 0) << replaced.err;
    const int second = LastWord(replaced.out);

    const Run list = Db({"scenarios", "--project", "Prj"});
    ASSERT_EQ(list.status, 0) << list.err;
    std::istringstream lines(list.out);
    std::string header, newest, older;
    std::getline(lines, header);
    std::getline(lines, newest);
    std::getline(lines, older);
    EXPECT_EQ(header, "id,project,name,description,last_user,last_date,parent");
    EXPECT_EQ(newest.substr(0, newest.find(',')), std::to_string(second));
    EXPECT_NE(newest.find(",Base,first,"), std::string::npos) << newest;
    EXPECT_EQ(newest.substr(newest.rfind(',') + 1), std::to_string(first));
    EXPECT_NE(older.find(",Other,"), std::string::npos) << older;
    EXPECT_NE(Db({"projects"}).out.find(",Prj,"), std::string::npos);

    const Run loaded = Db({"load", std::to_string(second), "--export", Path("out.bin"), "--unit", "m3"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("Πεδιάδα"), std::string::npos);
    const WaterUserList back = ReadExchangeFile(Path("out.bin"));
    ASSERT_EQ(back.size(), original.size());
    for (const TWaterUser& o : original) {
        const auto it = std::find_if(back.begin(), back.end(), [&](const TWaterUser& u) { return u.Toponym == o.Toponym; });
        ASSERT_NE(it, back.end()) << o.Toponym.str();
        for (int m = 0; m < 12; ++m)
            EXPECT_NEAR(it->TblMonthNeeds[m], o.TblMonthNeeds[m], 1e-15) << o.Toponym.str();
        EXPECT_EQ(it->WatConsRec.size(), o.WatConsRec.size());
    }
}

TEST_F(DbCliTest, ProjectNamesMatchAsTheClientEncodingStoresThem)
{
    AddWaterSupply("Town", 100, 120);
    WriteExchangeFile(Path("in.bin"), WatUserRec);
    // Latin-1 stores the name as "????" and finds it again; the two others
    // keep the name and share the project.
    struct Case {
        const char* encoding;
        long listed;
    };
    for (const Case c : {Case{"ISO_8859_1", 2}, Case{"ISO_8859_7", 2}, Case{"UTF8", 4}}) {
        for (const char* scenario : {"A", "B"}) {
            const Run r = Db({"save", Path("in.bin"), "--project", "Έργο", "--scenario", scenario,
                              "--client-encoding", c.encoding});
            ASSERT_EQ(r.status, 0) << c.encoding << " " << r.err;
        }
        const Run list = Db({"scenarios", "--project", "Έργο", "--client-encoding", c.encoding});
        EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1 + c.listed) << c.encoding << "\n" << list.out;
    }
    EXPECT_EQ(Count("projects"), 2);
}

TEST_F(DbCliTest, ScenariosOfProjectsSharingANameAreListedNewestFirst)
{
    AddWaterSupply("Town", 100, 120);
    WriteExchangeFile(Path("in.bin"), WatUserRec);
    TKyWnScenario older;
    SaveAsNew(Conn(), older, "Same", "A"); // a first project named "Same"
    TKyWnScenario newer;
    SaveAsNew(Conn(), newer, "Same", "B"); // a second one
    const Run again = Db({"save", Path("in.bin"), "--replace", std::to_string(older.id)});
    ASSERT_EQ(again.status, 0) << again.err;

    const Run list = Db({"scenarios", "--project", "Same"});
    ASSERT_EQ(list.status, 0) << list.err;
    std::istringstream lines(list.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.substr(0, first.find(',')), std::to_string(LastWord(again.out))) << list.out;
    EXPECT_EQ(second.substr(0, second.find(',')), std::to_string(newer.id)) << list.out;
}

TEST_F(DbCliTest, ExitStatusOfBadInputAndDatabaseFailures)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"save", "x.bin"}, 2},
        {{"save", "x.bin", "--replace", "1", "--project", "P"}, 2},
        {{"load", "abc"}, 2},
        {{"load", "1", "--unit", "l"}, 2},
        {{"load", "4242"}, 2},
        {{"projects", "--client-encoding", "KOI8"}, 2},
        {{"projects", "--bogus", "1"}, 2},
        {{"save", "/nonexistent/x.bin", "--project", "P", "--scenario", "S"}, 1},
        {{"projects", "--dbname", "velnor_no_such_database"}, 1},
    };
    for (const Case& c : cases) {
        const Run r = Db(c.args);
        EXPECT_EQ(r.status, c.status) << (c.args.empty() ? "" : c.args[0]) << " " << r.err;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(Db({"init"}).status, 0); // idempotent
}

} // namespace
} // namespace velnor::db::test
