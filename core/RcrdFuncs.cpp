#include "RcrdFuncs.h"

#include "Errors.h"
#include "WaterNeedFnct.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace velnor {
namespace {

constexpr double LitresPerHm3 = 1e9;
constexpr double DaysPerMonth = 30.5;
constexpr double MmTimes1000m2PerHm3 = 1e6; // 1 mm on 1000 m2 is 1 m3

TWaterUser& UserAt(int irec)
{
    if (irec < 0 || static_cast<std::size_t>(irec) >= WatUserRec.size())
        throw VelnorError("List index out of bounds (" + std::to_string(irec) + ")");
    return WatUserRec[static_cast<std::size_t>(irec)];
}

// Grows the global WatConsRec to reach irec; tells whether entry irec was created.
bool ReachConsumptor(int irec)
{
    if (irec < 0)
        throw VelnorError("List index out of bounds (" + std::to_string(irec) + ")");
    const auto needed = static_cast<std::size_t>(irec) + 1;
    if (WatConsRec.size() >= needed)
        return false;
    WatConsRec.resize(needed);
    return true;
}

template <typename Table>
const auto& ReferenceRow(const Table& table, int position, const char* what, int id)
{
    if (position < 0 || static_cast<std::size_t>(position) >= table.size())
        throw InputError(std::string("Unknown ") + what + " id " + std::to_string(id));
    return table[static_cast<std::size_t>(position)];
}

double LitresPerDayToHm3(double unitsTimesValue)
{
    return unitsTimesValue * DaysPerMonth / LitresPerHm3;
}

// Need of a month in hm3 from units x value per unit, by category.
double MonthNeedHm3(int category, double unitsTimesValue)
{
    switch (category) {
    case CatWaterSupply:
    case CatFarming:
        return LitresPerDayToHm3(unitsTimesValue);
    case CatIrrigation:
        return unitsTimesValue / MmTimes1000m2PerHm3;
    default:
        return unitsTimesValue;
    }
}

double YearNeedHm3(int category, int n, const Months& perUnit)
{
    double year = 0;
    for (const double v : perUnit)
        year += MonthNeedHm3(category, n * v);
    return year;
}

const double* Series(const std::vector<double>& data, int s)
{
    return data.data() + static_cast<std::ptrdiff_t>(s) * 12;
}

Months SeriesMonths(const std::vector<double>& data, int s)
{
    Months m{};
    std::copy_n(Series(data, s), 12, m.begin());
    return m;
}

void RequireSeries(const std::vector<double>& data, int method)
{
    const auto needed = static_cast<std::size_t>(MeteoSeriesCount(method)) * 12;
    if (data.size() < needed)
        throw InputError("Meteorological data incomplete: " + std::to_string(needed) +
                         " values expected, " + std::to_string(data.size()) + " given");
}

// Above 1 a humidity is a percentage.
Months NormalisedHumidity(const Months& values)
{
    Months out = values;
    for (double& v : out)
        if (v > 1)
            v /= 100;
    return out;
}

// Judged on the sum of the year: hours above 1200, percentages above 12, else ratios.
Months NormalisedSunshine(const Months& values, double phi)
{
    double sum = 0;
    for (const double v : values)
        sum += v;
    Months out = values;
    if (sum > 1200) {
        for (int m = 0; m < 12; ++m)
            out[static_cast<std::size_t>(m)] /= DayHoursOfMonth(phi, m + 1);
    } else if (sum > 12) {
        for (double& v : out)
            v /= 100;
    }
    return out;
}

constexpr double PenmanElevation = 100;

// The fields of an irrigation user that hold a method's input series, in series order.
std::vector<Months TWaterUserFields::*> StoredSeries(int method)
{
    using U = TWaterUserFields;
    switch (method) {
    case MethPenmanMonteith:
        return {&U::TblMnthMinT, &U::TblMnthMaxT, &U::TblRelHum, &U::TblRelSun, &U::TblWindSp};
    case MethModBlaneyCriddle:
        return {&U::TblMnthMinT, &U::TblRelHum, &U::TblRelSun, &U::TblWindSp};
    case MethBlaneyCriddle:
    case MethEmpirical:
        return {&U::TblMnthMinT};
    default:
        return {};
    }
}

int openBatches = 0;

// Keeps group totals current after a user changed, unless a batch defers it.
void RefreshGroups()
{
    if (openBatches == 0)
        RefreshYrNeeds();
}

} // namespace

int MeteoSeriesCount(int method)
{
    switch (method) {
    case MethEmpirical:
    case MethBlaneyCriddle:
        return 1;
    case MethModBlaneyCriddle:
        return 4;
    case MethPenmanMonteith:
        return 5;
    default:
        return 0;
    }
}

void AddRecordSup(int geo_id, std::string_view Toponym, int population, const Months& TblConsumpt,
                  int irec)
{
    TWaterUser& user = UserAt(irec);
    user.Category = CatWaterSupply;
    user.Geo_id = geo_id;
    user.Toponym = Toponym;
    user.UnitsNum = population;
    user.YearNeeds = 0;
    for (std::size_t m = 0; m < 12; ++m) {
        user.TblConsumpt[m] = TblConsumpt[m];
        user.TblMonthNeeds[m] = MonthNeedHm3(CatWaterSupply, population * TblConsumpt[m]);
        user.YearNeeds += user.TblMonthNeeds[m];
    }
    RefreshGroups();
}

void AddExRecFarm(int Cnsmpid, int n, int irec)
{
    const TStrInt12R& row = ReferenceRow(AnimalsRec, FindAnimIndxId(Cnsmpid), "animal", Cnsmpid);
    const bool created = ReachConsumptor(irec);
    TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
    c.CnsmpType = row.Name;
    c.CnsmpId = Cnsmpid;
    c.UnitsNum = n;
    if (created)
        c.TblConsp = row.Consumpt;
    c.yearneeds = YearNeedHm3(CatFarming, n, c.TblConsp);
}

void AddExRecInd(int CnsmpId, int n, int irec)
{
    const TStr12R12R12R& row = ReferenceRow(IndustRec, FindIndIndxId(CnsmpId), "industrial branch", CnsmpId);
    const bool created = ReachConsumptor(irec);
    TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
    c.CnsmpType = row.Name;
    c.CnsmpId = CnsmpId;
    c.UnitsNum = n;
    if (created) {
        c.TblIntake = row.Intake;
        c.TblDisch = row.Disch;
        c.TblConsp = row.Cons;
    }
    c.yearneeds = YearNeedHm3(CatIndustry, n, c.TblConsp);
}

void AddExRecIrig(const std::vector<double>& TblMeteoData, double phi, int arid, int semd, int method,
                  int CnsmpId, int n, int irec)
{
    const TStrInt7R& row = ReferenceRow(CropsRec, FindCropIndxId(CnsmpId), "crop", CnsmpId);
    Months eto{};
    WrapPotEvap(TblMeteoData, eto, phi, arid, method, true);

    const bool created = ReachConsumptor(irec);
    TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
    c.CnsmpType = row.Name;
    c.CnsmpId = CnsmpId;
    c.UnitsNum = n;
    if (created)
        std::copy(row.Consumpt.begin(), row.Consumpt.end(), c.TblKc.begin());
    for (int m = 0; m < 12; ++m)
        c.TblConsp[static_cast<std::size_t>(m)] = CropNeed(eto[static_cast<std::size_t>(m)], c.TblKc, semd, m);
    c.yearneeds = YearNeedHm3(CatIrrigation, n, c.TblConsp);
    c.Sem_day = semd;
}

void AddExRecGrp(int wuId, int /*n: a member always counts once*/, int irec)
{
    AddExRecGrpAt(wuId, FindWatUsIndxId(wuId), irec);
}

void AddExRecGrpAt(int wuId, int member, int irec)
{
    ReachConsumptor(irec);
    TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
    c.CnsmpId = wuId;
    c.UnitsNum = 1;
    if (member == NotFound) {
        c.TblConsp = {};
        c.yearneeds = 0;
        return;
    }
    c.TblConsp = WatUserRec[static_cast<std::size_t>(member)].TblMonthNeeds;
    c.yearneeds = WatUserRec[static_cast<std::size_t>(member)].YearNeeds;
}

void AddMeteoData(const std::vector<double>& TblMeteoData, double phi, int arid, int method, int lrec)
{
    TWaterUser& user = UserAt(lrec);
    if (MeteoSeriesCount(method) == 0)
        return;
    RequireSeries(TblMeteoData, method);
    user.MethId = method;
    int s = 0;
    for (Months TWaterUserFields::*field : StoredSeries(method))
        user.*field = SeriesMonths(TblMeteoData, s++);
    if (method == MethEmpirical)
        user.TblRelHum[0] = arid;
    else
        user.Latitude = phi;
}

std::vector<double> MeteoDataOf(const TWaterUser& user, double& phi, int& arid)
{
    phi = user.Latitude;
    arid = user.MethId == MethEmpirical ? static_cast<int>(std::lround(user.TblRelHum[0])) : 0;
    std::vector<double> data;
    for (Months TWaterUserFields::*field : StoredSeries(user.MethId))
        data.insert(data.end(), (user.*field).begin(), (user.*field).end());
    return data;
}

void WrapPotEvap(const std::vector<double>& TblMeteoData, Months& TblMonthEvap, double phi, int arid,
                 int method, bool refcrop)
{
    TblMonthEvap = {};
    if (MeteoSeriesCount(method) == 0)
        return;
    RequireSeries(TblMeteoData, method);
    switch (method) {
    case MethPenmanMonteith:
        Penman(SeriesMonths(TblMeteoData, 1), SeriesMonths(TblMeteoData, 0),
               NormalisedHumidity(SeriesMonths(TblMeteoData, 2)),
               NormalisedSunshine(SeriesMonths(TblMeteoData, 3), phi), SeriesMonths(TblMeteoData, 4),
               TblMonthEvap, phi, PenmanElevation, refcrop);
        break;
    case MethModBlaneyCriddle:
        Blaney_mod(SeriesMonths(TblMeteoData, 0), NormalisedHumidity(SeriesMonths(TblMeteoData, 1)),
                   NormalisedSunshine(SeriesMonths(TblMeteoData, 2), phi), SeriesMonths(TblMeteoData, 3),
                   TblMonthEvap, phi);
        break;
    case MethBlaneyCriddle:
        Blaney(SeriesMonths(TblMeteoData, 0), TblMonthEvap, phi);
        break;
    case MethEmpirical:
        Empirical(SeriesMonths(TblMeteoData, 0), TblMonthEvap, arid);
        break;
    }
}

void ExToIntRec(int idwatus, std::string_view Toponym, int geo_id, int wurec)
{
    if (WatConsRec.empty()) {
        DelRecordData(wurec);
        DelEmptyGrp();
        return;
    }
    TWaterUser& user = UserAt(wurec);
    const double k = static_cast<double>(WatConsRec.size());
    long long U = 0;
    double Y = 0;
    Months T{};
    for (const TWaterConsumptor& c : WatConsRec) {
        U += c.UnitsNum;
        Y += c.yearneeds;
        for (std::size_t m = 0; m < 12; ++m)
            T[m] += c.UnitsNum * c.TblConsp[m];
    }
    // The sum is stored in a 32-bit UnitsNum; refuse it before anything changes.
    if (U > std::numeric_limits<int>::max() || U < std::numeric_limits<int>::min())
        throw InputError("The units of the water user add up to " + std::to_string(U) + ", more than " +
                         std::to_string(std::numeric_limits<int>::max()));

    user.Category = idwatus;
    user.Geo_id = geo_id;
    user.Toponym = Toponym;
    user.WatConsRec.resize(WatConsRec.size());
    CopyArrayWatConsRec(WatConsRec, user.WatConsRec);
    for (std::size_t m = 0; m < 12; ++m) {
        // Without units there is no mean value per unit.
        user.TblConsumpt[m] = U == 0 ? 0.0 : T[m] / k / static_cast<double>(U);
        user.TblMonthNeeds[m] = MonthNeedHm3(idwatus, T[m]);
    }
    user.UnitsNum = static_cast<int>(U);
    user.YearNeeds = Y;
    RefreshGroups();
}

GroupRefreshBatch::GroupRefreshBatch()
{
    ++openBatches;
}

GroupRefreshBatch::~GroupRefreshBatch()
{
    if (--openBatches == 0)
        RefreshYrNeeds();
}

void RefreshYrNeeds()
{
    const WaterUserList& users = WatUserRec;
    for (std::size_t i = 0; i < users.size(); ++i) {
        if (users[i].Category != CatGroup)
            continue;
        TWaterUser& group = WatUserRec.needsOf(i);
        group.YearNeeds = 0;
        group.TblMonthNeeds = {};
        for (const TWaterConsumptor& member : group.WatConsRec) {
            const int at = users.findLast(member.CnsmpId);
            if (at < 0)
                continue;
            const TWaterUser& source = users[static_cast<std::size_t>(at)];
            group.YearNeeds += source.YearNeeds;
            for (std::size_t m = 0; m < 12; ++m)
                group.TblMonthNeeds[m] += source.TblMonthNeeds[m];
        }
    }
}

} // namespace velnor
