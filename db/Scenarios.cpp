#include "db/Scenarios.h"

#include <pqxx/pqxx>

#include <cstdio>
#include <ctime>

namespace velnor::db {

namespace {

std::string Text(const Connection& conn, const pqxx::row& row, const char* column)
{
    const pqxx::field f = row[column];
    return f.is_null() ? std::string() : conn.FromClient(f.c_str());
}

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string out;
    for (const std::string& l : lines) {
        if (l.empty())
            continue;
        if (!out.empty())
            out += '\n';
        out += l;
    }
    return out;
}

std::string SelectScenarioById(int id)
{
    return Lines({"SELECT * FROM scenarios", "WHERE id= " + std::to_string(id)});
}

std::string SelectProjectById(int id)
{
    return Lines({"SELECT * FROM projects", "WHERE id= " + std::to_string(id)});
}

} // namespace

std::string FormatTimestamp(DateTime t)
{
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(us / 1000000);
    long frac = static_cast<long>(us % 1000000);
    if (frac < 0) {
        frac += 1000000;
        --secs;
    }
    std::tm tm{};
    localtime_r(&secs, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%06ld", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, frac);
    return buf;
}

DateTime ParseTimestamp(const std::string& text)
{
    std::tm tm{};
    int year = 0, mon = 0, day = 0, hour = 0, min = 0, sec = 0, n = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%n", &year, &mon, &day, &hour, &min, &sec, &n) < 6)
        throw VelnorError("Invalid timestamp '" + text + "'");
    long micros = 0;
    if (text.size() > static_cast<std::size_t>(n) && text[static_cast<std::size_t>(n)] == '.') {
        std::string digits = text.substr(static_cast<std::size_t>(n) + 1, 6);
        while (!digits.empty() && (digits.back() < '0' || digits.back() > '9'))
            digits.pop_back();
        digits.resize(6, '0');
        micros = std::stol(digits);
    }
    tm.tm_year = year - 1900;
    tm.tm_mon = mon - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = min;
    tm.tm_sec = sec;
    tm.tm_isdst = -1;
    const std::time_t secs = std::mktime(&tm);
    return std::chrono::system_clock::from_time_t(secs) + std::chrono::microseconds(micros);
}

ModelJoin getSQL(TKyModel model)
{
    if (model == KyVelnor)
        return {4, "wn_scenarios INNER JOIN (", ") ON wn_scenarios.id = scenarios.id"};
    if (model <= KyModel0 || model >= KyUnknown)
        return {0, "", ""};
    // Other models' side tables are theirs to name: list their scenarios
    // without the side-table filter.
    return {static_cast<int>(model) + 1, "", ""};
}

TKyModel getModelFromProjectID(Connection& conn, int projectID)
{
    const pqxx::result r = conn.Tx().exec(Lines({"SELECT * FROM projects", "WHERE projects.id= " + std::to_string(projectID)}));
    if (r.empty())
        return KyUnknown;
    const int number = r[0]["model"].as<int>();
    if (number < 1 || number > 10)
        throw VelnorError("Internal error: model number " + std::to_string(number) + " out of range");
    return static_cast<TKyModel>(number - 1);
}

// --- TKyProject ---------------------------------------------------------------

int TKyProject::getNewID(Connection& conn)
{
    return getNewIDseq(conn, "projects_id");
}

int TKyProject::KySaveProject(Connection& conn) const
{
    const int newId = getNewID(conn);
    const std::string columns =
        "descr, descr_en, short_descr, short_descr_en, creator, creation_date, report, report_en";
    const std::string values = "$2, $3, $4, $5, $6, $7, $8, $9";
    auto& tx = conn.Tx();
    if (model == KyUnknown) {
        tx.exec_params("INSERT INTO projects (id, " + columns + ") VALUES ($1, " + values + ")", newId,
                       conn.ToClient(descr), conn.ToClient(descr_en), conn.ToClient(short_descr),
                       conn.ToClient(short_descr_en), conn.ToClient(creator), FormatTimestamp(creation_date),
                       conn.ToClient(report), conn.ToClient(report_en));
    } else {
        tx.exec_params("INSERT INTO projects (id, " + columns + ", model) VALUES ($1, " + values + ", $10)",
                       newId, conn.ToClient(descr), conn.ToClient(descr_en), conn.ToClient(short_descr),
                       conn.ToClient(short_descr_en), conn.ToClient(creator), FormatTimestamp(creation_date),
                       conn.ToClient(report), conn.ToClient(report_en), static_cast<int>(model) + 1);
    }
    return newId;
}

void TKyProject::KyDeleteProject(Connection& conn, int projectID)
{
    try {
        conn.Exec(Lines({"DELETE FROM projects", "WHERE id= " + std::to_string(projectID)}));
    } catch (...) {
        conn.RollbackAndRethrow();
    }
    conn.Commit();
}

void TKyProject::KyGetProjectData(const Connection& conn, const pqxx::row& row)
{
    id = row["id"].as<int>();
    if (!row["model"].is_null()) {
        const int number = row["model"].as<int>();
        if (number >= 1 && number <= 10)
            model = static_cast<TKyModel>(number - 1);
    }
    descr = Text(conn, row, "descr");
    descr_en = Text(conn, row, "descr_en");
    short_descr = Text(conn, row, "short_descr");
    short_descr_en = Text(conn, row, "short_descr_en");
    creator = Text(conn, row, "creator");
    if (!row["creation_date"].is_null())
        creation_date = ParseTimestamp(row["creation_date"].c_str());
    report = Text(conn, row, "report");
    report_en = Text(conn, row, "report_en");
}

void TKyProject::KyLoadProject(Connection& conn)
{
    const pqxx::result r = conn.Tx().exec(SelectProjectById(id));
    if (r.empty())
        throw ENoRecordError("No project with ID '" + std::to_string(id) + "' found");
    KyGetProjectData(conn, r[0]);
}

// --- TKyScenario --------------------------------------------------------------

int TKyScenario::getNewID(Connection& conn)
{
    return getNewIDseq(conn, "scenarios_id");
}

bool TKyScenario::exists(Connection& conn) const
{
    return !conn.Tx().exec(Lines({"SELECT id FROM scenarios", "WHERE scenarios.id= " + std::to_string(id)})).empty();
}

int TKyScenario::KySaveScenario(Connection& conn, bool clearParentScenario)
{
    if (!project)
        throw VelnorError("No project");
    const bool hadStored = id >= 0 && exists(conn);
    if (hadStored)
        parent = id;
    id = getNewID(conn);
    last_user = conn.UserName();
    last_date = std::chrono::system_clock::now();
    const std::string columns = "id, project, descr, descr_en, short_descr, short_descr_en, last_user, "
                                "last_date, model_version, report, report_en";
    const std::string values = "$1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11";
    auto& tx = conn.Tx();
    auto insert = [&](const std::string& sql, auto... extra) {
        tx.exec_params(sql, id, project->id, conn.ToClient(descr), conn.ToClient(descr_en),
                       conn.ToClient(short_descr), conn.ToClient(short_descr_en), conn.ToClient(last_user),
                       FormatTimestamp(last_date), conn.ToClient(model_version), conn.ToClient(report),
                       conn.ToClient(report_en), extra...);
    };
    if (hadStored)
        insert("INSERT INTO scenarios (" + columns + ", parent) VALUES (" + values + ", $12)", parent);
    else
        insert("INSERT INTO scenarios (" + columns + ") VALUES (" + values + ")");
    if (clearParentScenario && hadStored)
        KyClearScenario(conn, parent, project->model, false);
    return id;
}

int TKyScenario::KySaveScenario(Connection& conn, bool saveProject, bool clearParentScenario)
{
    if (saveProject) {
        if (!project)
            throw VelnorError("No project");
        project->id = project->KySaveProject(conn);
    }
    return KySaveScenario(conn, clearParentScenario);
}

void TKyScenario::KyClearScenario(Connection& conn, int scenarioID, TKyModel model, bool commitTA)
{
    try {
        std::vector<int> gentities;
        for (const auto& row : conn.Tx().exec(
                 Lines({"SELECT gentity FROM gentities_scenarios", "WHERE scenario= " + std::to_string(scenarioID)})))
            gentities.push_back(row["gentity"].as<int>());
        if (model == KyVelnor)
            conn.Exec(Lines({"DELETE FROM wn_scenarios", "WHERE id= " + std::to_string(scenarioID)}));
        for (int g : gentities)
            conn.Exec(Lines({"DELETE FROM gentities", "WHERE id= " + std::to_string(g)}));
        if (commitTA)
            conn.Commit();
    } catch (...) {
        conn.RollbackAndRethrow();
    }
}

void TKyScenario::KyClearScenario(Connection& conn, bool commitTA) const
{
    for (int m = KyModel0; m < KyUnknown; ++m)
        KyClearScenario(conn, id, static_cast<TKyModel>(m), commitTA);
}

int TKyScenario::KyProjectID(Connection& conn) const
{
    const pqxx::result r = conn.Tx().exec(SelectScenarioById(id));
    if (r.empty())
        return 0;
    return r[0]["project"].as<int>();
}

void TKyScenario::KyGetScenarioData(const Connection& conn, const pqxx::row& row)
{
    id = row["id"].as<int>();
    parent = row["parent"].is_null() ? -1 : row["parent"].as<int>();
    descr = Text(conn, row, "descr");
    descr_en = Text(conn, row, "descr_en");
    short_descr = Text(conn, row, "short_descr");
    short_descr_en = Text(conn, row, "short_descr_en");
    last_user = Text(conn, row, "last_user");
    if (!row["last_date"].is_null())
        last_date = ParseTimestamp(row["last_date"].c_str());
    model_version = Text(conn, row, "model_version");
    report = Text(conn, row, "report");
    report_en = Text(conn, row, "report_en");
}

void TKyScenario::KyLoadScenario(Connection& conn)
{
    const pqxx::result r = conn.Tx().exec(SelectScenarioById(id));
    if (r.empty())
        throw ENoRecordError("No scenario with ID '" + std::to_string(id) + "' found");
    KyGetScenarioData(conn, r[0]);
    const int projectId = r[0]["project"].as<int>();
    TKyProject prj;
    const pqxx::result p = conn.Tx().exec(SelectProjectById(projectId));
    if (!p.empty())
        prj.KyGetProjectData(conn, p[0]);
    project = std::move(prj);
}

// --- Lists --------------------------------------------------------------------

void TScenariosList::Fill(Connection& conn, const std::string& sql, bool clearFirst)
{
    const pqxx::result r = conn.Tx().exec(sql);
    if (clearFirst)
        items_.clear();
    for (const auto& row : r) {
        auto s = std::make_shared<TKyScenario>();
        s->KyGetScenarioData(conn, row);
        items_.push_back(std::move(s));
    }
}

void TScenariosList::KyLoadScenarios(Connection& conn, TKyModel model, bool loadAll, bool clearFirst)
{
    const ModelJoin j = getSQL(model);
    Fill(conn,
         Lines({"SELECT * FROM ", loadAll ? "" : j.str1, "scenarios INNER JOIN (projects",
                "INNER JOIN models ON projects.model = models.id)", "ON scenarios.project = projects.id",
                loadAll ? "" : j.str2, "WHERE models.id= " + std::to_string(j.number),
                "ORDER BY scenarios.last_date DESC"}),
         clearFirst);
}

void TScenariosList::KyLoadScenarios(Connection& conn, int projectID, bool loadAll, bool clearFirst)
{
    ModelJoin j;
    if (!loadAll)
        j = getSQL(getModelFromProjectID(conn, projectID));
    Fill(conn,
         Lines({"SELECT * FROM ", loadAll ? "" : j.str1,
                "scenarios INNER JOIN projects ON scenarios.project = projects.id", loadAll ? "" : j.str2,
                "WHERE projects.id= " + std::to_string(projectID), "ORDER BY scenarios.last_date DESC"}),
         clearFirst);
}

std::shared_ptr<TKyScenario> TScenariosList::KyFindByName(const std::string& descr) const
{
    for (const auto& s : items_)
        if (s->short_descr == descr)
            return s;
    return nullptr;
}

std::shared_ptr<TKyScenario> TScenariosList::KyFindByName(Connection& conn, const std::string& descr, int prjID) const
{
    if (prjID <= 0)
        return KyFindByName(descr);
    for (const auto& s : items_)
        if (s->short_descr == descr && s->KyProjectID(conn) == prjID)
            return s;
    return nullptr;
}

void TProjectsList::KyLoadProjects(Connection& conn, TKyModel model, bool clearFirst)
{
    const int number = getSQL(model).number;
    const pqxx::result r = conn.Tx().exec(Lines({"SELECT * FROM ", "projects INNER JOIN models ON projects.model = models.id",
                                                 "WHERE models.id= " + std::to_string(number),
                                                 "ORDER BY projects.creation_date DESC"}));
    if (clearFirst)
        items_.clear();
    for (const auto& row : r) {
        auto p = std::make_shared<TKyProject>();
        p->KyGetProjectData(conn, row);
        items_.push_back(std::move(p));
    }
}

} // namespace velnor::db
