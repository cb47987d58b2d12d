#include "core/Errors.h"
#include "core/WaterNeedFnct.h"

#include <gtest/gtest.h>

#include <array>

using namespace velnor;

namespace {

Months All(double v)
{
    Months m;
    m.fill(v);
    return m;
}

const std::array<double, 8> Barley = {20, 45, 105, 135, 0.3, 1.15, 0.25, 0};

} // namespace

TEST(Calendar, Months)
{
    EXPECT_EQ(DaysOfMonth(2), 28);
    EXPECT_EQ(DaysOfMonth(12), 31);
    EXPECT_EQ(DaysOfMonth(13), -1);
    EXPECT_EQ(DaysOfMonth(0), -1);
    const int middle[12] = {15, 46, 76, 107, 137, 167, 198, 228, 259, 289, 319, 350};
    const int first[12] = {0, 30, 61, 91, 122, 152, 182, 213, 243, 274, 304, 334};
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(MidleMonthDay(m + 1), middle[m]) << m;
        EXPECT_EQ(FirstMonthDay(m), first[m]) << m;
    }
}

// Golden values, tolerance 0.005 (values are given to two decimals) unless stated.
TEST(SolarGeometry, DaylightHours)
{
    EXPECT_NEAR(DayHoursOfMonth(0, 1), 372.0003, 0.00005);
    EXPECT_NEAR(DayHoursOfMonth(38, 1), 299.04, 0.005);
    EXPECT_NEAR(DayHoursOfMonth(38, 7), 444.62, 0.005);
    EXPECT_NO_THROW(DayHoursOfMonth(66.5, 6));
    EXPECT_NO_THROW(DayHoursOfMonth(-66.5, 12));
    EXPECT_THROW(DayHoursOfMonth(80, 6), VelnorError);
}

TEST(ReferenceEvapotranspiration, BlaneyCriddle)
{
    Months eto{};
    Blaney(All(20), eto, 38);
    EXPECT_NEAR(eto[0], 117.92, 0.005);
    EXPECT_NEAR(eto[6], 175.33, 0.005);
}

TEST(ReferenceEvapotranspiration, Empirical)
{
    Months eto{};
    Empirical(All(2), eto, 2);
    for (double v : eto)
        EXPECT_DOUBLE_EQ(v, 180);
    Empirical(All(3), eto, 1);
    EXPECT_DOUBLE_EQ(eto[0], 270);
    Empirical(All(1), eto, 4);
    EXPECT_DOUBLE_EQ(eto[0], 30);
}

TEST(ReferenceEvapotranspiration, EmpiricalOutOfTableIsAnError)
{
    Months eto{};
    EXPECT_THROW(Empirical(All(4), eto, 4), VelnorError);
    EXPECT_THROW(Empirical(All(1), eto, 0), VelnorError);
}

TEST(ReferenceEvapotranspiration, ModifiedBlaneyCriddle)
{
    Months eto = All(-7);
    Months temps = All(20);
    temps[0] = -1;  // skipped
    temps[1] = 0.5; // f below 61 mm: f itself
    Blaney_mod(temps, All(0.6), All(0.7), All(2), eto, 38);
    EXPECT_DOUBLE_EQ(eto[0], -7);
    Months f{};
    Blaney(temps, f, 38);
    ASSERT_LT(f[1], 61);
    EXPECT_DOUBLE_EQ(eto[1], f[1]);
    const double RH = 0.6, nN = 0.7, U = 2;
    const double a = (0.43 * RH - nN - 1.41) * 30.5;
    const double b = 0.82 - 0.41 * RH + 1.07 * nN + 0.066 * U - 0.6 * RH * nN - 0.06 * RH * U;
    EXPECT_NEAR(eto[6], b * f[6] + a, 1e-9);
}

TEST(PenmanMonteith, BuildingBlocks)
{
    EXPECT_NEAR(Gama(100), 0.066556, 5e-7);
    EXPECT_NEAR(Delta(25), 0.188682, 5e-7);
    EXPECT_NEAR(PresVap(20), 2.338281, 5e-7);
    Months t{};
    for (int m = 0; m < 12; ++m)
        t[static_cast<std::size_t>(m)] = m;
    EXPECT_DOUBLE_EQ(SoilHeatFlux(t, 0), 0.07 * (1 - 11));
    EXPECT_DOUBLE_EQ(SoilHeatFlux(t, 11), 0.07 * (0 - 10));
    EXPECT_DOUBLE_EQ(SoilHeatFlux(t, 5), 0.07 * 2);
}

TEST(PenmanMonteith, ReferenceCropAndOpenWater)
{
    struct Case {
        bool refcrop;
        double january, july;
    };
    for (const Case& c : {Case{true, 80.83, 168.98}, Case{false, 59.07, 183.06}}) {
        Months eto{};
        Penman(All(30), All(20), All(0.6), All(0.7), All(2), eto, 38, 100, c.refcrop);
        EXPECT_NEAR(eto[0], c.january, 0.005) << c.refcrop;
        EXPECT_NEAR(eto[6], c.july, 0.005) << c.refcrop;
        Months swapped{};
        Penman(All(20), All(30), All(0.6), All(0.7), All(2), swapped, 38, 100, c.refcrop);
        EXPECT_EQ(eto, swapped);
    }
}

TEST(PenmanMonteith, NegativeHumidityFails)
{
    Months eto{};
    EXPECT_THROW(Penman(All(30), All(20), All(-0.6), All(0.7), All(2), eto, 38, 100, true), VelnorError);
}

TEST(CropCoefficient, BarleyCurve)
{
    const struct {
        int day;
        double kc;
    } cases[] = {{0, 0.3}, {19, 0.3}, {20, 0.3}, {32, 0.708}, {45, 1.15}, {104, 1.15}, {134, 0.28}, {135, 0}, {300, 0}};
    for (const auto& c : cases)
        EXPECT_NEAR(Kc(Barley, c.day), c.kc, 1e-12) << "day " << c.day;
}

TEST(CropCoefficient, MonthlyNeed)
{
    EXPECT_NEAR(CropNeed(100, Barley, 300, 0), 115, 1e-9);
    EXPECT_NEAR(CropNeed(100, Barley, 60, 0), 0, 1e-12);
    EXPECT_NEAR(CropNeed(100, Barley, 60, 1), 1.935, 0.0005);
    EXPECT_NEAR(CropNeed(100, Barley, 60, 4), 115, 1e-9);
}
