#pragma once

#include "core/WaterUser.h"

#include <vector>

namespace velnor {

// The monthly sums the results show, in hm3, read from the stored needs.

// All water users but groups (a group repeats its members' needs).
Months TotalMonthNeeds(const WaterUserList& users);
// The water users with this Geo_id.
Months UserMonthNeeds(const WaterUserList& users, int geoId);
// The water users of one category.
Months CategoryMonthNeeds(const WaterUserList& users, int category);

// The position of the first water user of each distinct Geo_id, in list
// order; groups included.
std::vector<std::size_t> DistinctUsers(const WaterUserList& users);

// The categories present, each once, in order of first appearance; no groups.
std::vector<int> CategoriesPresent(const WaterUserList& users);

} // namespace velnor
