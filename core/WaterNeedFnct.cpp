#include "WaterNeedFnct.h"

#include "Errors.h"

#include <cmath>

namespace velnor {
namespace {

constexpr double Pi = 3.14159;
constexpr double TwoPi = 6.28318;

// Rounds halves to the even neighbour (the default floating-point rounding mode).
double Round(double x)
{
    return std::nearbyint(x);
}

double CheckedResult(double value)
{
    if (!std::isfinite(value))
        throw VelnorError("Invalid floating point operation");
    return value;
}

struct SolarGeometry {
    double phi;   // latitude, radians
    int J;        // day of the year of the middle of the month
    double delta; // solar declination
    double omegaS; // sunset hour angle
};

SolarGeometry SolarGeometryOf(double Phi, int imonth)
{
    SolarGeometry g{};
    g.phi = Phi * Pi / 180;
    g.J = MidleMonthDay(imonth);
    g.delta = 0.409 * std::sin(TwoPi * g.J / 365 - 1.39);
    g.omegaS = CheckedResult(std::acos(-std::tan(g.phi) * std::tan(g.delta)));
    return g;
}

// The month's share of the daytime hours of the year, percent of 365 x 12 hours.
double DaytimeShare(double Phi, int imonth)
{
    return DayHoursOfMonth(Phi, imonth) * 100 / 365 / 12;
}

double BlaneyFactor(double p, double t)
{
    return p * 0.254 * (1.8 * t + 32);
}

} // namespace

int DaysOfMonth(int imonth)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return imonth >= 1 && imonth <= 12 ? days[imonth - 1] : -1;
}

int MidleMonthDay(int imonth)
{
    return static_cast<int>(Round(imonth * 30.4 - 15));
}

int FirstMonthDay(int imonth)
{
    return static_cast<int>(Round(imonth * 30.4));
}

double DayHoursOfMonth(double Phi, int imonth)
{
    const SolarGeometry g = SolarGeometryOf(Phi, imonth);
    return g.omegaS * 24 / Pi * DaysOfMonth(imonth);
}

void Empirical(const Months& TblMonthTemps, Months& TblMonthEvap, int arid)
{
    for (std::size_t i = 0; i < 12; ++i) {
        const double k = Round(arid * 3 + TblMonthTemps[i] - 4);
        if (!(k >= 0 && k <= 11))
            throw VelnorError("Range check error");
        TblMonthEvap[i] = IndicatEToRec.TblETo[static_cast<std::size_t>(k)] * 30;
    }
}

void Blaney(const Months& TblMonthTemps, Months& TblMonthEvap, double Phi)
{
    for (int i = 0; i < 12; ++i) {
        const auto m = static_cast<std::size_t>(i);
        TblMonthEvap[m] = BlaneyFactor(DaytimeShare(Phi, i + 1), TblMonthTemps[m]);
    }
}

void Blaney_mod(const Months& TblMonthTemps, const Months& TblRelHum, const Months& TblRelSun,
                const Months& TblWindSp, Months& TblMonthEvap, double Phi)
{
    for (int i = 0; i < 12; ++i) {
        const auto m = static_cast<std::size_t>(i);
        const double T = TblMonthTemps[m];
        if (T < 0)
            continue;
        const double f = BlaneyFactor(DaytimeShare(Phi, i + 1), T);
        if (f < 61) {
            TblMonthEvap[m] = f;
            continue;
        }
        const double RH = TblRelHum[m];
        const double nN = TblRelSun[m];
        const double U = TblWindSp[m];
        const double a = (0.43 * RH - nN - 1.41) * 30.5;
        const double b = 0.82 - 0.41 * RH + 1.07 * nN + 0.066 * U - 0.6 * RH * nN - 0.06 * RH * U;
        TblMonthEvap[m] = b * f + a;
    }
}

double SoilHeatFlux(const Months& TblMnthMeanT, int imonth)
{
    const auto next = static_cast<std::size_t>((imonth + 1) % 12);
    const auto prev = static_cast<std::size_t>((imonth + 11) % 12);
    return 0.07 * (TblMnthMeanT[next] - TblMnthMeanT[prev]);
}

double RadSol(double phi, double n_N, int imonth, bool refcrop)
{
    const double albedo = refcrop ? 0.23 : 0.08;
    const SolarGeometry g = SolarGeometryOf(phi, imonth);
    const double dr = 1 + 0.033 * std::cos(TwoPi * g.J / 365);
    // 24 x 60 x Gsc (0.082) / pi
    const double Ra = 37.58606310817134 * dr *
                      (g.omegaS * std::sin(g.phi) * std::sin(g.delta) +
                       std::cos(g.phi) * std::cos(g.delta) * std::sin(g.omegaS));
    return (1 - albedo) * (0.25 + 0.5 * n_N) * Ra;
}

double RadLong(double tmax, double tmin, double rhmean, double n_N, double z, bool refcrop)
{
    const double r = (0.25 + 0.5 * n_N) / (0.75 + 0.00002 * z);
    const double ea = ActPrsVap(tmax, tmin, rhmean);
    const double sqrtEa = CheckedResult(std::sqrt(ea));
    const double e = refcrop ? 0.34 - 0.14 * sqrtEa : 0.56 - 0.25 * sqrtEa;
    return 0.0000000049 * (std::pow(tmax + 273, 4) + std::pow(tmin + 273, 4)) / 2 * e * (1.35 * r - 0.35);
}

double PresVap(double t)
{
    return 0.6108 * std::exp(17.27 * t / (t + 237.3));
}

double SatPrsVap(double tmax, double tmin)
{
    return (PresVap(tmin) + PresVap(tmax)) / 2;
}

double ActPrsVap(double tmax, double tmin, double rhmean)
{
    return SatPrsVap(tmax, tmin) * rhmean;
}

double Delta(double t)
{
    return 2503.0584 * std::exp(17.27 * t / (t + 237.3)) / ((t + 237.3) * (t + 237.3));
}

double Gama(double z)
{
    const double P = 101.3 * std::pow((293 - 0.0065 * z) / 293, 5.26);
    return 0.001013 * P / 1.5239;
}

void Penman(const Months& TblMnthMaxT, const Months& TblMnthMinT, const Months& TblRelHum,
            const Months& TblRelSun, const Months& TblWindSp, Months& TblMonthEvap, double Phi,
            double z, bool refcrop)
{
    Months Tm{};
    for (std::size_t i = 0; i < 12; ++i)
        Tm[i] = (TblMnthMaxT[i] + TblMnthMinT[i]) / 2;

    const double gama = Gama(z);
    for (int i = 0; i < 12; ++i) {
        const auto m = static_cast<std::size_t>(i);
        const double tmax = TblMnthMaxT[m];
        const double tmin = TblMnthMinT[m];
        const double t = (tmax + tmin) / 2;
        const double RH = TblRelHum[m];
        const double nN = TblRelSun[m];
        const double u = TblWindSp[m];
        const double fu = refcrop ? 900 / (t + 273) * u : 436 / (t + 273) * u;
        const double c = refcrop ? 1 + 0.34 * u : 1;
        const double Rn = RadSol(Phi, nN, i + 1, refcrop) - RadLong(tmax, tmin, RH, nN, z, refcrop);
        const double G = SoilHeatFlux(Tm, i);
        const double D = SatPrsVap(tmax, tmin) - ActPrsVap(tmax, tmin, RH);
        const double delta = Delta(t);
        TblMonthEvap[m] = (0.408 * delta * (Rn - G) + gama * fu * D) / (delta + gama * c) * 30.5;
    }
}

double Kc(std::span<const double> TblKc, int Day)
{
    if (TblKc.size() < 7)
        throw VelnorError("A crop-coefficient curve needs 7 values");
    const double S1 = TblKc[0], S2 = TblKc[1], S3 = TblKc[2], S4 = TblKc[3];
    const double Kini = TblKc[4], Kmid = TblKc[5], Kend = TblKc[6];
    const double d = Day;
    if (d < S1)
        return Kini;
    if (d < S2)
        return Kini + (Kmid - Kini) * (d - S1) / (S2 - S1);
    if (d < S3)
        return Kmid;
    if (d < S4)
        return Kmid + (Kend - Kmid) * (d - S3) / (S4 - S3);
    return 0;
}

double CropNeed(double refevap, std::span<const double> TblKc, int semDay, int month)
{
    double need = 0;
    for (int i = 1; i <= 31; ++i) {
        const int dayrank = FirstMonthDay(month) + i;
        int d = dayrank - semDay;
        if (d < 0)
            d = 365 - semDay + dayrank; // the season started the year before
        need += Kc(TblKc, d) * refevap / 31;
    }
    return need;
}

} // namespace velnor
