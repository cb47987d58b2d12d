// Computes a generated national-scale scenario through velnor-cli's compute
// command and deletes half of it one user at a time, printing the times.
#include "cli/Commands.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
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

// 10,000 water users: blocks of 50 of every category, each followed by a group of the block.
json GenerateScenario(int total, int groupSize)
{
    static const char* const methods[] = {"penman-monteith", "mod-blaney-criddle", "blaney-criddle", "empirical"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> count(1, 5000);
    json users = json::array();
    int id = 0;
    std::vector<int> block;
    while (static_cast<int>(users.size()) < total) {
        if (static_cast<int>(block.size()) == groupSize) {
            users.push_back({{"category", "Group"}, {"id", ++id}, {"toponym", "Group"}, {"members", block}});
            block.clear();
            continue;
        }
        json u = {{"id", ++id}, {"toponym", "User " + std::to_string(id)}};
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

} // namespace

int main()
{
    StaticToDynamic();
    const int total = 10000;
    const auto path = std::filesystem::temp_directory_path() /
                      ("velnor-bench-scenario-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << GenerateScenario(total, 50).dump();

    std::ostringstream out, err;
    const auto t0 = std::chrono::steady_clock::now();
    const int status = cli::RunCompute({path.string()}, out, err);
    const auto t1 = std::chrono::steady_clock::now();
    std::filesystem::remove(path);
    if (status != 0) {
        std::cerr << err.str();
        return 1;
    }
    std::printf("compute: %zu water users in %.3f s (target < 2 s)\n", WatUserRec.size(), Seconds(t1 - t0));

    std::mt19937 rng(11);
    const std::size_t toDelete = 5000;
    std::size_t deleted = 0;
    const auto t2 = std::chrono::steady_clock::now();
    while (deleted < toDelete && !WatUserRec.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, WatUserRec.size() - 1);
        DelRecordData(static_cast<int>(pick(rng)));
        DelEmptyGrp();
        ++deleted;
    }
    const auto t3 = std::chrono::steady_clock::now();
    std::printf("delete: %zu water users one by one (DelRecordData + DelEmptyGrp) in %.3f s, %zu left (target < 2 s)\n",
                deleted, Seconds(t3 - t2), WatUserRec.size());

    // Linear in the number of members: four times the members, about four times the time.
    const double small = TimeLargeGroup(10000), large = TimeLargeGroup(40000);
    std::printf("group: 10000 members in %.3f s, 40000 in %.3f s, ratio %.1f (linear 4, quadratic 16)\n", small,
                large, large / small);
    return 0;
}
