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

        // Save as the program saves: multi-row INSERTs with bound parameters.
        auto t0 = std::chrono::steady_clock::now();
        TKyWnScenario scen;
        scen.SaveAsScenario(conn, WatUserRec, [&](TKyWnScenario& s) {
            s = NewScenario(conn, "insert");
            return true;
        });
        const double save = Seconds(t0);

        // The same rows through COPY, in the same run.
        WaterUserList copyUsers = generated;
        t0 = std::chrono::steady_clock::now();
        TKyWnScenario copyScen = NewScenario(conn, "copy");
        SaveWnModelData(conn, copyScen.id, copyUsers, RowWriter::Copy);
        conn.Commit();
        const double copy = Seconds(t0);

        t0 = std::chrono::steady_clock::now();
        TKyWnScenario loaded;
        loaded.LoadScenario(conn, scen.id, WatUserRec);
        const double load = Seconds(t0);

        const long long rows = conn.Tx()
                                   .exec_params("SELECT (SELECT count(*) FROM wn_water_users WHERE scenario = $1)"
                                                " + (SELECT count(*) FROM wn_results r JOIN wn_water_users w"
                                                " ON r.water_user = w.id WHERE w.scenario = $1)",
                                                scen.id)[0][0]
                                   .as<long long>();
        std::printf("save (INSERT):  %7.3f s\n", save);
        std::printf("save (COPY):    %7.3f s   INSERT/COPY ratio %.2f\n", copy, save / copy);
        std::printf("load:           %7.3f s   (%zu records back; %lld user and result rows)\n", load,
                    WatUserRec.size(), rows);

        // Leave the database as it was.
        scen.project->KyDeleteProject(conn);
        copyScen.project->KyDeleteProject(conn);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "db_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
