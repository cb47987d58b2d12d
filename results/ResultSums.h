#pragma once

#include "core/WaterUser.h"

#include <string>
#include <vector>

namespace velnor {

// The monthly sums the results show, in hm3, read from the stored needs.

// All water users but groups (a group repeats its members' needs).
Months TotalMonthNeeds(const WaterUserList& users);
// The water users with this Geo_id.
Months UserMonthNeeds(const WaterUserList& users, int geoId);
// The water users of one category.
Months CategoryMonthNeeds(const WaterUserList& users, int category);

// One entry per distinct Geo_id, in list order, named by the first water user
// with that identifier; groups included.
struct UserEntry {
    int Geo_id = 0;
    std::string Toponym;
};
std::vector<UserEntry> DistinctUsers(const WaterUserList& users);

// The categories present, each once, in order of first appearance; no groups.
std::vector<int> CategoriesPresent(const WaterUserList& users);

} // namespace velnor
