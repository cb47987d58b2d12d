#pragma once

#include "core/DataTables.h"
#include "core/WaterUser.h"
#include "db/Connection.h"
#include "db/Scenarios.h"

#include <functional>
#include <vector>

namespace velnor::db {

// The four reference tables a scenario load takes from the database.
struct LookupTables {
    std::vector<TStr12R12R12R> IndustRec;
    std::vector<TStrInt12R> AnimalsRec;
    std::vector<TStrInt7R> CropsRec;
    std::vector<TStrInt> MetDataRec;
};

// Reads the reference tables of the database. Throws VelnorError when a table
// breaks the rules the lookups rely on (identifiers 1, 2, 3 ... without gaps,
// 12 monthly rows per branch or animal, 5 curve points per crop).
LookupTables LoadLookupTbls(Connection& conn);
// Makes them the working reference tables (IndustRec, AnimalsRec, CropsRec, MetDataRec).
void InstallLookupTables(LookupTables tables) noexcept;

// How the model rows reach the server: multi-row INSERT statements with bound
// parameters, or COPY (the default: the server parses no statement per row).
// Both write the same rows in the open transaction.
enum class RowWriter { Insert, Copy };

// The model data of a scenario (the rows below `scenarios`), written into the
// open transaction without committing: the wn_scenarios row, the water users
// with their details, the groups and the results. Every water user gets its new
// gentities.id as Geo_id, group members follow, and groups are renumbered above
// the largest water-user identifier. Throws InputError for what could not be
// read back: a group member that names no water user of the list, an animal,
// branch or crop that the database's reference tables do not hold.
void SaveWnScenario(Connection& conn, int scenid);
void SaveWnWaterUsers(Connection& conn, int idscen, WaterUserList& users, RowWriter writer = RowWriter::Copy);
void SaveWnResults(Connection& conn, int idscen, const WaterUserList& users, RowWriter writer = RowWriter::Copy);
void SaveWnModelData(Connection& conn, int scenid, WaterUserList& users, RowWriter writer = RowWriter::Copy);

// The water users of a stored scenario, read with the given reference tables:
// water supply, industry, farming, irrigation, then groups (groups numbered
// above the largest water-user identifier). The needs of irrigation users and
// groups are recomputed. Nothing global changes, also on an error.
WaterUserList LoadWnWaterUsers(Connection& conn, int idscen, const LookupTables& tables);

// Groups take the identifiers above the largest water-user identifier, in list order.
void RenumberGroups(WaterUserList& users);

// Whether scenario `scenarioID` holds this model's data (has a wn_scenarios row).
bool HoldsModelData(Connection& conn, int scenarioID);

// The working scenario record of this model.
class TKyWnScenario : public TKyScenario {
public:
    // Save: stores `users` as a new version of this scenario, which becomes its
    // parent and loses its model data. One transaction, committed at the end.
    // On any error it is rolled back and this object and `users` are left
    // exactly as they were.
    void SaveScenario(Connection& conn, WaterUserList& users);

    // Save As. `choose` plays the save dialog on a copy of this object: it sets
    // project, name and description and inserts the new scenarios row
    // (KySaveScenario without clearing the parent); it returns false when
    // cancelled. The transaction is committed in both cases; only a save changes
    // this object and `users`. Returns whether it saved. Errors as SaveScenario.
    bool SaveAsScenario(Connection& conn, WaterUserList& users,
                        const std::function<bool(TKyWnScenario&)>& choose);

    // Open: reads scenario `scenarioID` with its project, the reference tables
    // and the water users, and only when all of it has been read replaces this
    // object, `users` and the working reference tables. Reads only.
    void LoadScenario(Connection& conn, int scenarioID, WaterUserList& users);
};

// Applies the schema and the reference data where absent and commits.
void ApplySchema(Connection& conn);

} // namespace velnor::db
