#pragma once

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <gtest/gtest.h>

// Every test starts from the built-in reference tables and an empty scenario.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        velnor::StaticToDynamic();
        velnor::WatUserRec.clear();
        velnor::WatConsRec.clear();
    }
    void TearDown() override
    {
        velnor::WatUserRec.clear();
        velnor::WatConsRec.clear();
    }

    // A water-supply user with constant consumption, appended and filled.
    static int AddTown(int id, int population, double litres = 120)
    {
        velnor::WatUserRec.append();
        const int irec = static_cast<int>(velnor::WatUserRec.size()) - 1;
        velnor::Months cons;
        cons.fill(litres);
        velnor::AddRecordSup(id, "Town " + std::to_string(id), population, cons, irec);
        return irec;
    }

    // A group of the given members, as the group editor stores it.
    static int AddGroup(int id, const std::vector<int>& members)
    {
        velnor::WatConsRec.clear();
        for (std::size_t k = 0; k < members.size(); ++k)
            velnor::AddExRecGrp(members[k], 1, static_cast<int>(k));
        velnor::WatUserRec.append();
        const int irec = static_cast<int>(velnor::WatUserRec.size()) - 1;
        velnor::ExToIntRec(velnor::CatGroup, "Group " + std::to_string(id), id, irec);
        return irec;
    }
};
