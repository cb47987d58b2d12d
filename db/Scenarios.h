#pragma once

#include "core/Errors.h"
#include "db/Connection.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velnor::db {

// The model kinds of the family. A project stores its kind as the value + 1.
enum TKyModel : int {
    KyModel0 = 0,
    KyModel1 = 1,
    KyModel2 = 2,
    KyVelnor = 3,
    KyModel4 = 4,
    KyModel5 = 5,
    KyModel6 = 6,
    KyModel7 = 7,
    KyModel8 = 8,
    KyModel9 = 9,
    KyUnknown = 10,
};

using DateTime = std::chrono::system_clock::time_point;

// Local time of this workstation as the database's timestamp text and back.
std::string FormatTimestamp(DateTime t);
DateTime ParseTimestamp(const std::string& text);

// A project or scenario looked up by identifier has no row.
class ENoRecordError : public VelnorError {
public:
    using VelnorError::VelnorError;
};

struct TKyProject {
    int id = -1;
    TKyModel model = KyVelnor;
    std::string descr;
    std::string descr_en;
    std::string short_descr = "new project";
    std::string short_descr_en;
    std::string creator;
    DateTime creation_date = std::chrono::system_clock::now();
    std::string report;
    std::string report_en;

    // Next value of projects_id.
    static int getNewID(Connection& conn);
    // Inserts a row with a new identifier and returns it; does not commit and
    // does not change `id`.
    int KySaveProject(Connection& conn) const;
    // Deletes the project (and, through the database's rules, its scenarios)
    // and commits; rolls back and rethrows on an error.
    void KyDeleteProject(Connection& conn) const { KyDeleteProject(conn, id); }
    static void KyDeleteProject(Connection& conn, int projectID);
    // Fills the fields from a row of projects (or a join whose first columns of
    // these names are the project's).
    void KyGetProjectData(const Connection& conn, const pqxx::row& row);
    // Reads the project `id`; ENoRecordError "No project with ID '%d' found".
    void KyLoadProject(Connection& conn);
};

struct TKyScenario {
    int id = -1;
    // The project the scenario belongs to; none until one is loaded or chosen.
    std::optional<TKyProject> project;
    int parent = -1;
    std::string descr;
    std::string descr_en;
    std::string short_descr = "new scenario";
    std::string short_descr_en;
    std::string last_user;
    DateTime last_date = std::chrono::system_clock::now();
    std::string model_version;
    std::string report;
    std::string report_en;

    virtual ~TKyScenario() = default;

    // Next value of scenarios_id.
    static int getNewID(Connection& conn);
    // Whether a scenarios row with `id` exists.
    bool exists(Connection& conn) const;
    // Inserts a new scenarios row for this object (versioned save): when `id`
    // names a stored scenario it becomes `parent`; `id` becomes the new row's.
    // With clearParentScenario the parent's model data are cleared. Does not
    // commit. Returns the new id.
    int KySaveScenario(Connection& conn, bool clearParentScenario);
    // The same after storing `project` first (its id becomes the stored one).
    int KySaveScenario(Connection& conn, bool saveProject, bool clearParentScenario);
    // Clears a scenario's data of a model: its side-table row and the
    // gentities rows registered for it. Commits when commitTA is set; rolls back
    // and rethrows on an error.
    static void KyClearScenario(Connection& conn, int scenarioID, TKyModel model, bool commitTA);
    // Clears this scenario for every model kind.
    void KyClearScenario(Connection& conn, bool commitTA) const;
    // The project column of this scenario's row; 0 without a row.
    int KyProjectID(Connection& conn) const;
    void KyGetScenarioData(const Connection& conn, const pqxx::row& row);
    // Reads scenario `id` and its project; ENoRecordError
    // "No scenario with ID '%d' found".
    void KyLoadScenario(Connection& conn);
};

// Model number stored in projects.model, and the texts that join the model's
// side table (empty for models whose side table this program does not know).
struct ModelJoin {
    int number = 0;
    std::string str1;
    std::string str2;
};
ModelJoin getSQL(TKyModel model);

// The model of a project; KyUnknown without a row. A stored number outside
// 1..10 is an internal error.
TKyModel getModelFromProjectID(Connection& conn, int projectID);

// Lists hold shared references: objects stay valid for whoever keeps them after
// the list is cleared or reloaded.
class TScenariosList {
public:
    // Scenarios of all projects of a model kind, newest save first; without
    // loadAll only those holding the model's data.
    void KyLoadScenarios(Connection& conn, TKyModel model, bool loadAll, bool clearFirst);
    // Scenarios of one project (-1: none), newest save first.
    void KyLoadScenarios(Connection& conn, int projectID, bool loadAll, bool clearFirst);
    void KyLoadScenarios(Connection& conn, const TKyProject* project, bool loadAll, bool clearFirst)
    {
        KyLoadScenarios(conn, project ? project->id : -1, loadAll, clearFirst);
    }
    // The first scenario named exactly `descr` (letter case counts).
    std::shared_ptr<TKyScenario> KyFindByName(const std::string& descr) const;
    // With prjID > 0 the first such scenario of that project.
    std::shared_ptr<TKyScenario> KyFindByName(Connection& conn, const std::string& descr, int prjID) const;

    void clear() { items_.clear(); }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::shared_ptr<TKyScenario>& operator[](std::size_t i) const { return items_[i]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    void Fill(Connection& conn, const std::string& sql, bool clearFirst);
    std::vector<std::shared_ptr<TKyScenario>> items_;
};

class TProjectsList {
public:
    // The projects of a model kind, newest first.
    void KyLoadProjects(Connection& conn, TKyModel model, bool clearFirst);

    void clear() { items_.clear(); }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::shared_ptr<TKyProject>& operator[](std::size_t i) const { return items_[i]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::shared_ptr<TKyProject>> items_;
};

} // namespace velnor::db
