// Reading a stored scenario and the reference tables.
#include "db/WnScenario.h"

#include "core/RcrdFuncs.h"

#include <pqxx/pqxx>

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace velnor::db {

namespace {

std::string Name(const Connection& conn, const pqxx::field& f)
{
    return f.is_null() ? std::string() : conn.FromClient(f.c_str());
}

// Rows of a reference query taken in blocks of `blockSize` rows per identifier;
// identifiers must run 1, 2, 3 ... in the order returned.
template <typename OnBlock>
void ReadBlocks(const pqxx::result& r, const char* idColumn, std::size_t blockSize, const char* what,
                OnBlock onBlock)
{
    if (r.size() % blockSize != 0)
        throw VelnorError(std::string("Reference table of ") + what + ": " + std::to_string(r.size()) +
                          " rows are not blocks of " + std::to_string(blockSize));
    for (std::size_t first = 0; first < r.size(); first += blockSize) {
        const int id = r[static_cast<pqxx::result::size_type>(first)][idColumn].as<int>();
        const int expected = static_cast<int>(first / blockSize) + 1;
        for (std::size_t k = 0; k < blockSize; ++k)
            if (r[static_cast<pqxx::result::size_type>(first + k)][idColumn].as<int>() != id)
                throw VelnorError(std::string("Reference table of ") + what + ": entry " + std::to_string(id) +
                                  " does not have " + std::to_string(blockSize) + " rows");
        if (id != expected)
            throw VelnorError(std::string("Reference table of ") + what + ": identifier " + std::to_string(id) +
                              " found where " + std::to_string(expected) + " was expected");
        onBlock(first, id);
    }
}

// The 7 curve values of five points: stage ends x2..x5, Kc y2, y3, y5.
template <typename Array>
void PointsToCurve(const double (&x)[5], const double (&y)[5], Array& kc)
{
    kc[0] = x[1];
    kc[1] = x[2];
    kc[2] = x[3];
    kc[3] = x[4];
    kc[4] = y[1];
    kc[5] = y[2];
    kc[6] = y[4];
}

// Value rows of every owner of one scenario: owner -> values, `width` values per
// row, rows in the query's order.
using SeriesMap = std::unordered_map<int, std::vector<double>>;

SeriesMap ReadSeries(Connection& conn, const std::string& sql, int idscen, std::initializer_list<const char*> columns)
{
    SeriesMap out;
    for (const auto& row : conn.Tx().exec_params(sql, idscen)) {
        std::vector<double>& v = out[row[0].as<int>()];
        for (const char* c : columns)
            v.push_back(row[c].as<double>());
    }
    return out;
}

const std::vector<double>& Series(const SeriesMap& map, int owner, std::size_t rows, std::size_t width,
                                  const char* what)
{
    const auto it = map.find(owner);
    const std::size_t found = it == map.end() ? 0 : it->second.size() / width;
    if (found != rows)
        throw VelnorError(std::string(what) + " " + std::to_string(owner) + " has " + std::to_string(found) +
                          " value rows, " + std::to_string(rows) + " expected");
    return it->second;
}

void FillMonths(const std::vector<double>& v, std::size_t width, std::size_t column, Months& out)
{
    for (std::size_t m = 0; m < 12; ++m)
        out[m] = v[m * width + column];
}

template <typename Table>
const auto& RefEntry(const Table& table, int id, const char* what)
{
    if (id < 1 || static_cast<std::size_t>(id) > table.size())
        throw VelnorError(std::string("Unknown ") + what + " " + std::to_string(id));
    return table[static_cast<std::size_t>(id - 1)];
}

// Finds the record this loader appended for `id` (its `index`), or appends a new one.
TWaterUser& Merge(WaterUserList& users, std::unordered_map<int, std::size_t>& index, int id, bool& isNew)
{
    const auto it = index.find(id);
    isNew = it == index.end();
    if (!isNew)
        return users[it->second];
    index.emplace(id, users.size());
    TWaterUser& u = users.append();
    u.Geo_id = id;
    return u;
}

// Appends a consumptor to its water user: units, monthly needs (units x value,
// in litres a day over a 30.5-day month when `litresPerDay`) and yearly needs grow.
void AddLoadedConsumptor(TWaterUser& u, TWaterConsumptor c, bool litresPerDay)
{
    u.UnitsNum += c.UnitsNum;
    for (int m = 0; m < 12; ++m) {
        double need = c.UnitsNum * c.TblConsp[m];
        if (litresPerDay)
            need = need * 30.5 / 1000000000.0;
        u.TblMonthNeeds[m] += need;
        c.yearneeds += need;
    }
    u.YearNeeds += c.yearneeds;
    u.WatConsRec.push_back(std::move(c));
}

void LoadWaterSupply(Connection& conn, int idscen, WaterUserList& users)
{
    const SeriesMap needs = ReadSeries(
        conn,
        "SELECT n.urban_area, n.num, n.value FROM wn_urban_area_water_needs n"
        " INNER JOIN wn_urban_areas a ON n.urban_area = a.id"
        " INNER JOIN wn_water_users w ON a.water_user = w.id"
        " WHERE w.scenario = $1 ORDER BY n.urban_area, n.num",
        idscen, {"value"});
    const pqxx::result r = conn.Tx().exec(
        "SELECT wn_urban_areas.*, gentities.name FROM (wn_urban_areas INNER JOIN wn_water_users ON "
        "wn_urban_areas.water_user = wn_water_users.id ) INNER JOIN gentities ON gentities.id = wn_water_users.id "
        "WHERE wn_water_users.scenario=" +
        std::to_string(idscen) + " ORDER BY wn_urban_areas.water_user, wn_urban_areas.id");
    for (const auto& row : r) {
        TWaterUser& u = users.append();
        u.Category = CatWaterSupply;
        u.Geo_id = row["water_user"].as<int>();
        u.UnitsNum = row["population"].as<int>();
        FillMonths(Series(needs, row["id"].as<int>(), 12, 1, "Urban area"), 1, 0, u.TblConsumpt);
        u.YearNeeds = 0;
        for (int m = 0; m < 12; ++m) {
            u.TblMonthNeeds[m] = u.UnitsNum * u.TblConsumpt[m] * 30.5 / 1000000000.0;
            u.YearNeeds += u.TblMonthNeeds[m];
        }
        u.Toponym = Name(conn, row["name"]);
    }
}

void LoadIndustry(Connection& conn, int idscen, const LookupTables& tables, WaterUserList& users)
{
    const SeriesMap needs = ReadSeries(
        conn,
        "SELECT n.industry, n.num, n.water_infl_value, n.water_cons_value, n.water_outfl_value"
        " FROM wn_industry_water_needs n INNER JOIN wn_industries i ON n.industry = i.id"
        " INNER JOIN wn_water_users w ON i.water_user = w.id"
        " WHERE w.scenario = $1 ORDER BY n.industry, n.num",
        idscen, {"water_infl_value", "water_cons_value", "water_outfl_value"});
    const pqxx::result r = conn.Tx().exec(
        "SELECT wn_industries.*, gentities.name FROM (wn_industries INNER JOIN wn_water_users ON "
        "wn_industries.water_user = wn_water_users.id) INNER JOIN gentities ON gentities.id = wn_water_users.id "
        "WHERE wn_water_users.scenario=" +
        std::to_string(idscen) + " ORDER BY wn_industries.water_user, wn_industries.id");
    std::unordered_map<int, std::size_t> index;
    for (const auto& row : r) {
        bool isNew = false;
        TWaterUser& u = Merge(users, index, row["water_user"].as<int>(), isNew);
        if (isNew) {
            u.Category = CatIndustry;
            u.Toponym = Name(conn, row["name"]);
        }
        TWaterConsumptor c;
        const std::vector<double>& v = Series(needs, row["id"].as<int>(), 12, 3, "Industry");
        FillMonths(v, 3, 0, c.TblIntake);
        FillMonths(v, 3, 1, c.TblConsp);
        FillMonths(v, 3, 2, c.TblDisch);
        c.CnsmpId = row["ind_branch"].as<int>();
        c.CnsmpType = RefEntry(tables.IndustRec, c.CnsmpId, "industrial branch").Name;
        c.UnitsNum = row["units"].as<int>();
        AddLoadedConsumptor(u, std::move(c), false);
    }
}

void LoadFarm(Connection& conn, int idscen, const LookupTables& tables, WaterUserList& users)
{
    const SeriesMap needs = ReadSeries(
        conn,
        "SELECT n.animal, n.num, n.value FROM wn_farm_animal_water_needs n"
        " INNER JOIN wn_farms_animals f ON n.animal = f.id"
        " INNER JOIN wn_water_users w ON f.water_user = w.id"
        " WHERE w.scenario = $1 ORDER BY n.animal, n.num",
        idscen, {"value"});
    const pqxx::result r = conn.Tx().exec(
        "SELECT wn_farms_animals.*, gentities.name FROM (wn_farms_animals INNER JOIN wn_water_users ON "
        "wn_farms_animals.water_user = wn_water_users.id) INNER JOIN gentities ON gentities.id = wn_water_users.id "
        "WHERE wn_water_users.scenario=" +
        std::to_string(idscen) + " ORDER BY wn_farms_animals.water_user, wn_farms_animals.id");
    std::unordered_map<int, std::size_t> index;
    for (const auto& row : r) {
        bool isNew = false;
        TWaterUser& u = Merge(users, index, row["water_user"].as<int>(), isNew);
        if (isNew)
            u.Category = CatFarming;
        u.Toponym = Name(conn, row["name"]);
        TWaterConsumptor c;
        FillMonths(Series(needs, row["id"].as<int>(), 12, 1, "Farm animal"), 1, 0, c.TblConsp);
        c.CnsmpId = row["animal"].as<int>();
        c.CnsmpType = RefEntry(tables.AnimalsRec, c.CnsmpId, "kind of animal").Name;
        c.UnitsNum = row["population"].as<int>();
        AddLoadedConsumptor(u, std::move(c), true);
    }
}

void LoadIrrig(Connection& conn, int idscen, const LookupTables& tables, WaterUserList& users)
{
    const SeriesMap curves = ReadSeries(
        conn,
        "SELECT n.crop, n.num_val, n.x, n.y FROM wn_irrig_area_crop_water_needs n"
        " INNER JOIN wn_irrig_areas_crops c ON n.crop = c.id"
        " INNER JOIN wn_water_users w ON c.water_user = w.id"
        " WHERE w.scenario = $1 ORDER BY n.crop, n.num_val",
        idscen, {"x", "y"});
    std::map<std::pair<int, int>, std::vector<double>> meteo;
    for (const auto& row : conn.Tx().exec_params(
             "SELECT d.irrig_area, d.data_type, d.num, d.value FROM wn_irrig_data d"
             " INNER JOIN wn_water_users w ON d.irrig_area = w.id"
             " WHERE w.scenario = $1 ORDER BY d.irrig_area, d.data_type, d.num",
             idscen))
        meteo[{row["irrig_area"].as<int>(), row["data_type"].as<int>()}].push_back(row["value"].as<double>());

    auto loadMeteoData = [&](Months& data, int irrigArea, std::size_t position) {
        const int dataType = RefEntry(tables.MetDataRec, static_cast<int>(position) + 1, "kind of meteorological data").id;
        const auto it = meteo.find({irrigArea, dataType});
        if (it == meteo.end() || it->second.size() != 12)
            throw VelnorError("Irrigation water user " + std::to_string(irrigArea) +
                              " lacks the 12 meteorological values of data type " + std::to_string(dataType));
        FillMonths(it->second, 1, 0, data);
    };

    const pqxx::result r = conn.Tx().exec(
        "SELECT wn_irrig_areas_crops.*, gentities.name FROM (wn_irrig_areas_crops INNER JOIN wn_water_users ON "
        "wn_irrig_areas_crops.water_user = wn_water_users.id) JOIN gentities ON gentities.id = wn_water_users.id "
        "WHERE wn_water_users.scenario=" +
        std::to_string(idscen) + " ORDER BY wn_irrig_areas_crops.water_user, wn_irrig_areas_crops.id");
    std::unordered_map<int, std::size_t> index;
    for (const auto& row : r) {
        bool isNew = false;
        TWaterUser& u = Merge(users, index, row["water_user"].as<int>(), isNew);
        if (isNew) {
            u.Category = CatIrrigation;
            u.MethId = row["calc_method"].as<int>();
            u.Latitude = row["latitude"].as<double>();
            u.Toponym = Name(conn, row["name"]);
            switch (u.MethId) {
            case 4:
                loadMeteoData(u.TblMnthMinT, u.Geo_id, 0);
                loadMeteoData(u.TblMnthMaxT, u.Geo_id, 1);
                loadMeteoData(u.TblRelHum, u.Geo_id, 2);
                loadMeteoData(u.TblRelSun, u.Geo_id, 3);
                loadMeteoData(u.TblWindSp, u.Geo_id, 4);
                break;
            case 3:
                loadMeteoData(u.TblMnthMinT, u.Geo_id, 0);
                loadMeteoData(u.TblRelHum, u.Geo_id, 2);
                loadMeteoData(u.TblRelSun, u.Geo_id, 3);
                loadMeteoData(u.TblWindSp, u.Geo_id, 4);
                break;
            case 2:
                loadMeteoData(u.TblMnthMinT, u.Geo_id, 0);
                break;
            case 1:
                loadMeteoData(u.TblMnthMinT, u.Geo_id, 5);
                loadMeteoData(u.TblRelHum, u.Geo_id, 2);
                break;
            default:
                break;
            }
        }
        TWaterConsumptor c;
        const std::vector<double>& pts = Series(curves, row["id"].as<int>(), 5, 2, "Irrigated crop");
        double x[5], y[5];
        for (int p = 0; p < 5; ++p) {
            x[p] = pts[static_cast<std::size_t>(p) * 2];
            y[p] = pts[static_cast<std::size_t>(p) * 2 + 1];
        }
        PointsToCurve(x, y, c.TblKc);
        c.CnsmpId = row["crop"].as<int>();
        c.CnsmpType = RefEntry(tables.CropsRec, c.CnsmpId, "crop").Name;
        c.UnitsNum = row["area"].as<int>();
        c.Sem_day = row["semination_day"].as<int>();
        u.UnitsNum += c.UnitsNum;
        u.WatConsRec.push_back(std::move(c));
    }
}

void LoadGroup(Connection& conn, int idscen, WaterUserList& users)
{
    const pqxx::result r = conn.Tx().exec(
        "SELECT wn_users_groups.*, wn_groups.descr, wn_water_users.scenario FROM (wn_users_groups LEFT JOIN "
        "wn_water_users ON wn_users_groups.water_user = wn_water_users.id) LEFT JOIN wn_groups ON "
        "wn_users_groups.wn_group = wn_groups.id WHERE wn_water_users.scenario=" +
        std::to_string(idscen) + " ORDER BY wn_users_groups.wn_group, wn_users_groups.id");
    std::unordered_map<int, std::size_t> index;
    for (const auto& row : r) {
        bool isNew = false;
        TWaterUser& g = Merge(users, index, row["wn_group"].as<int>(), isNew);
        if (isNew) {
            g.Category = CatGroup;
            g.UnitsNum = 0;
            g.Toponym = Name(conn, row["descr"]);
        }
        TWaterConsumptor member;
        member.CnsmpId = row["water_user"].as<int>();
        member.UnitsNum = 1;
        g.WatConsRec.push_back(std::move(member));
        g.UnitsNum += 1;
    }
}

// Runs `work` with `users` and `tables` as the working scenario and reference
// tables (the core's assembly operations work on those), then puts the
// previous ones back, also when `work` throws.
template <typename Work>
void WithWorkingData(WaterUserList& users, const LookupTables& tables, Work work)
{
    struct Saved {
        WaterUserList users;
        ConsumptorList cons;
        std::vector<TStr12R12R12R> industries;
        std::vector<TStrInt12R> animals;
        std::vector<TStrInt7R> crops;
        std::vector<TStrInt> metData;
    };
    Saved saved{std::move(WatUserRec), std::move(WatConsRec), IndustRec, AnimalsRec, CropsRec, MetDataRec};
    struct Restore {
        Saved& s;
        WaterUserList& users;
        ~Restore()
        {
            users = std::move(WatUserRec);
            WatUserRec = std::move(s.users);
            WatConsRec = std::move(s.cons);
            IndustRec = std::move(s.industries);
            AnimalsRec = std::move(s.animals);
            CropsRec = std::move(s.crops);
            MetDataRec = std::move(s.metData);
        }
    } restore{saved, users};
    WatUserRec = std::move(users);
    WatConsRec.clear();
    IndustRec = tables.IndustRec;
    AnimalsRec = tables.AnimalsRec;
    CropsRec = tables.CropsRec;
    MetDataRec = tables.MetDataRec;
    work();
}

// Irrigation needs are not stored: recompute every crop from the meteorological
// data, then the group totals from their members.
void RecomputeNeeds(WaterUserList& users, const LookupTables& tables)
{
    WithWorkingData(users, tables, [] {
        // Group totals are summed once, when the batch closes.
        const GroupRefreshBatch batch;
        for (std::size_t j = 0; j < WatUserRec.size(); ++j) {
            TWaterUser& u = WatUserRec[j];
            if (u.Category != CatIrrigation)
                continue;
            WatConsRec = u.WatConsRec;
            double phi = 0;
            int arid = 0;
            const std::vector<double> meteo = MeteoDataOf(u, phi, arid);
            for (std::size_t i = 0; i < WatConsRec.size(); ++i) {
                const TWaterConsumptor& c = WatConsRec[i];
                AddExRecIrig(meteo, phi, arid, c.Sem_day, u.MethId, c.CnsmpId, c.UnitsNum, static_cast<int>(i));
            }
            const std::string toponym = u.Toponym.str();
            ExToIntRec(CatIrrigation, toponym, u.Geo_id, static_cast<int>(j));
        }
        // Each member's copy of its water user's needs; the last water user of
        // an identifier counts, and a member that names none keeps zeros.
        std::unordered_map<int, std::size_t> lastOfId;
        for (std::size_t j = 0; j < WatUserRec.size(); ++j)
            lastOfId[WatUserRec[j].Geo_id] = j;
        for (std::size_t j = 0; j < WatUserRec.size(); ++j) {
            TWaterUser& g = WatUserRec[j];
            if (g.Category != CatGroup)
                continue;
            WatConsRec = g.WatConsRec;
            for (TWaterConsumptor& member : WatConsRec) {
                const auto k = lastOfId.find(member.CnsmpId);
                if (k == lastOfId.end())
                    continue;
                member.TblConsp = WatUserRec[k->second].TblMonthNeeds;
                member.yearneeds = WatUserRec[k->second].YearNeeds;
            }
            const std::string toponym = g.Toponym.str();
            ExToIntRec(CatGroup, toponym, g.Geo_id, static_cast<int>(j));
        }
        WatConsRec.clear();
    });
}

} // namespace

LookupTables LoadLookupTbls(Connection& conn)
{
    LookupTables t;
    auto& tx = conn.Tx();

    const pqxx::result ind = tx.exec(
        "SELECT water_needs_industrial_branch.ind_branch, industrial_branch.short_descr, "
        "water_needs_industrial_branch.num, water_needs_industrial_branch.water_infl, "
        "water_needs_industrial_branch.water_cons, water_needs_industrial_branch.water_outfl FROM "
        "water_needs_industrial_branch INNER JOIN industrial_branch ON water_needs_industrial_branch.ind_branch = "
        "industrial_branch.id INNER JOIN wn_industrial_branch ON wn_industrial_branch.id = industrial_branch.id  "
        "ORDER BY water_needs_industrial_branch.ind_branch, water_needs_industrial_branch.num");
    ReadBlocks(ind, "ind_branch", 12, "industrial branches", [&](std::size_t first, int id) {
        TStr12R12R12R e;
        e.Id = id;
        e.Name = Name(conn, ind[static_cast<pqxx::result::size_type>(first)]["short_descr"]);
        for (std::size_t m = 0; m < 12; ++m) {
            const auto row = ind[static_cast<pqxx::result::size_type>(first + m)];
            e.Intake[m] = row["water_infl"].as<double>();
            e.Disch[m] = row["water_outfl"].as<double>();
            e.Cons[m] = row["water_cons"].as<double>();
        }
        t.IndustRec.push_back(std::move(e));
    });

    const pqxx::result anim = tx.exec(
        "SELECT animals.id, animals.name, water_needs_animals.num, water_needs_animals.water_cons FROM "
        "water_needs_animals LEFT JOIN animals ON water_needs_animals.animal = animals.id ORDER BY animals.id, "
        "water_needs_animals.num");
    ReadBlocks(anim, "id", 12, "animals", [&](std::size_t first, int id) {
        TStrInt12R e;
        e.Id = id;
        e.Name = Name(conn, anim[static_cast<pqxx::result::size_type>(first)]["name"]);
        for (std::size_t m = 0; m < 12; ++m)
            e.Consumpt[m] = anim[static_cast<pqxx::result::size_type>(first + m)]["water_cons"].as<double>();
        t.AnimalsRec.push_back(std::move(e));
    });

    const pqxx::result crops = tx.exec(
        "SELECT crops.id, crops.name, crop_coefficients.num_val, crop_coefficients.x, crop_coefficients.y FROM "
        "crops LEFT JOIN crop_coefficients ON crops.id = crop_coefficients.crop ORDER BY crops.id, "
        "crop_coefficients.num_val");
    ReadBlocks(crops, "id", 5, "crops", [&](std::size_t first, int id) {
        TStrInt7R e;
        e.Id = id;
        e.Name = Name(conn, crops[static_cast<pqxx::result::size_type>(first)]["name"]);
        double x[5], y[5];
        for (std::size_t p = 0; p < 5; ++p) {
            const auto row = crops[static_cast<pqxx::result::size_type>(first + p)];
            x[p] = row["x"].as<double>();
            y[p] = row["y"].as<double>();
        }
        PointsToCurve(x, y, e.Consumpt);
        t.CropsRec.push_back(std::move(e));
    });

    for (const auto& row : tx.exec("SELECT wn_irrig_data_types.id, wn_irrig_data_types.descr FROM wn_irrig_data_types"
                                   " ORDER BY wn_irrig_data_types.id"))
        t.MetDataRec.push_back(TStrInt{Name(conn, row["descr"]), row["id"].as<int>()});
    return t;
}

void InstallLookupTables(LookupTables tables) noexcept
{
    IndustRec = std::move(tables.IndustRec);
    AnimalsRec = std::move(tables.AnimalsRec);
    CropsRec = std::move(tables.CropsRec);
    MetDataRec = std::move(tables.MetDataRec);
}

WaterUserList LoadWnWaterUsers(Connection& conn, int idscen, const LookupTables& tables)
{
    WaterUserList users;
    conn.Progress("Reading water supply users");
    LoadWaterSupply(conn, idscen, users);
    conn.Progress("Reading industries");
    LoadIndustry(conn, idscen, tables, users);
    conn.Progress("Reading farms");
    LoadFarm(conn, idscen, tables, users);
    conn.Progress("Reading irrigation users");
    LoadIrrig(conn, idscen, tables, users);
    conn.Progress("Reading groups");
    LoadGroup(conn, idscen, users);
    // Before any lookup by identifier: groups must not share one with a water user.
    RenumberGroups(users);
    conn.Progress("Computing irrigation needs of " + std::to_string(users.size()) + " water users");
    RecomputeNeeds(users, tables);
    return users;
}

bool HoldsModelData(Connection& conn, int scenarioID)
{
    return !conn.Tx().exec_params("SELECT id FROM wn_scenarios WHERE id = $1", scenarioID).empty();
}

void TKyWnScenario::LoadScenario(Connection& conn, int scenarioID, WaterUserList& users)
{
    TKyWnScenario loaded;
    LookupTables tables;
    WaterUserList list;
    try {
        loaded.id = scenarioID;
        loaded.KyLoadScenario(conn);
        conn.Progress("Reading reference tables");
        tables = LoadLookupTbls(conn);
        list = LoadWnWaterUsers(conn, scenarioID, tables);
    } catch (const pqxx::failure&) {
        // A failed statement leaves the transaction unusable; the load wrote
        // nothing, so rolling back only makes the connection usable again.
        conn.RollbackAndRethrow();
    }
    // Everything has been read: replace the working data.
    *this = std::move(loaded);
    users = std::move(list);
    InstallLookupTables(std::move(tables));
}

} // namespace velnor::db
