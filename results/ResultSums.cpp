#include "results/ResultSums.h"

#include <algorithm>
#include <unordered_set>

namespace velnor {

namespace {

template <typename Pred>
Months SumWhere(const WaterUserList& users, Pred take)
{
    Months sum{};
    for (const TWaterUser& u : users)
        if (take(u))
            for (std::size_t m = 0; m < sum.size(); ++m)
                sum[m] += u.TblMonthNeeds[m];
    return sum;
}

} // namespace

Months TotalMonthNeeds(const WaterUserList& users)
{
    return SumWhere(users, [](const TWaterUser& u) { return u.Category != CatGroup; });
}

Months UserMonthNeeds(const WaterUserList& users, int geoId)
{
    return SumWhere(users, [geoId](const TWaterUser& u) { return u.Geo_id == geoId; });
}

Months CategoryMonthNeeds(const WaterUserList& users, int category)
{
    return SumWhere(users, [category](const TWaterUser& u) { return u.Category == category; });
}

std::vector<std::size_t> DistinctUsers(const WaterUserList& users)
{
    std::vector<std::size_t> out;
    std::unordered_set<int> seen;
    seen.reserve(users.size());
    for (std::size_t i = 0; i < users.size(); ++i)
        if (seen.insert(users[i].Geo_id).second)
            out.push_back(i);
    return out;
}

std::vector<int> CategoriesPresent(const WaterUserList& users)
{
    std::vector<int> out;
    for (const TWaterUser& u : users)
        if (u.Category != CatGroup && std::find(out.begin(), out.end(), u.Category) == out.end())
            out.push_back(u.Category);
    return out;
}

} // namespace velnor
