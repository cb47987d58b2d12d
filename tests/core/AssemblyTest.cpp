#include "Fixture.h"

#include "core/Errors.h"
#include "core/WaterNeedFnct.h"

#include <limits>

using namespace velnor;

using Assembly = CoreTest;

namespace {

std::vector<double> Repeat(std::initializer_list<double> perSeries)
{
    std::vector<double> data;
    for (double v : perSeries)
        data.insert(data.end(), 12, v);
    return data;
}

Months All(double v)
{
    Months m;
    m.fill(v);
    return m;
}

} // namespace

TEST_F(Assembly, WaterSupply)
{
    const int irec = AddTown(1, 10000, 120);
    const TWaterUser& u = WatUserRec[static_cast<std::size_t>(irec)];
    EXPECT_EQ(u.Category, CatWaterSupply);
    for (double v : u.TblMonthNeeds)
        EXPECT_NEAR(v, 0.0366, 1e-15);
    EXPECT_NEAR(u.YearNeeds, 0.4392, 1e-14);
}

TEST_F(Assembly, FarmingConsumptorsAndUser)
{
    AddExRecFarm(1, 100, 0); // cattle, 70 l/day
    EXPECT_NEAR(WatConsRec[0].yearneeds, 0.002562, 1e-15);
    EXPECT_EQ(WatConsRec[0].CnsmpType, "Cattles");
    AddExRecFarm(2, 200, 1); // sheep, 15 l/day
    WatUserRec.append();
    ExToIntRec(CatFarming, "Farm", 1, 0);
    const TWaterUser& u = WatUserRec[0];
    EXPECT_EQ(u.UnitsNum, 300);
    EXPECT_NEAR(u.TblMonthNeeds[3], 0.000305, 1e-15);
    EXPECT_NEAR(u.TblConsumpt[3], 10000.0 / 2 / 300, 1e-12);
    EXPECT_NEAR(u.YearNeeds, 0.00366, 1e-15);
    EXPECT_EQ(u.WatConsRec.size(), 2u);
}

TEST_F(Assembly, IndustryDefaults)
{
    AddExRecInd(1, 2, 0); // "Food"
    const TWaterConsumptor& c = WatConsRec[0];
    EXPECT_NEAR(2 * c.TblConsp[0], 0.0032, 1e-15);
    EXPECT_NEAR(c.yearneeds, 0.0466, 1e-14);
    EXPECT_DOUBLE_EQ(c.TblIntake[0], 0.0144);
    EXPECT_DOUBLE_EQ(c.TblDisch[11], 0.013);
}

TEST_F(Assembly, DefaultsOnlyForCreatedConsumptors)
{
    AddExRecFarm(1, 10, 0);
    WatConsRec[0].TblConsp[0] = 80;
    AddExRecFarm(1, 10, 0);
    EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[0], 80);
    EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[1], 70);

    // A user's 0 for January is kept too, with the other months.
    WatConsRec[0].TblConsp[0] = 0;
    WatConsRec[0].TblConsp[1] = 33;
    AddExRecFarm(1, 10, 0);
    EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[0], 0);
    EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[1], 33);

    AddExRecInd(3, 1, 1);
    WatConsRec[1].TblIntake = {};
    WatConsRec[1].TblConsp = {};
    AddExRecInd(3, 1, 1);
    EXPECT_DOUBLE_EQ(WatConsRec[1].TblIntake[0], 0);
    EXPECT_DOUBLE_EQ(WatConsRec[1].yearneeds, 0);

    const auto meteo = Repeat({2});
    AddExRecIrig(meteo, 0, 2, 100, MethEmpirical, 7, 10, 2);
    EXPECT_DOUBLE_EQ(WatConsRec[2].TblKc[3], 135);
    WatConsRec[2].TblKc[0] = 0; // L ini of 0 typed by the user
    AddExRecIrig(meteo, 0, 2, 100, MethEmpirical, 7, 10, 2);
    EXPECT_DOUBLE_EQ(WatConsRec[2].TblKc[0], 0);
    EXPECT_DOUBLE_EQ(WatConsRec[2].TblKc[3], 135);
}

TEST_F(Assembly, UnknownReferenceIdIsRefused)
{
    EXPECT_THROW(AddExRecFarm(8, 1, 0), InputError);
    EXPECT_THROW(AddExRecInd(0, 1, 0), InputError);
    EXPECT_THROW(AddExRecIrig(Repeat({2}), 0, 2, 1, MethEmpirical, 51, 1, 0), InputError);
    EXPECT_TRUE(WatConsRec.empty());
}

TEST_F(Assembly, IrrigationNeeds)
{
    // Empirical zone 2, heat index 2: 180 mm every month; wheat sown on day 300.
    const auto meteo = Repeat({2});
    AddExRecIrig(meteo, 0, 2, 300, MethEmpirical, 7, 10, 0);
    const TWaterConsumptor& c = WatConsRec[0];
    const std::array<double, 8> wheat = {20, 45, 105, 135, 0.3, 1.15, 0.25, 0};
    double year = 0;
    for (int m = 0; m < 12; ++m) {
        EXPECT_DOUBLE_EQ(c.TblConsp[static_cast<std::size_t>(m)], CropNeed(180, wheat, 300, m));
        year += 10 * c.TblConsp[static_cast<std::size_t>(m)] / 1e6;
    }
    EXPECT_DOUBLE_EQ(c.yearneeds, year);
    EXPECT_EQ(c.Sem_day, 300);

    WatUserRec.append();
    AddMeteoData(meteo, 0, 2, MethEmpirical, 0);
    ExToIntRec(CatIrrigation, "Plain", 1, 0);
    const TWaterUser& u = WatUserRec[0];
    EXPECT_EQ(u.MethId, 1);
    EXPECT_DOUBLE_EQ(u.TblRelHum[0], 2);
    EXPECT_NEAR(u.TblMonthNeeds[0], 10 * c.TblConsp[0] / 1e6, 1e-18);
    // 10 units of area with 115 mm: 0.00115 hm3
    EXPECT_NEAR(10 * 115 / 1e6, 0.00115, 1e-18);
}

TEST_F(Assembly, MeteoDataStoredAndReadBack)
{
    struct Case {
        int method;
        std::vector<double> data;
    };
    const Case cases[] = {
        {MethPenmanMonteith, Repeat({10, 25, 65, 60, 2})},
        {MethModBlaneyCriddle, Repeat({18, 0.5, 8, 3})},
        {MethBlaneyCriddle, Repeat({21})},
        {MethEmpirical, Repeat({3})},
    };
    for (const Case& c : cases) {
        WatUserRec.clear();
        WatUserRec.append();
        AddMeteoData(c.data, 38.5, 4, c.method, 0);
        double phi = 0;
        int arid = 0;
        EXPECT_EQ(MeteoDataOf(WatUserRec[0], phi, arid), c.data) << c.method;
        if (c.method == MethEmpirical) {
            EXPECT_EQ(arid, 4);
        } else {
            EXPECT_DOUBLE_EQ(phi, 38.5);
        }
    }
    WatUserRec[0].MethId = 3;
    AddMeteoData({}, 1, 1, 0, 0); // no method: nothing changes
    EXPECT_EQ(WatUserRec[0].MethId, 3);
}

TEST_F(Assembly, WrapPotEvapNormalisesHumidityAndSunshine)
{
    const auto expectSameAs = [](const std::vector<double>& data, const Months& rh, const Months& sun) {
        Months got{}, expected{};
        WrapPotEvap(data, got, 38, 0, MethPenmanMonteith, true);
        Penman(All(30), All(20), rh, sun, All(2), expected, 38, 100, true);
        for (std::size_t m = 0; m < 12; ++m)
            EXPECT_NEAR(got[m], expected[m], 1e-9) << "month " << m;
    };
    for (double rh : {65.0, 0.65})
        for (double sun : {60.0, 0.6})
            expectSameAs(Repeat({20, 30, rh, sun, 2}), All(0.65), All(0.6));
    // Humidity of exactly 1 is a fraction; a sunshine sum of exactly 1200 is percentages.
    expectSameAs(Repeat({20, 30, 1, 100, 2}), All(1), All(1));
    // Sunshine hours (sum 3000) are divided by the month's daylight hours.
    Months ratios{};
    for (int m = 0; m < 12; ++m)
        ratios[static_cast<std::size_t>(m)] = 250 / DayHoursOfMonth(38, m + 1);
    expectSameAs(Repeat({20, 30, 0.65, 250, 2}), All(0.65), ratios);
}

TEST_F(Assembly, WrapPotEvapLeavesNoMonthUndefined)
{
    Months got;
    got.fill(99);
    auto data = Repeat({20, 0.5, 0.7, 2});
    data[0] = -3; // January below 0 degC under modified Blaney-Criddle
    WrapPotEvap(data, got, 38, 0, MethModBlaneyCriddle, true);
    EXPECT_EQ(got[0], 0);
    EXPECT_GT(got[1], 0);
    got.fill(99);
    WrapPotEvap({}, got, 38, 0, MethNone, true);
    for (double v : got)
        EXPECT_EQ(v, 0);
    EXPECT_THROW(WrapPotEvap(Repeat({20}), got, 38, 0, MethPenmanMonteith, true), InputError);
}

TEST_F(Assembly, EmptyConsumptorListDropsTheUser)
{
    AddTown(1, 10);
    AddGroup(2, {1});
    WatUserRec.append(); // the record reserved for user 1's edit
    WatConsRec.clear();
    ExToIntRec(CatFarming, "Farm", 3, 2);
    EXPECT_EQ(WatUserRec.size(), 2u);

    // The group's only member is rewritten with no consumptors: both go.
    WatConsRec.clear();
    ExToIntRec(CatFarming, "Town", 1, 0);
    EXPECT_TRUE(WatUserRec.empty());
}

TEST_F(Assembly, ZeroUnitsStoreNormally)
{
    AddExRecFarm(1, 0, 0);
    AddExRecInd(1, 0, 1);
    WatUserRec.append();
    ExToIntRec(CatFarming, "Empty farm", 1, 0);
    const TWaterUser& u = WatUserRec[0];
    EXPECT_EQ(u.UnitsNum, 0);
    for (std::size_t m = 0; m < 12; ++m) {
        EXPECT_EQ(u.TblConsumpt[m], 0);
        EXPECT_EQ(u.TblMonthNeeds[m], 0);
    }
    EXPECT_EQ(u.YearNeeds, 0);
}

TEST_F(Assembly, UnitsBeyondAnIntegerAreRefused)
{
    const int most = std::numeric_limits<int>::max();
    AddExRecFarm(1, most, 0);
    AddExRecFarm(2, 1, 1);
    WatUserRec.append();
    EXPECT_THROW(ExToIntRec(CatFarming, "Farm", 1, 0), InputError);
    EXPECT_EQ(WatUserRec[0].Category, 0); // unchanged
    EXPECT_TRUE(WatUserRec[0].WatConsRec.empty());
    WatConsRec[1].UnitsNum = 0;
    ExToIntRec(CatFarming, "Farm", 1, 0);
    EXPECT_EQ(WatUserRec[0].UnitsNum, most);
}

TEST_F(Assembly, GroupsFollowTheirMembers)
{
    AddTown(1, 10000);
    AddTown(2, 2000);
    AddGroup(3, {1, 2});
    const TWaterUser& g = WatUserRec[2];
    EXPECT_EQ(g.UnitsNum, 2);
    EXPECT_NEAR(g.YearNeeds, WatUserRec[0].YearNeeds + WatUserRec[1].YearNeeds, 1e-15);

    Months cons;
    cons.fill(200);
    AddRecordSup(1, "Town 1", 30000, cons, 0);
    EXPECT_NEAR(g.YearNeeds, WatUserRec[0].YearNeeds + WatUserRec[1].YearNeeds, 1e-15);
    for (std::size_t m = 0; m < 12; ++m)
        EXPECT_NEAR(g.TblMonthNeeds[m], WatUserRec[0].TblMonthNeeds[m] + WatUserRec[1].TblMonthNeeds[m], 1e-15);
}

TEST_F(Assembly, MemberMatchingNoUserContributesNothing)
{
    AddTown(1, 10000);
    AddGroup(3, {1, 77});
    const TWaterUser& g = WatUserRec[1];
    EXPECT_EQ(g.UnitsNum, 2);
    EXPECT_EQ(g.WatConsRec[1].yearneeds, 0);
    EXPECT_DOUBLE_EQ(g.YearNeeds, WatUserRec[0].YearNeeds);
}

TEST_F(Assembly, BatchGivesTheTotalsOfStepByStepRefreshing)
{
    const auto build = [] {
        AddTown(1, 10000);
        AddGroup(2, {1});
        AddTown(3, 777, 99.5);
        AddGroup(4, {3, 1});
        Months cons;
        cons.fill(130.25);
        AddRecordSup(1, "Town 1", 12345, cons, 0); // a member changes after its groups exist
        AddTown(5, 31);
        AddGroup(6, {5, 3});
    };
    build();
    const WaterUserList stepByStep = WatUserRec;
    WatUserRec.clear();
    {
        const GroupRefreshBatch batch;
        build();
    }
    ASSERT_EQ(WatUserRec.size(), stepByStep.size());
    for (std::size_t i = 0; i < WatUserRec.size(); ++i) {
        EXPECT_EQ(WatUserRec[i].YearNeeds, stepByStep[i].YearNeeds) << i;
        EXPECT_EQ(WatUserRec[i].TblMonthNeeds, stepByStep[i].TblMonthNeeds) << i;
        EXPECT_EQ(WatUserRec[i].UnitsNum, stepByStep[i].UnitsNum) << i;
    }
}
