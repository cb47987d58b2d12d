// Writing the working scenario's model data (the wn_ tables).
#include "db/RowWriter.h"
#include "db/WnScenario.h"

#include "core/Errors.h"

#include <pqxx/pqxx>

#include <algorithm>
#include <unordered_map>

namespace velnor::db {

namespace {

constexpr int ResultUnit = 15;

// Identifiers of one sequence, fetched for the whole save at once and handed
// out in list order.
class IdPool {
public:
    IdPool(Connection& conn, const char* sequence, int count) : ids_(getNewIDsSeq(conn, sequence, count)) {}
    int Getid() { return ids_.at(next_++); }

private:
    std::vector<int> ids_;
    std::size_t next_ = 0;
};

bool IsStoredUser(const TWaterUser& u)
{
    return u.Category >= 1;
}

int ConsumptorCount(const WaterUserList& users, int category)
{
    std::size_t n = 0;
    for (const TWaterUser& u : users)
        if (u.Category == category)
            n += u.WatConsRec.size();
    return static_cast<int>(n);
}

int UserCount(const WaterUserList& users, bool (*pred)(const TWaterUser&))
{
    return static_cast<int>(std::count_if(users.begin(), users.end(), pred));
}

// The rows of one save, table by table, flushed in an order the keys accept.
struct SaveBatch {
    SaveBatch(Connection& c, const WaterUserList& users)
        : conn(c),
          gentitiesIds(c, "gentities_id", UserCount(users, IsStoredUser)),
          urbanIds(c, "wn_urban_areas_id",
                   UserCount(users, [](const TWaterUser& u) { return u.Category == CatWaterSupply; })),
          farmIds(c, "wn_farms_animals_id", ConsumptorCount(users, CatFarming)),
          industryIds(c, "wn_industries_id", ConsumptorCount(users, CatIndustry)),
          cropIds(c, "wn_irrig_areas_crops_id", ConsumptorCount(users, CatIrrigation)),
          groupIds(c, "wn_groups_id", UserCount(users, [](const TWaterUser& u) { return u.Category == CatGroup; }))
    {
    }

    void Flush(RowWriter writer)
    {
        std::vector<std::pair<std::string, std::size_t>> written;
        for (TableRows* t : {&gentities, &waterUsers, &urbanAreas, &urbanNeeds, &farms, &farmNeeds, &industries,
                             &industryNeeds, &crops, &cropCurves, &irrigData, &groups, &usersGroups}) {
            written.emplace_back(t->Table(), t->RowCount());
            t->Flush(conn, writer);
        }
        AnalyzeGrownTables(conn, written);
    }

    Connection& conn;
    IdPool gentitiesIds, urbanIds, farmIds, industryIds, cropIds, groupIds;
    TableRows gentities{"gentities", {"id", "descr", "name", "terminal_subtable"}};
    TableRows waterUsers{"wn_water_users", {"id", "scenario", "num", "type"}};
    TableRows urbanAreas{"wn_urban_areas", {"id", "water_user", "population"}};
    TableRows urbanNeeds{"wn_urban_area_water_needs", {"urban_area", "num", "value"}};
    TableRows farms{"wn_farms_animals", {"id", "water_user", "animal", "population"}};
    TableRows farmNeeds{"wn_farm_animal_water_needs", {"animal", "num", "value"}};
    TableRows industries{"wn_industries", {"id", "water_user", "ind_branch", "units"}};
    TableRows industryNeeds{"wn_industry_water_needs",
                            {"industry", "num", "water_infl_value", "water_cons_value", "water_outfl_value"}};
    TableRows crops{"wn_irrig_areas_crops",
                    {"id", "water_user", "crop", "area", "semination_day", "calc_method", "altitude", "latitude"}};
    TableRows cropCurves{"wn_irrig_area_crop_water_needs", {"crop", "num", "num_val", "x", "y"}};
    TableRows irrigData{"wn_irrig_data", {"irrig_area", "data_type", "num", "value"}};
    TableRows groups{"wn_groups", {"id", "scenario", "descr", "short_descr"}};
    TableRows usersGroups{"wn_users_groups", {"wn_group", "water_user"}};
};

int SaveWnUrbanAreas(SaveBatch& b, int idwuser, const TWaterUser& u)
{
    const int id = b.urbanIds.Getid();
    b.urbanAreas.Row(b.conn, id, idwuser, u.UnitsNum);
    return id;
}

void SaveWnUrbanAreaWaterNeeds(SaveBatch& b, int iduarea, const TWaterUser& u)
{
    for (int m = 0; m < 12; ++m)
        b.urbanNeeds.Row(b.conn, iduarea, m + 1, u.TblConsumpt[m]);
}

void SaveWnFarmAnimalWaterNeeds(SaveBatch& b, int idanimal, const TWaterConsumptor& c)
{
    for (int m = 0; m < 12; ++m)
        b.farmNeeds.Row(b.conn, idanimal, m + 1, c.TblConsp[m]);
}

void SaveWnFarmsAnimals(SaveBatch& b, int idwuser, const TWaterUser& u)
{
    for (const TWaterConsumptor& c : u.WatConsRec) {
        const int id = b.farmIds.Getid();
        b.farms.Row(b.conn, id, idwuser, c.CnsmpId, c.UnitsNum);
        SaveWnFarmAnimalWaterNeeds(b, id, c);
    }
}

void SaveWnIndustryWaterNeeds(SaveBatch& b, int idindust, const TWaterConsumptor& c)
{
    for (int m = 0; m < 12; ++m)
        b.industryNeeds.Row(b.conn, idindust, m + 1, c.TblIntake[m], c.TblConsp[m], c.TblDisch[m]);
}

void SaveWnIndustries(SaveBatch& b, int idwuser, const TWaterUser& u)
{
    for (const TWaterConsumptor& c : u.WatConsRec) {
        const int id = b.industryIds.Getid();
        b.industries.Row(b.conn, id, idwuser, c.CnsmpId, c.UnitsNum);
        SaveWnIndustryWaterNeeds(b, id, c);
    }
}

// The crop-coefficient curve as five points (x, y).
void SaveWnIrrigAreaCropWaterNeeds(SaveBatch& b, int idirrig, const TWaterConsumptor& c)
{
    const auto& k = c.TblKc;
    const double points[5][2] = {{0, k[4]}, {k[0], k[4]}, {k[1], k[5]}, {k[2], k[5]}, {k[3], k[6]}};
    for (int p = 0; p < 5; ++p)
        b.cropCurves.Row(b.conn, idirrig, 0, p + 1, points[p][0], points[p][1]);
}

void SaveWnIrrigAreasCrops(SaveBatch& b, int idwuser, const TWaterUser& u)
{
    for (const TWaterConsumptor& c : u.WatConsRec) {
        const int id = b.cropIds.Getid();
        b.crops.Row(b.conn, id, idwuser, c.CnsmpId, c.UnitsNum, c.Sem_day, u.MethId, u.Height, u.Latitude);
        SaveWnIrrigAreaCropWaterNeeds(b, id, c);
    }
}

void SaveWnIrrigData(SaveBatch& b, int idwuser, const Months& data, int datatype)
{
    for (int m = 0; m < 12; ++m)
        b.irrigData.Row(b.conn, idwuser, datatype, m + 1, data[m]);
}

// The meteorological series an irrigation user stores, by its method.
void SaveWnMeteoData(SaveBatch& b, int idwuser, const TWaterUser& u)
{
    switch (u.MethId) {
    case 1:
        SaveWnIrrigData(b, idwuser, u.TblMnthMinT, 6);
        SaveWnIrrigData(b, idwuser, u.TblRelHum, 3);
        break;
    case 2:
        SaveWnIrrigData(b, idwuser, u.TblMnthMinT, 1);
        break;
    case 3:
        SaveWnIrrigData(b, idwuser, u.TblMnthMinT, 1);
        SaveWnIrrigData(b, idwuser, u.TblRelHum, 3);
        SaveWnIrrigData(b, idwuser, u.TblRelSun, 4);
        SaveWnIrrigData(b, idwuser, u.TblWindSp, 5);
        break;
    case 4:
        SaveWnIrrigData(b, idwuser, u.TblMnthMinT, 1);
        SaveWnIrrigData(b, idwuser, u.TblMnthMaxT, 2);
        SaveWnIrrigData(b, idwuser, u.TblRelHum, 3);
        SaveWnIrrigData(b, idwuser, u.TblRelSun, 4);
        SaveWnIrrigData(b, idwuser, u.TblWindSp, 5);
        break;
    default:
        break;
    }
}

int SaveWnGroups(SaveBatch& b, int scenid, const TWaterUser& g)
{
    const int id = b.groupIds.Getid();
    b.groups.Row(b.conn, id, scenid, Text{g.Toponym.str()}, Text{g.Toponym.str()});
    return id;
}

void SaveWnUsersGroups(SaveBatch& b, int idgrp, const TWaterUser& g)
{
    for (const TWaterConsumptor& c : g.WatConsRec)
        b.usersGroups.Row(b.conn, idgrp, c.CnsmpId);
}

// A load finds animals, branches and crops by identifier in the database's
// reference tables (identifiers 1 to their number). A consumptor naming one
// that is not there could be saved but never opened again: refuse it.
void CheckReferenceIds(Connection& conn, const WaterUserList& users)
{
    const pqxx::row counts = conn.Tx().exec1(
        "SELECT (SELECT count(*) FROM wn_industrial_branch), (SELECT count(*) FROM animals), "
        "(SELECT count(*) FROM crops)");
    struct Kind {
        int category;
        const char* what;
        long long count;
    };
    const Kind kinds[] = {{CatIndustry, "industrial branch", counts[0].as<long long>()},
                          {CatFarming, "kind of animal", counts[1].as<long long>()},
                          {CatIrrigation, "crop", counts[2].as<long long>()}};
    for (const TWaterUser& u : users)
        for (const Kind& k : kinds)
            if (u.Category == k.category)
                for (const TWaterConsumptor& c : u.WatConsRec)
                    if (c.CnsmpId < 1 || c.CnsmpId > k.count)
                        throw InputError("Water user '" + u.Toponym.str() + "': " + k.what + " " +
                                         std::to_string(c.CnsmpId) + " is not in the database's reference tables");
}

} // namespace

void RenumberGroups(WaterUserList& users)
{
    int top = 0;
    for (const TWaterUser& u : users)
        if (u.Category != CatGroup)
            top = std::max(top, u.Geo_id);
    for (TWaterUser& u : users)
        if (u.Category == CatGroup)
            u.Geo_id = ++top;
}

void SaveWnScenario(Connection& conn, int scenid)
{
    conn.Tx().exec_params("INSERT INTO wn_scenarios (id) VALUES ($1)", scenid);
}

void SaveWnWaterUsers(Connection& conn, int idscen, WaterUserList& users, RowWriter writer)
{
    CheckReferenceIds(conn, users);
    SaveBatch b(conn, users);
    // Old identifier -> new one (TOldNew); the first water user with an
    // identifier counts, as a lookup in list order would find it.
    std::unordered_map<int, int> oldNew;
    for (TWaterUser& u : users) {
        if (!IsStoredUser(u))
            continue;
        const int g = b.gentitiesIds.Getid();
        b.gentities.Row(conn, g, Text{u.Toponym.str()}, Text{u.Toponym.str()}, Text{"wn_water_users"});
        oldNew.emplace(u.Geo_id, g);
        u.Geo_id = g;
        b.waterUsers.Row(conn, g, idscen, u.UnitsNum, u.Category);
        switch (u.Category) {
        case CatWaterSupply:
            SaveWnUrbanAreaWaterNeeds(b, SaveWnUrbanAreas(b, g, u), u);
            break;
        case CatFarming:
            SaveWnFarmsAnimals(b, g, u);
            break;
        case CatIndustry:
            SaveWnIndustries(b, g, u);
            break;
        case CatIrrigation:
            SaveWnIrrigAreasCrops(b, g, u);
            SaveWnMeteoData(b, g, u);
            break;
        default:
            break;
        }
    }
    for (TWaterUser& grp : users) {
        if (grp.Category != CatGroup)
            continue;
        for (TWaterConsumptor& member : grp.WatConsRec) {
            // A member that names no water user of the scenario cannot be
            // stored: its identifier could belong to another water user of the
            // new version. The save is refused (and rolled back by the caller).
            const auto it = oldNew.find(member.CnsmpId);
            if (it == oldNew.end())
                throw InputError("Group '" + grp.Toponym.str() + "' has a member (" +
                                  std::to_string(member.CnsmpId) + ") that is not a water user of the scenario");
            member.CnsmpId = it->second;
        }
        SaveWnUsersGroups(b, SaveWnGroups(b, idscen, grp), grp);
    }
    b.Flush(writer);
    RenumberGroups(users);
}

void SaveWnResults(Connection& conn, int idscen, const WaterUserList& users, RowWriter writer)
{
    (void)idscen;
    TableRows results{"wn_results", {"water_user", "num", "value", "unit"}};
    for (const TWaterUser& u : users) {
        // Only water users that have a wn_water_users row can hold results.
        if (!IsStoredUser(u))
            continue;
        for (int m = 0; m < 12; ++m)
            results.Row(conn, u.Geo_id, m + 1, u.TblMonthNeeds[m], ResultUnit);
    }
    const std::size_t rows = results.RowCount();
    results.Flush(conn, writer);
    AnalyzeGrownTables(conn, {{"wn_results", rows}});
}

void SaveWnModelData(Connection& conn, int scenid, WaterUserList& users, RowWriter writer)
{
    SaveWnScenario(conn, scenid);
    SaveWnWaterUsers(conn, scenid, users, writer);
    SaveWnResults(conn, scenid, users, writer);
}

void TKyWnScenario::SaveScenario(Connection& conn, WaterUserList& users)
{
    TKyWnScenario work = *this;
    WaterUserList list = users;
    try {
        work.KySaveScenario(conn, true);
        SaveWnModelData(conn, work.id, list);
        conn.Commit();
    } catch (...) {
        conn.RollbackAndRethrow();
    }
    *this = std::move(work);
    users = std::move(list);
}

bool TKyWnScenario::SaveAsScenario(Connection& conn, WaterUserList& users,
                                   const std::function<bool(TKyWnScenario&)>& choose)
{
    TKyWnScenario work = *this;
    WaterUserList list = users;
    bool saved = false;
    try {
        saved = choose(work);
        if (saved)
            SaveWnModelData(conn, work.id, list);
        conn.Commit();
    } catch (...) {
        conn.RollbackAndRethrow();
    }
    if (saved) {
        *this = std::move(work);
        users = std::move(list);
    }
    return saved;
}

} // namespace velnor::db
