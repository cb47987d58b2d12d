#pragma once

#include "DataTables.h"
#include "Text.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace velnor {

// Water-user categories (values of TWaterUser::Category).
enum : int {
    CatWaterSupply = 1,
    CatFarming = 2,
    CatIndustry = 3,
    CatIrrigation = 4,
    CatGroup = -1,
};

// One kind of animal, industrial branch, crop or group member of a water user.
struct TWaterConsumptor {
    ShortString<100> CnsmpType;
    int CnsmpId = 0;
    int UnitsNum = 0;
    double yearneeds = 0;
    int Sem_day = 0;
    std::array<double, 8> TblKc{};
    Months TblIntake{};
    Months TblDisch{};
    Months TblConsp{};
};

using ConsumptorList = std::vector<TWaterConsumptor>;

// The fields of a water user that its fixed-size exchange form shares.
struct TWaterUserFields {
    int Category = 0;
    int Geo_id = 0;
    ShortString<120> Toponym;
    int UnitsNum = 0;
    int MethId = 0;
    double Latitude = 0;
    double Height = 0;
    double YearNeeds = 0;
    Months TblConsumpt{};
    Months TblMnthMaxT{};
    Months TblMnthMinT{};
    Months TblRelHum{};
    Months TblRelSun{};
    Months TblWindSp{};
    Months TblMonthNeeds{};
};

struct TWaterUser : TWaterUserFields {
    ConsumptorList WatConsRec;
};

// The list of water users of a scenario, in display order. Records are held
// by pointer so that deleting one moves pointers, not whole records.
//
// The list keeps an index of its identifiers (the count of each, the last
// position of each, and which groups hold which member) so that the largest
// identifier and lookups by identifier do not scan it. A record handed out for
// writing (operator[], back(), append(), a mutable iterator) is looked at again
// at the next lookup, so changes made through the reference before that lookup
// are seen; keep no reference to change a record's Geo_id, Category or members
// after a lookup.
class WaterUserList {
    using Storage = std::vector<std::unique_ptr<TWaterUser>>;

public:
    template <bool Const>
    class Iter {
        using Base = std::conditional_t<Const, Storage::const_iterator, Storage::iterator>;
        using Owner = std::conditional_t<Const, const WaterUserList, WaterUserList>;

    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = TWaterUser;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const TWaterUser&, TWaterUser&>;
        using pointer = std::conditional_t<Const, const TWaterUser*, TWaterUser*>;

        Iter() = default;
        Iter(Owner* owner, Base it) : owner_(owner), it_(it) {}
        reference operator*() const { return *touch(it_); }
        pointer operator->() const { return touch(it_); }
        reference operator[](difference_type n) const { return *touch(it_ + n); }
        Iter& operator++() { ++it_; return *this; }
        Iter operator++(int) { Iter t = *this; ++it_; return t; }
        Iter& operator--() { --it_; return *this; }
        Iter operator--(int) { Iter t = *this; --it_; return t; }
        Iter& operator+=(difference_type n) { it_ += n; return *this; }
        Iter& operator-=(difference_type n) { it_ -= n; return *this; }
        friend Iter operator+(Iter a, difference_type n) { return a += n; }
        friend Iter operator+(difference_type n, Iter a) { return a += n; }
        friend Iter operator-(Iter a, difference_type n) { return a -= n; }
        friend difference_type operator-(const Iter& a, const Iter& b) { return a.it_ - b.it_; }
        friend bool operator==(const Iter& a, const Iter& b) { return a.it_ == b.it_; }
        friend auto operator<=>(const Iter& a, const Iter& b) { return a.it_ <=> b.it_; }

    private:
        pointer touch(Base at) const
        {
            if constexpr (!Const)
                owner_->markWritten(static_cast<std::size_t>(at - owner_->items_.begin()));
            return at->get();
        }

        Owner* owner_ = nullptr;
        Base it_{};
    };
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    WaterUserList() = default;
    WaterUserList(const WaterUserList& other);
    WaterUserList& operator=(const WaterUserList& other);
    WaterUserList(WaterUserList&& other) noexcept;
    WaterUserList& operator=(WaterUserList&& other) noexcept;

    std::size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    TWaterUser& operator[](std::size_t i) { markWritten(i); return *items_[i]; }
    const TWaterUser& operator[](std::size_t i) const { return *items_[i]; }
    TWaterUser& back() { markWritten(items_.size() - 1); return *items_.back(); }
    const TWaterUser& back() const { return *items_.back(); }

    iterator begin() { return iterator(this, items_.begin()); }
    iterator end() { return iterator(this, items_.end()); }
    const_iterator begin() const { return const_iterator(this, items_.begin()); }
    const_iterator end() const { return const_iterator(this, items_.end()); }

    // Appends a record (an empty one by default) and returns it.
    TWaterUser& append(TWaterUser user = {});
    void erase(std::size_t i);
    // New entries are empty records; entries past n are released.
    void resize(std::size_t n);
    void reserve(std::size_t n);
    void clear() noexcept;

    // Record i for changing its needs only: not its Geo_id, Category or members.
    TWaterUser& needsOf(std::size_t i) { return *items_[i]; }

    // The largest Geo_id in use, or 0 when there is none (or all are below 0).
    int largestId() const;
    // Position of the last record with this Geo_id; -1 if none.
    int findLast(int id) const;
    // The groups holding member `id`, once per holding group; empty when none.
    std::vector<TWaterUser*> groupsHolding(int id) const;
    // Deletes record i and takes it out of the groups that hold it, lowering their
    // totals by its needs. Groups left empty are remembered for takeEmptyGroup().
    void eraseWithMembership(std::size_t i);
    // Position of a group without members, or -1 when there is none.
    int takeEmptyGroup() const;

private:
    void markWritten(std::size_t i) const;
    void sync() const;
    void rebuildIndex() const;
    void rebuildGroups() const;
    void forgetId(int id, int slot) const;
    void noteId(int id, int slot) const;
    int newSlot() const;
    void renumberSlots() const;
    int positionOfSlot(int slot) const;
    void addMembers(const TWaterUser& group) const;
    void dropMembers(const TWaterUser& group) const;
    int positionOf(const TWaterUser* user) const;

    Storage items_;
    // The Geo_id and Category of every record as last looked at.
    mutable std::vector<int> seenId_;
    mutable std::vector<int> seenCat_;
    // Records handed out for writing since the last look.
    mutable std::vector<char> written_;
    mutable std::vector<std::size_t> writtenList_;
    // Count of every identifier, for the largest.
    mutable std::map<int, int> idCount_;
    // Every record has a slot number that grows with its position and stays
    // when records before it go; a Fenwick tree over the slots counts the records
    // still there, which turns a slot into a position.
    mutable std::vector<int> slot_;
    mutable std::vector<int> liveTree_;
    mutable int nextSlot_ = 0;
    // Slot of the last record of every identifier; stale after the last of two
    // records with one identifier went or changed.
    mutable std::unordered_map<int, int> lastAt_;
    mutable bool positionsStale_ = false;
    mutable int staleLookups_ = 0;
    // Member identifier -> the groups holding it (a group once per occurrence),
    // and the groups known to be empty; stale after a group was written.
    mutable std::unordered_map<int, std::vector<TWaterUser*>> holders_;
    mutable std::vector<TWaterUser*> emptyGroups_;
    mutable bool groupsStale_ = true;
};

// The working scenario.
extern WaterUserList WatUserRec;
// Scratch list: the consumptors of the water user being created or edited.
extern ConsumptorList WatConsRec;

// One more than the largest Geo_id in WatUserRec (and 0); throws VelnorError when
// the largest is already the greatest integer.
int NewWUId();
// Index of the (last) water user with this Geo_id; NotFound if none.
int FindWatUsIndxId(int id);
// Whether a consumptor of the global WatConsRec has CnsmpId == id; index gets the
// first such position or -1.
bool Exist_cons(int id, int& index);

void CopyWatUserRec(const TWaterUser& from, TWaterUser& to);
// Throws VelnorError "CopyArrayWatUserRec <> Lengths" when the lengths differ.
void CopyArrayWatUserRec(const WaterUserList& from, WaterUserList& to);
// Copies min(from.size(), to.size()) consumptors; TblKc entry 7 is not copied.
void CopyArrayWatConsRec(const ConsumptorList& from, ConsumptorList& to);

// Deletes WatUserRec[irec] and takes it out of every group that holds it.
void DelRecordData(int irec);
// Deletes every group without members.
void DelEmptyGrp();
// Deletes consumptor irec of the global WatConsRec.
void DelConsRecord(int irec);

} // namespace velnor
