#include "cli/DbCommand.h"

#include "cli/NeedsTable.h"
#include "core/Errors.h"
#include "core/ExchangeFile.h"
#include "core/WaterUser.h"
#include "db/Connection.h"
#include "db/Scenarios.h"
#include "db/WnScenario.h"

#include <pqxx/pqxx>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace velnor::cli {

namespace {

constexpr const char* Usage =
    "usage: velnor-cli db COMMAND [connection options]\n"
    "  init                                     create the schema and reference data if absent\n"
    "  projects                                 list the projects (CSV, newest first)\n"
    "  scenarios [--project NAME]               list the scenarios (CSV, newest first)\n"
    "  save FILE.bin --project NAME --scenario NAME [--description TEXT]\n"
    "                                           save an exchange file as a new scenario\n"
    "  save FILE.bin --replace ID               save an exchange file as a new version of ID\n"
    "  load ID [--export FILE.bin] [--unit hm3|m3]\n"
    "                                           open a scenario and print its needs\n"
    "connection options: --host H --port P --dbname D --user U --client-encoding E\n"
    "  (default: the PG* environment variables; password from PGPASSWORD or ~/.pgpass;\n"
    "   client encoding UTF8, or ISO_8859_7, ISO_8859_1, ISO_8859_5)\n";

class UsageError : public InputError {
public:
    using InputError::InputError;
};

struct Parsed {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

const std::set<std::string> ConnectionOptions = {"--host", "--port", "--dbname", "--user", "--client-encoding"};

Parsed Parse(const std::vector<std::string>& args, const std::set<std::string>& allowed)
{
    if (args.empty())
        throw UsageError("missing command");
    Parsed p;
    p.command = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            std::string name = a, value;
            const auto eq = a.find('=');
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
            } else {
                if (i + 1 >= args.size())
                    throw UsageError("option " + a + " needs a value");
                value = args[++i];
            }
            if (!allowed.count(name) && !ConnectionOptions.count(name))
                throw UsageError("unknown option " + name + " for '" + p.command + "'");
            p.options[name] = value;
        } else {
            p.positional.push_back(a);
        }
    }
    return p;
}

std::optional<std::string> Option(const Parsed& p, const std::string& name)
{
    const auto it = p.options.find(name);
    if (it == p.options.end())
        return std::nullopt;
    return it->second;
}

int ParseId(const std::string& text, const char* what)
{
    std::size_t pos = 0;
    int value = 0;
    try {
        value = std::stoi(text, &pos);
    } catch (const std::exception&) {
        pos = 0;
    }
    if (pos == 0 || pos != text.size())
        throw UsageError(std::string(what) + " must be an integer: '" + text + "'");
    return value;
}

db::ConnectParams ConnectParamsOf(const Parsed& p)
{
    db::ConnectParams c;
    c.host = Option(p, "--host").value_or("");
    c.port = Option(p, "--port").value_or("");
    c.dbname = Option(p, "--dbname").value_or("");
    c.user = Option(p, "--user").value_or("");
    c.clientEncoding = Option(p, "--client-encoding").value_or("UTF8");
    try {
        db::CodePageOfEncoding(c.clientEncoding); // refuse an unknown one before connecting
    } catch (const VelnorError& e) {
        throw UsageError(e.what());
    }
    return c;
}

std::string DateText(db::DateTime t)
{
    return db::FormatTimestamp(t).substr(0, 19);
}

void CheckPositional(const Parsed& p, std::size_t n)
{
    if (p.positional.size() != n)
        throw UsageError("'" + p.command + "' takes " + std::to_string(n) + " argument(s)");
}

int Init(const Parsed& p, std::ostream& out)
{
    CheckPositional(p, 0);
    db::Connection conn(ConnectParamsOf(p));
    db::ApplySchema(conn);
    out << "Schema hydro ready\n";
    return 0;
}

int Projects(const Parsed& p, std::ostream& out)
{
    CheckPositional(p, 0);
    db::Connection conn(ConnectParamsOf(p));
    db::TProjectsList list;
    list.KyLoadProjects(conn, db::KyVelnor, true);
    out << "id,name,description,creator,creation_date\n";
    for (const auto& prj : list)
        out << prj->id << ',' << CsvField(prj->short_descr) << ',' << CsvField(prj->descr) << ','
            << CsvField(prj->creator) << ',' << DateText(prj->creation_date) << '\n';
    return 0;
}

int Scenarios(const Parsed& p, std::ostream& out)
{
    CheckPositional(p, 0);
    db::Connection conn(ConnectParamsOf(p));
    db::TScenariosList list;
    if (const auto name = Option(p, "--project")) {
        // Names are compared as the client encoding stores them.
        const std::string stored = conn.ToClient(*name);
        db::TProjectsList projects;
        projects.KyLoadProjects(conn, db::KyVelnor, true);
        for (const auto& prj : projects)
            if (prj->short_descr == stored)
                list.KyLoadScenarios(conn, prj->id, false, false);
    } else {
        list.KyLoadScenarios(conn, db::KyVelnor, false, true);
    }
    // Several projects may share the name: newest save first over all of them.
    std::vector<std::shared_ptr<db::TKyScenario>> rows(list.begin(), list.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a->last_date > b->last_date; });
    out << "id,project,name,description,last_user,last_date,parent\n";
    for (const auto& s : rows)
        out << s->id << ',' << s->KyProjectID(conn) << ',' << CsvField(s->short_descr) << ','
            << CsvField(s->descr) << ',' << CsvField(s->last_user) << ',' << DateText(s->last_date) << ','
            << (s->parent >= 0 ? std::to_string(s->parent) : std::string()) << '\n';
    return 0;
}

int Save(const Parsed& p, std::ostream& out)
{
    CheckPositional(p, 1);
    const auto replace = Option(p, "--replace");
    const auto project = Option(p, "--project");
    const auto scenario = Option(p, "--scenario");
    if (replace && (project || scenario || Option(p, "--description")))
        throw UsageError("--replace cannot be combined with --project, --scenario or --description");
    if (!replace && (!project || !scenario))
        throw UsageError("save needs --project and --scenario, or --replace");
    const int replaceId = replace ? ParseId(*replace, "--replace") : -1;

    WaterUserList users = ReadExchangeFile(p.positional[0]);
    db::Connection conn(ConnectParamsOf(p));
    db::TKyWnScenario scen;
    if (replace) {
        scen.id = replaceId;
        scen.KyLoadScenario(conn);
        scen.SaveScenario(conn, users);
    } else {
        scen.SaveAsScenario(conn, users, [&](db::TKyWnScenario& s) {
            db::TProjectsList projects;
            projects.KyLoadProjects(conn, db::KyVelnor, true);
            bool newProject = true;
            const std::string stored = conn.ToClient(*project);
            for (const auto& prj : projects) {
                if (prj->short_descr == stored) {
                    s.project = *prj;
                    newProject = false;
                    break;
                }
            }
            if (newProject) {
                db::TKyProject prj;
                prj.model = db::KyVelnor;
                prj.short_descr = *project;
                prj.creator = conn.UserName();
                s.project = prj;
            }
            s.short_descr = *scenario;
            s.descr = Option(p, "--description").value_or("");
            s.KySaveScenario(conn, newProject, false);
            return true;
        });
    }
    out << "Saved " << users.size() << " water users as scenario " << scen.id << '\n';
    return 0;
}

int Load(const Parsed& p, std::ostream& out)
{
    CheckPositional(p, 1);
    const int id = ParseId(p.positional[0], "scenario ID");
    const std::string unit = Option(p, "--unit").value_or("hm3");
    if (unit != "hm3" && unit != "m3")
        throw UsageError("--unit must be hm3 or m3");
    db::Connection conn(ConnectParamsOf(p));
    if (!db::HoldsModelData(conn, id))
        throw InputError("No scenario with ID '" + std::to_string(id) + "' holds data of this model");
    db::TKyWnScenario scen;
    scen.LoadScenario(conn, id, WatUserRec);
    if (const auto file = Option(p, "--export"))
        WriteExchangeFile(*file, WatUserRec);
    WriteNeedsTable(out, WatUserRec, unit == "m3");
    return 0;
}

} // namespace

int RunDbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? std::string() : args[0];
        if (command == "init")
            return Init(Parse(args, {}), out);
        if (command == "projects")
            return Projects(Parse(args, {}), out);
        if (command == "scenarios")
            return Scenarios(Parse(args, {"--project"}), out);
        if (command == "save")
            return Save(Parse(args, {"--project", "--scenario", "--description", "--replace"}), out);
        if (command == "load")
            return Load(Parse(args, {"--export", "--unit"}), out);
        if (command == "--help" || command == "help") {
            out << Usage;
            return 0;
        }
        throw UsageError(command.empty() ? "missing command" : "unknown command '" + command + "'");
    } catch (const UsageError& e) {
        err << "velnor-cli db: " << e.what() << '\n' << Usage;
        return 2;
    } catch (const InputError& e) {
        err << "velnor-cli db: " << e.what() << '\n';
        return 2;
    } catch (const db::ENoRecordError& e) {
        err << "velnor-cli db: " << e.what() << '\n';
        return 2;
    } catch (const pqxx::failure& e) {
        err << "velnor-cli db: database error: " << e.what();
        return 1;
    } catch (const std::exception& e) {
        err << "velnor-cli db: " << e.what() << '\n';
        return 1;
    }
}

} // namespace velnor::cli
