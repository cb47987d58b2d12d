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
    reserve(other.items_.size());
    for (const auto& item : other.items_)
        items_.push_back(std::make_unique<TWaterUser>(*item));
    rebuildIndex();
}

WaterUserList& WaterUserList::operator=(const WaterUserList& other)
{
    if (this != &other) {
        WaterUserList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

WaterUserList::WaterUserList(WaterUserList&& other) noexcept
{
    *this = std::move(other);
}

WaterUserList& WaterUserList::operator=(WaterUserList&& other) noexcept
{
    if (this == &other)
        return *this;
    items_ = std::move(other.items_);
    seenId_ = std::move(other.seenId_);
    seenCat_ = std::move(other.seenCat_);
    written_ = std::move(other.written_);
    writtenList_ = std::move(other.writtenList_);
    idCount_ = std::move(other.idCount_);
    slot_ = std::move(other.slot_);
    liveTree_ = std::move(other.liveTree_);
    nextSlot_ = other.nextSlot_;
    lastAt_ = std::move(other.lastAt_);
    positionsStale_ = other.positionsStale_;
    staleLookups_ = other.staleLookups_;
    holders_ = std::move(other.holders_);
    emptyGroups_ = std::move(other.emptyGroups_);
    groupsStale_ = other.groupsStale_;
    other.clear();
    return *this;
}

TWaterUser& WaterUserList::append(TWaterUser user)
{
    const std::size_t at = items_.size();
    sync();
    const int slot = newSlot();
    items_.push_back(std::make_unique<TWaterUser>(std::move(user)));
    const TWaterUser& added = *items_.back();
    seenId_.push_back(added.Geo_id);
    seenCat_.push_back(added.Category);
    written_.push_back(0);
    slot_.push_back(slot);
    noteId(added.Geo_id, slot);
    if (added.Category == CatGroup)
        groupsStale_ = true;
    markWritten(at);
    return *items_.back();
}

void WaterUserList::erase(std::size_t i)
{
    sync();
    forgetId(seenId_[i], slot_[i]);
    for (std::size_t t = static_cast<std::size_t>(slot_[i]) + 1; t < liveTree_.size(); t += t & (~t + 1))
        --liveTree_[t];
    if (seenCat_[i] == CatGroup && !groupsStale_) {
        const TWaterUser* group = items_[i].get();
        dropMembers(*group);
        emptyGroups_.erase(std::remove(emptyGroups_.begin(), emptyGroups_.end(), group), emptyGroups_.end());
    }
    const auto at = static_cast<std::ptrdiff_t>(i);
    items_.erase(items_.begin() + at);
    seenId_.erase(seenId_.begin() + at);
    seenCat_.erase(seenCat_.begin() + at);
    written_.erase(written_.begin() + at);
    slot_.erase(slot_.begin() + at);
}

void WaterUserList::resize(std::size_t n)
{
    if (n < items_.size()) {
        items_.resize(n);
    } else {
        items_.reserve(n);
        while (items_.size() < n)
            items_.push_back(std::make_unique<TWaterUser>());
    }
    rebuildIndex();
}

void WaterUserList::reserve(std::size_t n)
{
    items_.reserve(n);
    seenId_.reserve(n);
    seenCat_.reserve(n);
    written_.reserve(n);
    slot_.reserve(n);
}

void WaterUserList::clear() noexcept
{
    items_.clear();
    seenId_.clear();
    seenCat_.clear();
    written_.clear();
    writtenList_.clear();
    idCount_.clear();
    slot_.clear();
    liveTree_.clear();
    nextSlot_ = 0;
    lastAt_.clear();
    positionsStale_ = false;
    staleLookups_ = 0;
    holders_.clear();
    emptyGroups_.clear();
    groupsStale_ = false;
}

int WaterUserList::largestId() const
{
    sync();
    return idCount_.empty() ? 0 : std::max(0, idCount_.rbegin()->first);
}

int WaterUserList::findLast(int id) const
{
    sync();
    if (positionsStale_) {
        // After deletions a few lookups scan the identifiers; more rebuild the index.
        if (++staleLookups_ <= 8) {
            for (std::size_t i = seenId_.size(); i-- > 0;)
                if (seenId_[i] == id)
                    return static_cast<int>(i);
            return -1;
        }
        lastAt_.clear();
        for (std::size_t i = 0; i < seenId_.size(); ++i)
            lastAt_[seenId_[i]] = slot_[i];
        positionsStale_ = false;
        staleLookups_ = 0;
    }
    const auto it = lastAt_.find(id);
    return it == lastAt_.end() ? -1 : positionOfSlot(it->second);
}

std::vector<TWaterUser*> WaterUserList::groupsHolding(int id) const
{
    sync();
    if (groupsStale_)
        rebuildGroups();
    std::vector<TWaterUser*> groups;
    const auto it = holders_.find(id);
    if (it != holders_.end())
        for (TWaterUser* g : it->second)
            if (std::find(groups.begin(), groups.end(), g) == groups.end())
                groups.push_back(g);
    return groups;
}

void WaterUserList::eraseWithMembership(std::size_t i)
{
    sync();
    if (groupsStale_)
        rebuildGroups();
    const TWaterUser& gone = *items_[i];
    const int goneId = gone.Geo_id;
    const double goneYear = gone.YearNeeds;
    const Months goneMonths = gone.TblMonthNeeds;
    erase(i);

    const std::vector<TWaterUser*> groups = groupsHolding(goneId);
    if (groups.empty())
        return;
    std::vector<TWaterUser*>& holders = holders_[goneId];
    for (TWaterUser* group : groups) {
        auto& members = group->WatConsRec;
        const auto member = std::find_if(members.begin(), members.end(),
                                         [goneId](const TWaterConsumptor& c) { return c.CnsmpId == goneId; });
        if (member == members.end())
            continue;
        members.erase(member);
        group->UnitsNum -= 1;
        group->YearNeeds -= goneYear;
        for (std::size_t m = 0; m < 12; ++m)
            group->TblMonthNeeds[m] -= goneMonths[m];
        holders.erase(std::find(holders.begin(), holders.end(), group));
        if (members.empty())
            emptyGroups_.push_back(group);
    }
    if (holders.empty())
        holders_.erase(goneId);
}

int WaterUserList::takeEmptyGroup() const
{
    sync();
    if (groupsStale_)
        rebuildGroups();
    return emptyGroups_.empty() ? -1 : positionOf(emptyGroups_.front());
}

void WaterUserList::markWritten(std::size_t i) const
{
    if (!written_[i]) {
        written_[i] = 1;
        writtenList_.push_back(i);
    }
}

void WaterUserList::sync() const
{
    for (const std::size_t i : writtenList_) {
        written_[i] = 0;
        const TWaterUser& user = *items_[i];
        if (user.Geo_id != seenId_[i]) {
            forgetId(seenId_[i], slot_[i]);
            noteId(user.Geo_id, slot_[i]);
            seenId_[i] = user.Geo_id;
        }
        // The members of a group written through a reference are not known.
        if (seenCat_[i] == CatGroup || user.Category == CatGroup)
            groupsStale_ = true;
        seenCat_[i] = user.Category;
    }
    writtenList_.clear();
}

void WaterUserList::rebuildIndex() const
{
    const std::size_t n = items_.size();
    seenId_.resize(n);
    seenCat_.resize(n);
    written_.assign(n, 0);
    writtenList_.clear();
    idCount_.clear();
    for (std::size_t i = 0; i < n; ++i) {
        seenId_[i] = items_[i]->Geo_id;
        seenCat_[i] = items_[i]->Category;
        ++idCount_[seenId_[i]];
    }
    renumberSlots();
    groupsStale_ = true;
}

void WaterUserList::rebuildGroups() const
{
    holders_.clear();
    emptyGroups_.clear();
    for (const auto& item : items_) {
        if (item->Category != CatGroup)
            continue;
        addMembers(*item);
        if (item->WatConsRec.empty())
            emptyGroups_.push_back(item.get());
    }
    groupsStale_ = false;
}

void WaterUserList::forgetId(int id, int slot) const
{
    const auto count = idCount_.find(id);
    const bool last = --count->second == 0;
    if (last)
        idCount_.erase(count);
    if (positionsStale_)
        return;
    const auto it = lastAt_.find(id);
    if (it == lastAt_.end() || it->second != slot)
        return;
    if (last)
        lastAt_.erase(it);
    else
        positionsStale_ = true; // an earlier record has it too
}

void WaterUserList::noteId(int id, int slot) const
{
    ++idCount_[id];
    if (positionsStale_)
        return;
    const auto [it, added] = lastAt_.try_emplace(id, slot);
    if (!added)
        it->second = std::max(it->second, slot);
}

int WaterUserList::newSlot() const
{
    if (static_cast<std::size_t>(nextSlot_) + 1 >= liveTree_.size())
        renumberSlots();
    const int slot = nextSlot_++;
    for (std::size_t t = static_cast<std::size_t>(slot) + 1; t < liveTree_.size(); t += t & (~t + 1))
        ++liveTree_[t];
    return slot;
}

// Slots 0 .. n-1 for the records in order, room for as many again, and the
// last slot of every identifier afresh.
void WaterUserList::renumberSlots() const
{
    const std::size_t n = items_.size();
    slot_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        slot_[i] = static_cast<int>(i);
    nextSlot_ = static_cast<int>(n);
    liveTree_.assign(2 * n + 1025, 0);
    for (std::size_t t = 1; t < liveTree_.size(); ++t) {
        if (t <= n)
            ++liveTree_[t];
        const std::size_t up = t + (t & (~t + 1));
        if (up < liveTree_.size())
            liveTree_[up] += liveTree_[t];
    }
    lastAt_.clear();
    for (std::size_t i = 0; i < n; ++i)
        lastAt_[seenId_[i]] = slot_[i];
    positionsStale_ = false;
    staleLookups_ = 0;
}

int WaterUserList::positionOfSlot(int slot) const
{
    int before = 0;
    for (std::size_t t = static_cast<std::size_t>(slot); t > 0; t -= t & (~t + 1))
        before += liveTree_[t];
    return before;
}

void WaterUserList::addMembers(const TWaterUser& group) const
{
    auto* g = const_cast<TWaterUser*>(&group);
    for (const TWaterConsumptor& c : group.WatConsRec)
        holders_[c.CnsmpId].push_back(g);
}

void WaterUserList::dropMembers(const TWaterUser& group) const
{
    for (const TWaterConsumptor& c : group.WatConsRec) {
        const auto it = holders_.find(c.CnsmpId);
        if (it == holders_.end())
            continue;
        auto& groups = it->second;
        const auto g = std::find(groups.begin(), groups.end(), &group);
        if (g != groups.end())
            groups.erase(g);
        if (groups.empty())
            holders_.erase(it);
    }
}

int WaterUserList::positionOf(const TWaterUser* user) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == user)
            return static_cast<int>(i);
    return -1;
}

int NewWUId()
{
    const int largest = WatUserRec.largestId();
    if (largest == std::numeric_limits<int>::max())
        throw VelnorError("No new water-user identifier: " + std::to_string(largest) + " is in use");
    return largest + 1;
}

int FindWatUsIndxId(int id)
{
    const int at = WatUserRec.findLast(id);
    return at < 0 ? NotFound : at;
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
    WatUserRec.eraseWithMembership(static_cast<std::size_t>(irec));
}

void DelEmptyGrp()
{
    // Deleting a group can empty another one that held the group's identifier;
    // the list remembers every group so emptied.
    for (int at = WatUserRec.takeEmptyGroup(); at >= 0; at = WatUserRec.takeEmptyGroup())
        DelRecordData(at);
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
