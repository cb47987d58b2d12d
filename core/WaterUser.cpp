#include "WaterUser.h"

#include "Errors.h"

#include <algorithm>
#include <limits>
#include <string>

namespace velnor {

WaterUserList WatUserRec;
ConsumptorList WatConsRec;

WaterUserList::WaterUserList(const WaterUserList& other)
{
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_)
        items_.push_back(std::make_unique<TWaterUser>(*item));
}

WaterUserList& WaterUserList::operator=(const WaterUserList& other)
{
    if (this != &other) {
        WaterUserList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TWaterUser& WaterUserList::append(TWaterUser user)
{
    items_.push_back(std::make_unique<TWaterUser>(std::move(user)));
    return *items_.back();
}

void WaterUserList::erase(std::size_t i)
{
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

void WaterUserList::resize(std::size_t n)
{
    if (n < items_.size()) {
        items_.resize(n);
        return;
    }
    items_.reserve(n);
    while (items_.size() < n)
        items_.push_back(std::make_unique<TWaterUser>());
}

int NewWUId()
{
    int largest = 0;
    for (const TWaterUser& user : WatUserRec)
        largest = std::max(largest, user.Geo_id);
    if (largest == std::numeric_limits<int>::max())
        throw VelnorError("No new water-user identifier: " + std::to_string(largest) + " is in use");
    return largest + 1;
}

int FindWatUsIndxId(int id)
{
    for (int i = static_cast<int>(WatUserRec.size()) - 1; i >= 0; --i)
        if (WatUserRec[static_cast<std::size_t>(i)].Geo_id == id)
            return i;
    return NotFound;
}

bool Exist_cons(int id, int& index)
{
    const auto it = std::find_if(WatConsRec.begin(), WatConsRec.end(),
                                 [id](const TWaterConsumptor& c) { return c.CnsmpId == id; });
    index = it == WatConsRec.end() ? -1 : static_cast<int>(it - WatConsRec.begin());
    return index >= 0;
}

void CopyWatUserRec(const TWaterUser& from, TWaterUser& to)
{
    if (&from == &to)
        return;
    static_cast<TWaterUserFields&>(to) = from;
    to.WatConsRec.resize(from.WatConsRec.size());
    CopyArrayWatConsRec(from.WatConsRec, to.WatConsRec);
}

void CopyArrayWatUserRec(const WaterUserList& from, WaterUserList& to)
{
    if (from.empty())
        return;
    if (from.size() != to.size())
        throw VelnorError("CopyArrayWatUserRec <> Lengths");
    for (std::size_t i = 0; i < from.size(); ++i)
        CopyWatUserRec(from[i], to[i]);
}

void CopyArrayWatConsRec(const ConsumptorList& from, ConsumptorList& to)
{
    if (&from == &to)
        return;
    const std::size_t n = std::min(from.size(), to.size());
    for (std::size_t i = 0; i < n; ++i) {
        const TWaterConsumptor& src = from[i];
        TWaterConsumptor& dst = to[i];
        dst.CnsmpType = src.CnsmpType;
        dst.CnsmpId = src.CnsmpId;
        dst.UnitsNum = src.UnitsNum;
        dst.yearneeds = src.yearneeds;
        dst.Sem_day = src.Sem_day;
        std::copy_n(src.TblKc.begin(), 7, dst.TblKc.begin());
        dst.TblIntake = src.TblIntake;
        dst.TblDisch = src.TblDisch;
        dst.TblConsp = src.TblConsp;
    }
}

void DelRecordData(int irec)
{
    if (irec < 0 || static_cast<std::size_t>(irec) >= WatUserRec.size())
        throw VelnorError("List index out of bounds (" + std::to_string(irec) + ")");
    const TWaterUser& gone = WatUserRec[static_cast<std::size_t>(irec)];
    const int goneId = gone.Geo_id;
    const double goneYear = gone.YearNeeds;
    const Months goneMonths = gone.TblMonthNeeds;
    WatUserRec.erase(static_cast<std::size_t>(irec));

    for (TWaterUser& group : WatUserRec) {
        if (group.Category != CatGroup)
            continue;
        auto& members = group.WatConsRec;
        const auto it = std::find_if(members.begin(), members.end(),
                                     [goneId](const TWaterConsumptor& c) { return c.CnsmpId == goneId; });
        if (it == members.end())
            continue;
        members.erase(it);
        group.UnitsNum -= 1;
        group.YearNeeds -= goneYear;
        for (std::size_t m = 0; m < 12; ++m)
            group.TblMonthNeeds[m] -= goneMonths[m];
    }
}

void DelEmptyGrp()
{
    // Deleting a group can empty another one only through a member that pointed at
    // the group's identifier, so the scan starts over after every deletion.
    std::size_t i = 0;
    while (i < WatUserRec.size()) {
        const TWaterUser& user = WatUserRec[i];
        if (user.Category == CatGroup && user.WatConsRec.empty()) {
            DelRecordData(static_cast<int>(i));
            i = 0;
        } else {
            ++i;
        }
    }
}

void DelConsRecord(int irec)
{
    if (WatConsRec.size() < 2) {
        WatConsRec.clear();
        return;
    }
    if (irec < 0 || static_cast<std::size_t>(irec) >= WatConsRec.size())
        throw VelnorError("List index out of bounds (" + std::to_string(irec) + ")");
    WatConsRec.erase(WatConsRec.begin() + irec);
}

} // namespace velnor
