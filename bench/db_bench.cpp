// Saving and loading a scenario of 10,000 water users (all categories,
// irrigation users with 5 crops) against the database named by the PG*
// environment variables, and a COPY of the same rows for comparison.
// Usage: db_bench [NUMBER_OF_WATER_USERS]   (a server: see scripts/pg)
#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"
#include "db/Connection.h"
#include "db/Scenarios.h"
#include "db/WnScenario.h"
#include "BenchScenario.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace velnor;
using namespace velnor::db;
using velnor::bench::Generate;

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

TKyWnScenario NewScenario(Connection& conn, const char* name)
{
    TKyWnScenario scen;
    TKyProject prj;
    prj.short_descr = "db_bench";
    scen.project = prj;
    scen.short_descr = name;
    scen.KySaveScenario(conn, true, false);
    return scen;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    StaticToDynamic();
    Generate(n);
    std::size_t detailRows = 0;
    for (const TWaterUser& u : WatUserRec)
        detailRows += u.WatConsRec.size();
    std::printf("scenario: %zu records (%d water users, %zu consumptors)\n", WatUserRec.size(), n, detailRows);

    try {
        Connection conn(ConnectParams{});
        ApplySchema(conn);
        const WaterUserList generated = WatUserRec;

        // Save As as the program saves (COPY), into tables that may never have
        // been analysed, and Open right after it.
        auto t0 = std::chrono::steady_clock::now();
        TKyWnScenario scen;
        scen.SaveAsScenario(conn, WatUserRec, [&](TKyWnScenario& s) {
            s = NewScenario(conn, "copy");
            return true;
        });
        const double saveAs = Seconds(t0);

        t0 = std::chrono::steady_clock::now();
        TKyWnScenario loaded;
        loaded.LoadScenario(conn, scen.id, WatUserRec);
        const double load = Seconds(t0);

        // Save: a new version, the previous one cleared.
        t0 = std::chrono::steady_clock::now();
        scen.SaveScenario(conn, WatUserRec);
        const double save = Seconds(t0);

        // The same rows through multi-row INSERTs, in the same run.
        WaterUserList insertUsers = generated;
        t0 = std::chrono::steady_clock::now();
        TKyWnScenario insertScen = NewScenario(conn, "insert");
        SaveWnModelData(conn, insertScen.id, insertUsers, RowWriter::Insert);
        conn.Commit();
        const double insert = Seconds(t0);

        const long long rows = conn.Tx()
                                   .exec_params("SELECT (SELECT count(*) FROM wn_water_users WHERE scenario = $1)"
                                                " + (SELECT count(*) FROM wn_results r JOIN wn_water_users w"
                                                " ON r.water_user = w.id WHERE w.scenario = $1)",
                                                scen.id)[0][0]
                                   .as<long long>();
        const bool large = n >= 100000;
        std::printf("Save As (COPY):        %7.3f s   target < %s s\n", saveAs, large ? "15" : "1.5");
        std::printf("Save (COPY, clearing): %7.3f s   target < %s s   Save / Save As %.2f\n", save,
                    large ? "-" : "2", save / saveAs);
        std::printf("Open after first save: %7.3f s   target < %s s   (%zu records back; %lld user and result rows)\n",
                    load, large ? "5" : "0.5", WatUserRec.size(), rows);
        std::printf("the same rows by INSERT: %5.3f s   INSERT / COPY %.2f\n", insert, insert / saveAs);

        // Leave the database as it was.
        scen.project->KyDeleteProject(conn);
        insertScen.project->KyDeleteProject(conn);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "db_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
