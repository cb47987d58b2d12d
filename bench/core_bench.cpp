// Computes generated scenarios of 10,000 and 100,000 water users through
// velnor-cli's compute command, with and without identifiers, confirms one edit
// and deletes half of the larger one a user at a time, printing the times next
// to their targets and the growth from 10,000 to 100,000.
#include "cli/Commands.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <sstream>

#include <unistd.h>

using namespace velnor;
using nlohmann::json;

namespace {

json Months12(double v)
{
    return json::array({v, v, v, v, v, v, v, v, v, v, v, v});
}

json Meteo(int method, std::mt19937& rng)
{
    std::uniform_real_distribution<double> t(5, 25);
    json rows = json::array();
    for (int m = 0; m < 12; ++m) {
        const double tmin = t(rng);
        switch (method) {
        case 0: rows.push_back({tmin, tmin + 10, 65, 60, 2}); break;
        case 1: rows.push_back({tmin, 60, 70, 2}); break;
        case 2: rows.push_back({tmin}); break;
        default: rows.push_back({1 + m % 3}); break;
        }
    }
    return rows;
}

// Blocks of 50 of every category, each followed by a group of the block.
json GenerateScenario(int total, int groupSize, bool withIds)
{
    static const char* const methods[] = {"penman-monteith", "mod-blaney-criddle", "blaney-criddle", "empirical"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> count(1, 5000);
    json users = json::array();
    int id = 0;
    std::vector<int> block;
    while (static_cast<int>(users.size()) < total) {
        if (static_cast<int>(block.size()) == groupSize) {
            json g = {{"category", "Group"}, {"id", ++id}, {"toponym", "Group"}, {"members", block}};
            if (!withIds)
                g.erase("id");
            users.push_back(g);
            block.clear();
            continue;
        }
        json u = {{"id", ++id}, {"toponym", "User " + std::to_string(id)}};
        if (!withIds)
            u.erase("id"); // handed out in order by NewWUId, as the members expect
        switch (id % 4) {
        case 0:
            u["category"] = "Water Supply";
            u["population"] = count(rng);
            break;
        case 1:
            u["category"] = "Farming";
            u["animals"] = {{{"animal", 1 + id % 7}, {"count", count(rng)}},
                            {{"animal", 1 + (id + 3) % 7}, {"count", count(rng)}, {"consumption", Months12(40)}}};
            break;
        case 2:
            u["category"] = "Industry";
            u["branches"] = {{{"branch", 1 + id % 15}, {"units", 1 + id % 9}}};
            break;
        default: {
            const int method = (id / 4) % 4;
            u["category"] = "Irrigation";
            u["method"] = methods[method];
            u["latitude"] = 38.5;
            u["zone"] = 2;
            u["meteo"] = Meteo(method, rng);
            json crops = json::array();
            for (int k = 0; k < 5; ++k)
                crops.push_back({{"crop", 1 + (id + 11 * k) % 50}, {"area", count(rng)}, {"sowing_day", 1 + (id * 37 + k * 71) % 365}});
            u["crops"] = crops;
        }
        }
        users.push_back(u);
        block.push_back(id);
    }
    return {{"water_users", users}};
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Seconds compute takes for `members` towns and one group of them all.
double TimeLargeGroup(int members)
{
    json users = json::array();
    json ids = json::array();
    for (int id = 1; id <= members; ++id) {
        users.push_back({{"category", "Water Supply"}, {"id", id}, {"population", 100}});
        ids.push_back(id);
    }
    users.push_back({{"category", "Group"}, {"members", ids}});
    const auto path = std::filesystem::temp_directory_path() /
                      ("velnor-bench-group-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << json{{"water_users", users}}.dump();
    std::ostringstream out, err;
    const auto t0 = std::chrono::steady_clock::now();
    const int status = cli::RunCompute({path.string()}, out, err);
    const auto t1 = std::chrono::steady_clock::now();
    std::filesystem::remove(path);
    if (status != 0)
        std::cerr << err.str();
    return Seconds(t1 - t0);
}

// Seconds of one compute of a generated scenario; the model keeps the result.
double Compute(int total, bool withIds)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("velnor-bench-scenario-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << GenerateScenario(total, 50, withIds).dump();
    std::ostringstream out, err;
    const auto t0 = std::chrono::steady_clock::now();
    const int status = cli::RunCompute({path.string()}, out, err);
    const auto t1 = std::chrono::steady_clock::now();
    std::filesystem::remove(path);
    if (status != 0 || WatUserRec.size() != static_cast<std::size_t>(total)) {
        std::cerr << err.str();
        std::exit(1);
    }
    return Seconds(t1 - t0);
}

const char* Verdict(double value, double target)
{
    return value < target ? "ok" : "SLOW";
}

} // namespace

int main()
{
    StaticToDynamic();
    std::printf("compute (velnor-cli compute, groups of 50)      10,000      100,000   growth  target at 100,000\n");
    for (const bool withIds : {true, false}) {
        const double small = Compute(10000, withIds);
        const double large = Compute(100000, withIds);
        std::printf("  %-45s %7.3f s  %9.3f s  %6.1fx  < 2 s, ~10x  %s\n",
                    withIds ? "identifiers given" : "no identifiers (NewWUId)", small, large, large / small,
                    Verdict(large, 2));
    }

    // One edit confirmed: a town's population changes and its groups follow.
    int town = -1;
    for (std::size_t i = WatUserRec.size() / 2; i < WatUserRec.size() && town < 0; ++i)
        if (WatUserRec[i].Category == CatWaterSupply)
            town = static_cast<int>(i);
    std::vector<double> edits;
    for (int run = 0; run < 5; ++run) {
        const TWaterUser& u = WatUserRec[static_cast<std::size_t>(town)];
        const auto t0 = std::chrono::steady_clock::now();
        AddRecordSup(u.Geo_id, u.Toponym.str(), u.UnitsNum + 1, u.TblConsumpt, town);
        edits.push_back(Seconds(std::chrono::steady_clock::now() - t0) * 1000);
    }
    std::sort(edits.begin(), edits.end());
    std::printf("one edit confirmed in %zu users (AddRecordSup + group totals), median of 5: %.2f ms"
                "   target < 100 ms  %s\n",
                WatUserRec.size(), edits[2], Verdict(edits[2], 100));

    // The floor of deleting from a contiguous list: erasing pointers at the same
    // positions from a plain vector.
    std::vector<std::unique_ptr<int>> plain;
    for (std::size_t i = 0; i < WatUserRec.size(); ++i)
        plain.push_back(std::make_unique<int>(0));
    std::mt19937 rngPlain(11);
    const auto tp = std::chrono::steady_clock::now();
    for (std::size_t k = 0, n = plain.size() / 2; k < n; ++k)
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(
                                        std::uniform_int_distribution<std::size_t>(0, plain.size() - 1)(rngPlain)));
    const double floor = Seconds(std::chrono::steady_clock::now() - tp);

    std::mt19937 rng(11);
    const std::size_t toDelete = WatUserRec.size() / 2;
    std::size_t deleted = 0;
    const auto t2 = std::chrono::steady_clock::now();
    while (deleted < toDelete && !WatUserRec.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, WatUserRec.size() - 1);
        DelRecordData(static_cast<int>(pick(rng)));
        DelEmptyGrp();
        ++deleted;
    }
    const double del = Seconds(std::chrono::steady_clock::now() - t2);
    std::printf("delete %zu users one by one (DelRecordData + DelEmptyGrp): %.3f s, %zu left   target < 1 s  %s\n"
                "  the same erasures from a plain vector of pointers: %.3f s (ratio %.1f)\n",
                deleted, del, WatUserRec.size(), Verdict(del, 1), floor, del / floor);

    // Deleting by identifier, as the main window deletes a selection.
    std::vector<int> ids;
    for (std::size_t i = 0; i < WatUserRec.size() && ids.size() < 20000; i += 2)
        ids.push_back(WatUserRec[i].Geo_id);
    const auto t4 = std::chrono::steady_clock::now();
    for (const int id : ids) {
        const int at = FindWatUsIndxId(id);
        if (at == NotFound)
            continue;
        DelRecordData(at);
        DelEmptyGrp();
    }
    const double sel = Seconds(std::chrono::steady_clock::now() - t4);
    std::printf("delete %zu selected users by identifier (FindWatUsIndxId + DelRecordData + DelEmptyGrp): %.3f s,"
                " %zu left\n", ids.size(), sel, WatUserRec.size());
    // Linear in the number of members: four times the members, about four times the time.
    const double small = TimeLargeGroup(10000), large = TimeLargeGroup(40000);
    std::printf("group: 10000 members in %.3f s, 40000 in %.3f s, ratio %.1f (linear 4, quadratic 16)\n", small,
                large, large / small);
    return 0;
}
