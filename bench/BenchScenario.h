#pragma once
// The scenario the database benchmarks save and open.
#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <string>
#include <vector>

namespace velnor::bench {

// n water users, a quarter of each category, and a group per 100 users.
inline void Generate(int n)
{
    WatUserRec.clear();
    const GroupRefreshBatch batch;
    Months cons;
    cons.fill(150);
    std::vector<double> meteo;
    for (double v : {12.0, 26.0, 65.0, 70.0, 2.5})
        meteo.insert(meteo.end(), 12, v);
    for (int i = 0; i < n; ++i) {
        WatUserRec.append();
        const int irec = static_cast<int>(WatUserRec.size()) - 1;
        const std::string name = "User " + std::to_string(i + 1);
        WatConsRec.clear();
        switch (i % 4) {
        case 0:
            AddRecordSup(i + 1, name, 1000 + i, cons, irec);
            continue;
        case 1:
            for (int k = 0; k < 3; ++k)
                AddExRecFarm(1 + (i + k) % 7, 10 + k, k);
            ExToIntRec(CatFarming, name, i + 1, irec);
            break;
        case 2:
            for (int k = 0; k < 3; ++k)
                AddExRecInd(1 + (i + k) % 15, 1 + k, k);
            ExToIntRec(CatIndustry, name, i + 1, irec);
            break;
        default:
            for (int k = 0; k < 5; ++k)
                AddExRecIrig(meteo, 38, 0, 60 + 30 * k, MethPenmanMonteith, 1 + (i + k) % 50, 10 + k, k);
            AddMeteoData(meteo, 38, 0, MethPenmanMonteith, irec);
            ExToIntRec(CatIrrigation, name, i + 1, irec);
            break;
        }
    }
    for (int g = 0; g < n / 100; ++g) {
        WatConsRec.clear();
        for (int k = 0; k < 10; ++k)
            AddExRecGrp(g * 100 + k * 10 + 1, 1, k);
        WatUserRec.append();
        ExToIntRec(CatGroup, "Group " + std::to_string(g + 1), n + g + 1, static_cast<int>(WatUserRec.size()) - 1);
    }
}

} // namespace velnor::bench
