#include "cli/Commands.h"

#include "core/DataTables.h"
#include "core/ExchangeFile.h"
#include "core/RcrdFuncs.h"
#include "core/WaterNeedFnct.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

using namespace velnor;
using namespace velnor::cli;

namespace {

struct Result {
    int status;
    std::string out, err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        StaticToDynamic();
        SetExchangeCodePage("WINDOWS-1253");
        dir_ = std::filesystem::temp_directory_path() /
               ("velnor-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }

    static Result Eto(const std::vector<std::string>& args, const std::string& input)
    {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunEto(args, in, out, err);
        return {status, out.str(), err.str()};
    }
    static Result Compute(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = RunCompute(args, out, err);
        return {status, out.str(), err.str()};
    }
    static Result Report(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = RunReport(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path dir_;
};

std::string Repeat12(const std::string& line)
{
    std::string text;
    for (int m = 0; m < 12; ++m)
        text += line + "\n";
    return text;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

double ValueOf(const std::string& csvLine)
{
    return std::stod(csvLine.substr(csvLine.rfind(',') + 1));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(Cli, EtoTablesOfEveryMethod)
{
    const Result pm = Eto({"--method", "penman-monteith", "--latitude", "38"}, Repeat12("20\t30\t0.6\t0.7\t2"));
    ASSERT_EQ(pm.status, 0) << pm.err;
    const auto lines = Lines(pm.out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "month,eto_mm");
    EXPECT_EQ(lines[1].rfind("January,", 0), 0u);
    EXPECT_NEAR(ValueOf(lines[1]), 80.83, 0.005);
    EXPECT_NEAR(ValueOf(lines[7]), 168.98, 0.005);
    EXPECT_EQ(lines[13].rfind("Total,", 0), 0u);

    const Result water = Eto({"--method", "penman-monteith", "--latitude", "38", "--water"}, Repeat12("20 30 60 70 2"));
    ASSERT_EQ(water.status, 0) << water.err;
    EXPECT_NEAR(ValueOf(Lines(water.out)[1]), 59.07, 0.005);

    const Result bc = Eto({"--method", "blaney-criddle", "--latitude=38"}, Repeat12("20"));
    ASSERT_EQ(bc.status, 0) << bc.err;
    EXPECT_NEAR(ValueOf(Lines(bc.out)[1]), 117.92, 0.005);

    const Result emp = Eto({"--method", "empirical", "--zone", "2"}, Repeat12("2"));
    ASSERT_EQ(emp.status, 0) << emp.err;
    EXPECT_EQ(Lines(emp.out)[5], "May,180");
    EXPECT_EQ(Lines(emp.out)[13], "Total,2160");

    const Result mbc = Eto({"--method", "mod-blaney-criddle", "--latitude", "38"}, Repeat12("20,60,70,2"));
    ASSERT_EQ(mbc.status, 0) << mbc.err;
    Months expected{};
    std::vector<double> data;
    for (double v : {20.0, 60.0, 70.0, 2.0})
        data.insert(data.end(), 12, v);
    WrapPotEvap(data, expected, 38, 0, MethModBlaneyCriddle, true);
    EXPECT_EQ(Lines(mbc.out)[1], "January," + FormatGeneral(expected[0]));
}

TEST_F(Cli, EtoReadsAFile)
{
    const std::string file = Write("meteo.txt", Repeat12("2\r"));
    const Result r = Eto({"--method", "empirical", "--zone", "1", file}, "");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[1], "January,210");
    EXPECT_EQ(Eto({"--method", "empirical", "--zone", "1", Path("missing.txt")}, "").status, 1);
}

TEST_F(Cli, EtoChecksAsTheMeteorologicalForm)
{
    const struct {
        std::vector<std::string> args;
        std::string input;
        const char* message;
    } cases[] = {
        {{"--method", "blaney-criddle"}, Repeat12("20"), "Latitude must be a real number between (-66.5, 66.5)!"},
        {{"--method", "blaney-criddle", "--latitude", "66.6"}, Repeat12("20"),
         "Latitude must be a real number between (-66.5, 66.5)!"},
        {{"--method", "penman-monteith", "--latitude", "38"}, "-2 30 60 70 2\n" + Repeat12("10 30 60 70 2").substr(14),
         "Meteorological data must be positive and empirical method uses only Integers!"},
        {{"--method", "blaney-criddle", "--latitude", "38"}, Repeat12("abc"),
         "Meteorological data must be positive and empirical method uses only Integers!"},
        {{"--method", "empirical", "--zone", "2"}, Repeat12("2.0"),
         "Meteorological data must be positive and empirical method uses only Integers!"},
        {{"--method", "empirical", "--zone", "2"}, Repeat12("4"), "Values from 1 to 3 are expected as heat index!"},
        {{"--method", "empirical"}, Repeat12("2"), "A climatic zone must be selected!"},
        {{"--method", "empirical", "--zone", "5"}, Repeat12("2"), "A climatic zone must be selected!"},
        {{"--method", "blaney-criddle", "--latitude", "38"}, "20\n20\n",
         "Meteorological data must be positive and empirical method uses only Integers!"},
        {{"--method", "blaney-criddle", "--latitude", "38", "--water"}, Repeat12("20"),
         "--water is for the penman-monteith method only"},
        {{"--method", "hargreaves", "--latitude", "38"}, Repeat12("20"), "Unknown method"},
        {{"--latitude", "38"}, Repeat12("20"), "Usage"},
        {{"--method", "blaney-criddle", "--latitude", "38"}, Repeat12("1e308"), "Floating point overflow"},
        // An empty cell is refused where it is, rather than moving the values after it.
        {{"--method", "penman-monteith", "--latitude", "38"}, "20,,30,60,8,2\n" + Repeat12("20,30,60,8,2").substr(13),
         "Integers!\nmonth 1, column 2 is empty"},
        {{"--method", "penman-monteith", "--latitude", "38"}, Repeat12("20,30,60,8,2").substr(13) + "20\t30\t60\t8\t\n",
         "\nmonth 12, column 5 is empty"},
        {{"--method", "mod-blaney-criddle", "--latitude", "38"}, Repeat12("20, 60,70,2").substr(12) + " , 60, 70, 2\n",
         "\nmonth 12, column 1 is empty"},
        {{"--method", "blaney-criddle", "--latitude", "38"}, Repeat12("20").substr(3) + "1e400\n",
         "\nmonth 12, column 1 is out of range"},
        {{"--method", "empirical", "--zone", "99999999999999999999"}, Repeat12("2"), "A climatic zone must be selected!"},
    };
    for (const auto& c : cases) {
        const Result r = Eto(c.args, c.input);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(Eto({"--method", "blaney-criddle", "--latitude", "-66.5"}, Repeat12("20")).status, 0);
}

TEST_F(Cli, EtoReadsSpreadsheetText)
{
    const Result plain = Eto({"--method", "penman-monteith", "--latitude", "38"}, Repeat12("20 30 60 8 2"));
    ASSERT_EQ(plain.status, 0) << plain.err;
    // A byte-order mark, separators with blanks around them, aligned blanks, CRLF.
    for (const std::string& text : {"\xEF\xBB\xBF" + Repeat12("20\t30\t60\t8\t2"), Repeat12("20 , 30,60 ,8,  2\r"),
                                    Repeat12("  20   30  60 8 2  ")}) {
        const Result r = Eto({"--method", "penman-monteith", "--latitude", "38"}, text);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, plain.out);
    }
}

TEST_F(Cli, FullScenarioExportReportAndSecondExport)
{
    const std::string scenario = std::string(VELNOR_CLI_TEST_DATA) + "/five-categories.json";
    const Result first = Compute({scenario, "--export", Path("a.bin")});
    ASSERT_EQ(first.status, 0) << first.err;
    const auto rows = Lines(first.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], "1,Water Supply,\"Town, \"\"Old\"\"\",10000,0.0366,0.0366,0.0366,0.0366,0.0366,0.0366,"
                       "0.0366,0.0366,0.0366,0.0366,0.0366,0.0366,0.4392");
    EXPECT_EQ(rows[2].rfind("2,Farming,Farm,300,0.000305,", 0), 0u);
    EXPECT_EQ(rows[5].rfind("5,Group,Coast,3,", 0), 0u);

    const Result report = Report({Path("a.bin")});
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_EQ(report.out, first.out);

    ASSERT_EQ(Compute({scenario, "--export", Path("b.bin")}).status, 0);
    EXPECT_EQ(ReadAll(Path("a.bin")), ReadAll(Path("b.bin")));
    EXPECT_EQ(ReadAll(Path("a.bin")).size(), 5 * ExchangeRecordSize);

    // The Greek toponym survives Windows-1253; under Windows-1252 it cannot be held.
    EXPECT_NE(report.out.find("\u03a0\u03b5\u03b4\u03b9\u03ac\u03b4\u03b1"), std::string::npos);
    ASSERT_EQ(Compute({scenario, "--export", Path("c.bin"), "--code-page", "WINDOWS-1252"}).status, 0);
    EXPECT_NE(Report({Path("c.bin")}).out.find(",???????,"), std::string::npos);

    const Result m3 = Report({Path("a.bin"), "--unit", "m3"});
    EXPECT_EQ(Lines(m3.out)[1].substr(Lines(m3.out)[1].rfind(',')), ",439200");
}

TEST_F(Cli, ComputeFollowsTheEditorsStoring)
{
    const std::string file = Write("s.json", R"({"water_users": [
        {"category": "Industry", "toponym": "Plant", "branches": [{"branch": "Food", "units": 2,
          "intake": [0.02,0.02,0.02,0.02,0.02,0.02,0.02,0.02,0.02,0.02,0.02,0.02],
          "discharge": [0.01,0.01,0.01,0.01,0.01,0.01,0.01,0.01,0.01,0.01,0.01,0.015]}]},
        {"category": "Farming", "toponym": "Farm", "animals": [{"animal": "Cattles", "count": 10,
          "consumption": [0,50,50,50,50,50,50,50,50,50,50,50]}, {"animal": 7, "count": 0}]},
        {"category": "Water Supply", "toponym": "Village", "population": 500,
          "consumption": [100,100,100,100,100,100,100,100,100,100,100,200]},
        {"category": "Water Supply", "population": 1},
        {"category": "Group", "members": [3, 4]}
    ]})");
    const Result r = Compute({file});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(r.out);
    // Consumption is intake minus discharge; ids follow in file order.
    EXPECT_EQ(rows[1].rfind("1,Industry,Plant,2,0.02,", 0), 0u) << rows[1];
    EXPECT_NE(rows[1].find(",0.01,0.23"), std::string::npos) << rows[1];
    // A typed 0 for January is kept; the chickens count nothing.
    EXPECT_EQ(rows[2].rfind("2,Farming,Farm,10,0,", 0), 0u) << rows[2];
    EXPECT_EQ(rows[3].rfind("3,Water Supply,Village,500,0.001525,", 0), 0u) << rows[3];
    // Names left out: empty, as the editors start; "new Group", as the group panel.
    EXPECT_EQ(rows[4].rfind("4,Water Supply,,1,", 0), 0u) << rows[4];
    EXPECT_EQ(rows[5].rfind("5,Group,new Group,2,", 0), 0u) << rows[5];
}

TEST_F(Cli, ComputeRefusesBadDescriptions)
{
    const std::string meteo = R"("method": "blaney-criddle", "latitude": 38, "meteo": [20,20,20,20,20,20,20,20,20,20,20,20])";
    const struct {
        std::string users;
        const char* message;
    } cases[] = {
        {R"({"category": "Water Supply", "population": -5})", "A positive integer value expected for population!"},
        {R"({"category": "Water Supply", "population": 12.5})", "A positive integer value expected for population!"},
        {R"({"category": "Water Supply", "population": 5, "consumption": [1,2,3]})",
         "A positive real number for consumption is expected for all months!"},
        {R"({"category": "Farming", "animals": []})", "Nothing to add!"},
        {R"({"category": "Farming", "animals": [{"animal": "Dogs", "count": -1}]})",
         "Error Messages:\nNo Animal selected\nThe population must be a positive integer number"},
        {R"({"category": "Industry", "branches": [{"branch": 1, "units": "x", "intake": [1,1,-1,1,1,1,1,1,1,1,1,1],
            "discharge": [2,1,1,1,1,1,1,1,1,1,1,1]}]})",
         "Error Messages:\nThe number of units must be a positive integer number\n"
         "The water discharge for month 1 must be less or equal to the intake\n"
         "The Value of water intake for month 3 must be a positive real number"},
        {R"({"category": "Irrigation", "crops": [{"crop": 1, "area": 1, "sowing_day": 1}]})",
         "Meteorological Data must be given first!"},
        {R"({"category": "Irrigation", )" + meteo + R"(, "crops": [{"crop": 1, "area": 1, "sowing_day": 366, "kc": []}]})",
         "Error Messages:\nThe semination day must be an integer between 1 and 365\n"
         "Coefficient Kc mid must be a positive real number\nCoefficient Kc late must be a positive real number\n"
         "Coefficient Kc ini must be a positive real number\nCoefficient L ini must be a positive real number\n"
         "Coefficient L dev must be a positive real number\nCoefficient L mid must be a positive real number\n"
         "Coefficient L late must be a positive real number"},
        {R"({"category": "Irrigation", "method": "blaney-criddle", "latitude": 70, "meteo": [], "crops": []})",
         "Latitude must be a real number between (-66.5, 66.5)!"},
        {R"({"category": "Group", "members": [1]})", "Group member 1 is not a water user defined before the group"},
        {R"({"category": "Water Supply", "id": 1, "population": 1}, {"category": "Group", "members": [1, 1]})",
         "Group member 1 is listed twice"},
        {R"({"category": "Water Supply", "id": 1, "population": 1}, {"category": "Group", "id": 2, "members": [1]},
            {"category": "Group", "members": [2]})",
         "Group member 2 is a group"},
        {R"({"category": "Water Supply", "id": 1, "population": 1}, {"category": "Water Supply", "id": 1, "population": 1})",
         "The id 1 is used twice"},
        {R"({"category": "Town"})", "Unknown category \"Town\""},
        {R"({"category": "Water Supply", "id": 18446744073709551615, "population": 1})", "The id must be a whole number"},
        {R"({"category": "Water Supply", "toponym": "Big", "population": 1000,
            "consumption": [1e308,0,0,0,0,0,0,0,0,0,0,0]})",
         "Water user 1 (\"Big\"): Floating point overflow"},
        {R"({"category": "Water Supply", "population": 18446744073709551615})",
         "A positive integer value expected for population!"},
        {R"({"category": "Water Supply", "id": 2147483647, "population": 1}, {"category": "Water Supply", "population": 1})",
         "Water user 2: No new water-user identifier: 2147483647 is in use"},
        {R"({"category": "Farming", "animals": [{"animal": 1, "count": 2147483647}, {"animal": 2, "count": 1}]})",
         "Water user 1: The units of the water user add up to 2147483648"},
        {R"({"category": "Farming", "toponym": "Farm", "animals": [3]})",
         "Water user 1 (\"Farm\"): Animal 1 must be an object such as {\"animal\": \"Cattles\", \"count\": 100}, "
         "not a number"},
        {R"({"category": "Industry", "branches": [{"branch": 1, "units": 1}, "Food"]})",
         "Water user 1: Branch 2 must be an object such as {\"branch\": \"Food\", \"units\": 2}, not a text"},
        {R"({"category": "Irrigation", "method": "empirical", "zone": 1, "meteo": [2,2,2,2,2,2,2,2,2,2,2,2],
            "crops": [[1, 10, 100]]})",
         "Water user 1: Crop 1 must be an object such as {\"crop\": \"Cereals: Wheat\""},
        {R"({"category": 4})",
         "Water user 1: \"category\" must be a text (Water Supply, Farming, Industry, Irrigation or Group), not a number"},
        {R"({"category": "Irrigation", "method": ["empirical"], "meteo": [], "crops": []})",
         "Water user 1: \"method\" must be a text (penman-monteith, mod-blaney-criddle, blaney-criddle or empirical), "
         "not a list"},
        {R"({"category": "Water Supply", "toponym": null, "population": 1})",
         "Water user 1: \"toponym\" must be a text (the water user's name), not null"},
        {R"({"category": "Water Supply", "id": true, "population": 1})", "The id must be a whole number, not true or false"},
        {R"(7)", "Water user 1: A water user must be an object, not a number"},
        {R"({"category": "Water Supply", "id": 1, "population": 1}, {"category": "Group", "members": [1, {"id": 1}]})",
         "Water user 2: Group member {...} is not a water user defined before the group"},
    };
    for (const auto& c : cases) {
        const std::string file = Write("bad.json", "{\"water_users\": [" + c.users + "]}");
        const Result r = Compute({file, "--export", Path("out.bin")});
        EXPECT_EQ(r.status, 2) << c.message << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(std::filesystem::exists(Path("out.bin")));
    }
    const Result broken = Compute({Write("broken.json", "{\"water_users\": [")});
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("broken.json: not a valid description: parse error at line 1, column 18"), std::string::npos)
        << broken.err;
    const Result huge =
        Compute({Write("huge.json", "{\"water_users\": [{\"category\": \"Water Supply\", \"population\": 1e400}]}")});
    EXPECT_EQ(huge.status, 2);
    EXPECT_NE(huge.err.find("huge.json: the number 1e400 is out of range"), std::string::npos) << huge.err;
    EXPECT_EQ(Compute({Path("missing.json")}).status, 1);
    EXPECT_EQ(Compute({Write("ok.json", R"({"water_users": []})"), "--unit", "km3"}).status, 2);
}

TEST_F(Cli, ZeroUnitsAndWriteFailures)
{
    const std::string file = Write("zero.json", R"({"water_users": [
        {"category": "Farming", "toponym": "Empty", "animals": [{"animal": 1, "count": 0}]}]})");
    const Result r = Compute({file, "--export", Path("no-such-dir/out.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    const Result ok = Compute({file});
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(Lines(ok.out)[1], "1,Farming,Empty,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

TEST_F(Cli, ReportRefusesBadFiles)
{
    const Result empty = Report({Write("empty.bin", "")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "velnor-cli: Read beyond end of file\n");
    EXPECT_EQ(Report({Write("short.bin", std::string("\x01\x00\x00", 3))}).status, 1);
    const Result group = Report({Write("group.bin", std::string(ExchangeRecordSize, '\xff'))});
    EXPECT_EQ(group.status, 2);
    EXPECT_NE(group.err.find("Invalid VELNOR file!"), std::string::npos);
    EXPECT_EQ(Report({Path("missing.bin")}).status, 1);
    EXPECT_EQ(Report({Path("missing.bin"), "--code-page", "NO-SUCH-PAGE"}).status, 2);
    EXPECT_EQ(Report({}).status, 2);
}

TEST_F(Cli, DeepNestingIsRefused)
{
    // Deep enough to exhaust the stack of anything that walks it by recursion.
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    for (const std::string& text : {"{\"water_users\": [{\"category\": \"Group\", \"members\": [" + deep + "]}]}",
                                    "{\"water_users\": " + deep + "}", deep}) {
        const std::string file = Write("deep.json", text);
        const Result r = Compute({file, "--export", Path("out.bin")});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "velnor-cli: " + file + ": values are nested more than 64 levels deep\n");
        EXPECT_FALSE(std::filesystem::exists(Path("out.bin")));
    }
    // A description nests five levels; its meteorological rows six.
    // Brackets inside texts do not count.
    const std::string nested = R"({"water_users": [{"category": "Irrigation", "method": "blaney-criddle",
        "toponym": "\"[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[\\",
        "latitude": 38, "meteo": [[20],[20],[20],[20],[20],[20],[20],[20],[20],[20],[20],[20]],
        "crops": [{"crop": 1, "area": 1, "sowing_day": 1, "kc": [20, 40, 100, 150, 0.3, 1.2, 0.6]}]}]})";
    EXPECT_EQ(Compute({Write("ok.json", nested)}).status, 0);
}

TEST(CliBinary, ExitStatusesOfTheProgram)
{
    const std::string cli = VELNOR_CLI_BINARY;
    EXPECT_EQ(std::system((cli + " > /dev/null 2>&1").c_str()) >> 8, 2);
    EXPECT_EQ(std::system((cli + " frobnicate > /dev/null 2>&1").c_str()) >> 8, 2);
    EXPECT_EQ(std::system((cli + " --help > /dev/null").c_str()) >> 8, 0);
    const std::string eto =
        "printf '2\\n2\\n2\\n2\\n2\\n2\\n2\\n2\\n2\\n2\\n2\\n2\\n' | " + cli + " eto --method empirical --zone 2 - > /dev/null";
    EXPECT_EQ(std::system(eto.c_str()) >> 8, 0);
    // The table cannot be written: an I/O failure, not a success.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(std::system((eto + " 2>/dev/null >/dev/full").c_str()) >> 8, 1);
    }
}
