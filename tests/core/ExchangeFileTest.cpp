#include "Fixture.h"

#include "core/Errors.h"
#include "core/ExchangeFile.h"

#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

using namespace velnor;

namespace {

class ExchangeFile : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        SetExchangeCodePage("WINDOWS-1253");
        dir_ = std::filesystem::temp_directory_path() /
               ("velnor-exchange-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(dir_);
        SetExchangeCodePage("WINDOWS-1253");
        CoreTest::TearDown();
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    // A farm of `n` consumptors with distinct values.
    static void AddFarm(int id, int n)
    {
        WatConsRec.clear();
        for (int k = 0; k < n; ++k)
            AddExRecFarm(k % 7 + 1, 10 + k, k);
        WatUserRec.append();
        ExToIntRec(CatFarming, "Farm", id, static_cast<int>(WatUserRec.size()) - 1);
    }

    static void ExpectSameUsers(const WaterUserList& a, const WaterUserList& b)
    {
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            const TWaterUser& x = a[i];
            const TWaterUser& y = b[i];
            EXPECT_EQ(x.Category, y.Category);
            EXPECT_EQ(x.Geo_id, y.Geo_id);
            EXPECT_EQ(x.Toponym, y.Toponym);
            EXPECT_EQ(x.UnitsNum, y.UnitsNum);
            EXPECT_EQ(x.MethId, y.MethId);
            EXPECT_EQ(x.Latitude, y.Latitude);
            EXPECT_EQ(x.YearNeeds, y.YearNeeds);
            EXPECT_EQ(x.TblConsumpt, y.TblConsumpt);
            EXPECT_EQ(x.TblMnthMinT, y.TblMnthMinT);
            EXPECT_EQ(x.TblRelHum, y.TblRelHum);
            EXPECT_EQ(x.TblMonthNeeds, y.TblMonthNeeds);
            ASSERT_EQ(x.WatConsRec.size(), y.WatConsRec.size());
            for (std::size_t k = 0; k < x.WatConsRec.size(); ++k) {
                EXPECT_EQ(x.WatConsRec[k].CnsmpType, y.WatConsRec[k].CnsmpType);
                EXPECT_EQ(x.WatConsRec[k].CnsmpId, y.WatConsRec[k].CnsmpId);
                EXPECT_EQ(x.WatConsRec[k].UnitsNum, y.WatConsRec[k].UnitsNum);
                EXPECT_EQ(x.WatConsRec[k].yearneeds, y.WatConsRec[k].yearneeds);
                EXPECT_EQ(x.WatConsRec[k].TblConsp, y.WatConsRec[k].TblConsp);
                EXPECT_EQ(x.WatConsRec[k].TblIntake, y.WatConsRec[k].TblIntake);
            }
        }
    }

    std::filesystem::path dir_;
};

int32_t IntAt(const std::string& bytes, std::size_t at)
{
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

} // namespace

TEST_F(ExchangeFile, RoundTripThroughAFile)
{
    AddTown(1, 10000);
    AddFarm(2, 2);
    AddGroup(3, {1, 2});
    WatUserRec[0].Toponym = "\u0391\u03b8\u03ae\u03bd\u03b1, \"centre\"";
    WatUserRec[0].Height = 120;
    WriteExchangeFile(Path("s.bin"), WatUserRec);
    EXPECT_EQ(std::filesystem::file_size(Path("s.bin")), 76320u);
    const WaterUserList back = ReadExchangeFile(Path("s.bin"));
    ExpectSameUsers(WatUserRec, back);
    EXPECT_EQ(back[0].Height, 120);
}

TEST_F(ExchangeFile, SlotLayout)
{
    AddTown(1, 10);
    AddFarm(2, 2);
    const std::string bytes = SerializeExchangeData(WatUserRec);
    ASSERT_EQ(bytes.size(), 2 * ExchangeRecordSize);
    EXPECT_EQ(IntAt(bytes, 0), 1);
    EXPECT_EQ(IntAt(bytes, 4), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 6u); // "Town 1"
    for (int k = 0; k < ExchangeSlots; ++k)
        EXPECT_EQ(IntAt(bytes, 960 + 480 * static_cast<std::size_t>(k) + 108), 0);
    const std::size_t farm = ExchangeRecordSize;
    EXPECT_EQ(IntAt(bytes, farm + 960 + 108), 10);
    EXPECT_EQ(IntAt(bytes, farm + 960 + 480 + 108), 11);
    EXPECT_EQ(IntAt(bytes, farm + 960 + 960 + 108), 0);
    EXPECT_EQ(IntAt(bytes, farm + 960 + 480 + 104), 2); // sheep
    const WaterUserList back = ParseExchangeData(bytes);
    EXPECT_TRUE(back[0].WatConsRec.empty());
    EXPECT_EQ(back[1].WatConsRec.size(), 2u);
}

TEST_F(ExchangeFile, AtMost51Consumptors)
{
    AddFarm(1, 60);
    const WaterUserList back = ParseExchangeData(SerializeExchangeData(WatUserRec));
    ASSERT_EQ(back[0].WatConsRec.size(), 51u);
    EXPECT_EQ(back[0].WatConsRec[50].UnitsNum, 60);
}

TEST_F(ExchangeFile, ZeroUnitsEndTheConsumptorList)
{
    AddFarm(1, 3);
    std::string bytes = SerializeExchangeData(WatUserRec);
    const int32_t none = 0;
    std::memcpy(bytes.data() + 960 + 480 + 108, &none, 4); // slot 1
    const WaterUserList back = ParseExchangeData(bytes);
    EXPECT_EQ(back[0].WatConsRec.size(), 1u);
}

TEST_F(ExchangeFile, ConsumptorsWithoutUnitsAreWrittenLast)
{
    // Farms of 3 animals, the one without units first, in the middle and last.
    for (std::size_t zero = 0; zero < 3; ++zero) {
        WatUserRec.clear();
        WatConsRec.clear();
        for (int k = 0; k < 3; ++k)
            AddExRecFarm(k + 1, k == static_cast<int>(zero) ? 0 : 10 + k, k);
        WatUserRec.append();
        ExToIntRec(CatFarming, "Farm", 1, 0);
        const TWaterUser user = WatUserRec[0];
        const WaterUserList back = ParseExchangeData(SerializeExchangeData(WatUserRec));
        ASSERT_EQ(back[0].WatConsRec.size(), 2u) << zero;
        std::vector<int> ids;
        for (const TWaterConsumptor& c : back[0].WatConsRec)
            ids.push_back(c.CnsmpId);
        std::vector<int> expected = {1, 2, 3};
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(zero));
        EXPECT_EQ(ids, expected) << zero;
        EXPECT_EQ(back[0].YearNeeds, user.YearNeeds);
        EXPECT_EQ(back[0].TblMonthNeeds, user.TblMonthNeeds);
        EXPECT_EQ(WatUserRec[0].WatConsRec[zero].UnitsNum, 0); // the scenario keeps its order
    }
}

TEST_F(ExchangeFile, RecordCountAndTrailingBytes)
{
    AddTown(1, 10);
    AddTown(2, 10);
    std::string bytes = SerializeExchangeData(WatUserRec);
    bytes.append(100, '\x7f');
    EXPECT_EQ(ParseExchangeData(bytes).size(), 2u);
    EXPECT_EQ(ParseExchangeData(bytes.substr(0, 4)).size(), 0u); // valid signature, no whole record

    // Reading a file says how many bytes it ignored.
    for (const std::size_t extra : {std::size_t(0), std::size_t(100), ExchangeRecordSize - 1}) {
        std::ofstream(Path("t.bin"), std::ios::binary)
            << bytes.substr(0, 2 * ExchangeRecordSize) + std::string(extra, '\x7f');
        std::size_t ignored = 12345;
        EXPECT_EQ(ReadExchangeFile(Path("t.bin"), &ignored).size(), 2u);
        EXPECT_EQ(ignored, extra);
    }
}

TEST_F(ExchangeFile, RefusedFiles)
{
    AddTown(1, 10);
    AddTown(2, 10);
    const std::string good = SerializeExchangeData(WatUserRec);

    const auto withInt = [&](std::size_t at, int32_t v) {
        std::string b = good;
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    std::string nan = good;
    const double q = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(nan.data() + ExchangeRecordSize + 864 + 8 * 3, &q, 8);

    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {

        {"group first", withInt(0, -1), "Invalid VELNOR file!"},
        {"category 5 first", withInt(0, 5), "Invalid VELNOR file!"},
        {"unknown category later", withInt(ExchangeRecordSize, 7), "Invalid VELNOR file!\nRecord 2: unknown category 7."},
        {"not a number", nan, "Invalid VELNOR file!\nRecord 2: a value is not a finite number."},
    };
    for (const auto& c : cases) {
        try {
            ParseExchangeData(c.bytes);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const InputError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    // Too short for a signature: a read error, from memory as from a file.
    for (const std::string& bytes : {std::string(), good.substr(0, 3)}) {
        std::ofstream(Path("short.bin"), std::ios::binary) << bytes;
        for (const auto& read : {std::function([&] { ParseExchangeData(bytes); }),
                                 std::function([&] { ReadExchangeFile(Path("short.bin")); })}) {
            try {
                read();
                ADD_FAILURE() << bytes.size() << " bytes were accepted";
            } catch (const IoError& e) {
                EXPECT_STREQ(e.what(), "Read beyond end of file");
            }
        }
    }
}

TEST_F(ExchangeFile, ReadingIsAllOrNothing)
{
    AddTown(1, 10);
    AddTown(2, 10);
    std::string bytes = SerializeExchangeData(WatUserRec);
    int32_t bad = 9;
    std::memcpy(bytes.data() + ExchangeRecordSize, &bad, 4);
    std::ofstream(Path("bad.bin"), std::ios::binary) << bytes;
    EXPECT_THROW(ReadExchangeFile(Path("bad.bin")), InputError);
    EXPECT_THROW(ReadExchangeFile(Path("missing.bin")), IoError);
    EXPECT_THROW(ReadExchangeFile(dir_.string()), IoError);
}

TEST_F(ExchangeFile, WritingNeverLeavesAPartialFile)
{
    AddTown(1, 10);
    WriteExchangeFile(Path("keep.bin"), WatUserRec);
    const auto before = std::filesystem::file_size(Path("keep.bin"));
    EXPECT_THROW(WriteExchangeFile(Path("no-such-dir/x.bin"), WatUserRec), IoError);
    EXPECT_THROW(WriteExchangeFile(dir_.string(), WatUserRec), IoError); // a directory
    EXPECT_EQ(std::filesystem::file_size(Path("keep.bin")), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_))
        ++files;
    EXPECT_EQ(files, 1u); // no temporary left behind
}

TEST_F(ExchangeFile, ValuesThatWouldNotReadBackAreNotWritten)
{
    AddTown(1, 10);
    WriteExchangeFile(Path("keep.bin"), WatUserRec);
    AddFarm(2, 2);
    const double inf = std::numeric_limits<double>::infinity();
    WatUserRec[1].WatConsRec[1].TblConsp[4] = inf; // a huge typed consumption
    try {
        WriteExchangeFile(Path("keep.bin"), WatUserRec);
        ADD_FAILURE() << "written";
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "Water user 2 (\"Farm\"): a value is not a finite number.");
    }
    EXPECT_EQ(std::filesystem::file_size(Path("keep.bin")), ExchangeRecordSize);
    // Past the slots a reader takes, nothing is written, so nothing is checked.
    WatUserRec[1].WatConsRec[1].UnitsNum = 0;
    EXPECT_EQ(ParseExchangeData(SerializeExchangeData(WatUserRec))[1].WatConsRec.size(), 1u);
    WatUserRec[1].YearNeeds = -inf;
    EXPECT_THROW(SerializeExchangeData(WatUserRec), InputError);
}

TEST_F(ExchangeFile, TextsInTheChosenCodePage)
{
    AddTown(1, 10);
    WatUserRec[0].Toponym = "\u041c\u043e\u0441\u043a\u0432\u0430 \u4e2d";
    SetExchangeCodePage("WINDOWS-1251");
    const std::string bytes = SerializeExchangeData(WatUserRec);
    EXPECT_EQ(bytes.substr(8, 9), std::string("\x08\xCC\xEE\xF1\xEA\xE2\xE0 ?"));
    EXPECT_EQ(ParseExchangeData(bytes)[0].Toponym, "\u041c\u043e\u0441\u043a\u0432\u0430 ?");
    // A 120-character Greek name fills the field exactly.
    std::string greek;
    for (int i = 0; i < 120; ++i)
        greek += "\u03A9";
    WatUserRec[0].Toponym = greek;
    SetExchangeCodePage("WINDOWS-1253");
    EXPECT_EQ(ParseExchangeData(SerializeExchangeData(WatUserRec))[0].Toponym, greek);
}
