#include "Fixture.h"

#include "core/Errors.h"
#include "core/ExchangeFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace velnor;

using WaterUserModel = CoreTest;

namespace {

// What the list's index must agree with: the answers of a scan.
int ScannedNewId(const WaterUserList& users)
{
    int largest = 0;
    for (const TWaterUser& u : users)
        largest = std::max(largest, u.Geo_id);
    return largest + 1;
}

int ScannedIndex(const WaterUserList& users, int id)
{
    for (int i = static_cast<int>(users.size()) - 1; i >= 0; --i)
        if (users[static_cast<std::size_t>(i)].Geo_id == id)
            return i;
    return NotFound;
}

// Deletion by scanning every group, and empty groups deleted first to last.
void ScannedDelete(std::vector<TWaterUser>& users, std::size_t irec)
{
    const TWaterUser gone = users[irec];
    users.erase(users.begin() + static_cast<std::ptrdiff_t>(irec));
    for (TWaterUser& g : users) {
        if (g.Category != CatGroup)
            continue;
        const auto it = std::find_if(g.WatConsRec.begin(), g.WatConsRec.end(),
                                     [&](const TWaterConsumptor& c) { return c.CnsmpId == gone.Geo_id; });
        if (it == g.WatConsRec.end())
            continue;
        g.WatConsRec.erase(it);
        g.UnitsNum -= 1;
        g.YearNeeds -= gone.YearNeeds;
        for (std::size_t m = 0; m < 12; ++m)
            g.TblMonthNeeds[m] -= gone.TblMonthNeeds[m];
    }
    for (std::size_t i = 0; i < users.size();) {
        if (users[i].Category == CatGroup && users[i].WatConsRec.empty()) {
            ScannedDelete(users, i);
            i = 0;
        } else {
            ++i;
        }
    }
}

} // namespace

TEST_F(WaterUserModel, IdentifierIndexFollowsEveryChange)
{
    const auto expectExact = [](const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(NewWUId(), ScannedNewId(WatUserRec));
        for (int id = -3; id <= 1002; ++id)
            if (FindWatUsIndxId(id) != ScannedIndex(WatUserRec, id))
                ADD_FAILURE() << "FindWatUsIndxId(" << id << ")";
    };
    for (int id : {5, 1000, 3, 1000, 7})
        AddTown(id, 10);
    expectExact("adding");
    DelRecordData(1);
    expectExact("deleting one of two largest");
    EXPECT_EQ(NewWUId(), 1001);
    DelRecordData(FindWatUsIndxId(1000));
    expectExact("deleting the largest");
    EXPECT_EQ(NewWUId(), 8);
    WatUserRec[0] = TWaterUser{};
    WatUserRec[0].Geo_id = 900;
    expectExact("replacing a record");
    EXPECT_EQ(NewWUId(), 901);
    AddTown(1, 10, 80);
    AddRecordSup(2, "Town", 10, Months{}, 3); // the town that was 1 becomes 2
    expectExact("an edit changing the identifier");
    for (TWaterUser& u : WatUserRec)
        u.Geo_id -= 1;
    expectExact("identifiers changed through iterators");
    WatUserRec.back().Geo_id = 950;
    expectExact("the last record changed");
    WatUserRec.resize(2);
    expectExact("shrinking");
    WatUserRec.resize(4);
    expectExact("growing");
    const WaterUserList copy = WatUserRec;
    WatUserRec.clear();
    expectExact("clearing");
    EXPECT_EQ(NewWUId(), 1);
    WatUserRec = copy;
    expectExact("copying a list in");
    WatUserRec.clear();
    AddTown(40, 10);
    AddTown(12, 10);
    const std::string exchanged = SerializeExchangeData(WatUserRec);
    WatUserRec = copy;
    WatUserRec = ParseExchangeData(exchanged);
    expectExact("importing");
    EXPECT_EQ(NewWUId(), 41);
    WaterUserList loaded;
    loaded.append().Geo_id = 17;
    loaded.append().Geo_id = 4;
    WatUserRec = std::move(loaded);
    expectExact("a loaded list moved in");
    EXPECT_EQ(NewWUId(), 18);
    EXPECT_EQ(loaded.size(), 0u);
    loaded.append().Geo_id = 2;
    EXPECT_EQ(loaded.findLast(2), 0);
    EXPECT_EQ(loaded.largestId(), 2);
}

// Random additions, edits and deletions of users and groups: the index gives
// the answers of a scan, and deleting gives the groups that scanning all of them gives.
TEST_F(WaterUserModel, DeletionsMatchScanningEveryGroup)
{
    std::mt19937 rng(3);
    std::vector<TWaterUser> expected;
    for (int step = 0; step < 2500; ++step) { // enough additions to renumber the slots
        const int action = std::uniform_int_distribution<int>(0, 9)(rng);
        const bool haveUsers = !WatUserRec.empty();
        if (action < 4 || !haveUsers) {
            AddTown(std::uniform_int_distribution<int>(1, 80)(rng), 100 + step, 100 + step % 7);
        } else if (action < 6) {
            std::vector<int> members;
            for (int k = std::uniform_int_distribution<int>(0, 4)(rng); k >= 0; --k)
                members.push_back(WatUserRec[std::uniform_int_distribution<std::size_t>(0, WatUserRec.size() - 1)(rng)].Geo_id);
            std::sort(members.begin(), members.end());
            members.erase(std::unique(members.begin(), members.end()), members.end());
            AddGroup(NewWUId(), members);
        } else if (action == 6) {
            // An edit of a town keeps its identifier and changes its needs.
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, WatUserRec.size() - 1)(rng);
            if (WatUserRec[at].Category == CatWaterSupply)
                AddRecordSup(WatUserRec[at].Geo_id, "Town", 5 + step, Months{}, static_cast<int>(at));
        } else {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, WatUserRec.size() - 1)(rng);
            expected.assign(WatUserRec.begin(), WatUserRec.end());
            ScannedDelete(expected, at);
            DelRecordData(static_cast<int>(at));
            DelEmptyGrp();
            ASSERT_EQ(WatUserRec.size(), expected.size()) << "step " << step;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const TWaterUser& u = WatUserRec[i];
                ASSERT_EQ(u.Geo_id, expected[i].Geo_id) << "step " << step;
                ASSERT_EQ(u.WatConsRec.size(), expected[i].WatConsRec.size()) << "step " << step;
                for (std::size_t k = 0; k < u.WatConsRec.size(); ++k)
                    ASSERT_EQ(u.WatConsRec[k].CnsmpId, expected[i].WatConsRec[k].CnsmpId);
                ASSERT_EQ(u.UnitsNum, expected[i].UnitsNum);
                ASSERT_NEAR(u.YearNeeds, expected[i].YearNeeds, 1e-15);
            }
        }
        ASSERT_EQ(NewWUId(), ScannedNewId(WatUserRec)) << "step " << step;
        const int probe = std::uniform_int_distribution<int>(0, 90)(rng);
        ASSERT_EQ(FindWatUsIndxId(probe), ScannedIndex(WatUserRec, probe)) << "step " << step;
    }
}

TEST_F(WaterUserModel, NewIdentifiers)
{
    EXPECT_EQ(NewWUId(), 1);
    AddTown(3, 10);
    AddTown(7, 10);
    EXPECT_EQ(NewWUId(), 8);
    AddTown(8, 10);
    DelRecordData(FindWatUsIndxId(8));
    EXPECT_EQ(NewWUId(), 8);
    WatUserRec.clear();
    AddTown(-4, 10);
    EXPECT_EQ(NewWUId(), 1);
}

TEST_F(WaterUserModel, FindByIdentifierTakesTheLast)
{
    AddTown(5, 10);
    AddTown(5, 20);
    EXPECT_EQ(FindWatUsIndxId(5), 1);
    EXPECT_EQ(FindWatUsIndxId(6), NotFound);
}

TEST_F(WaterUserModel, ExistCons)
{
    int index = 42;
    EXPECT_FALSE(Exist_cons(1, index));
    EXPECT_EQ(index, -1);
    AddExRecGrp(4, 1, 0);
    AddExRecGrp(9, 1, 1);
    AddExRecGrp(9, 1, 2);
    EXPECT_TRUE(Exist_cons(9, index));
    EXPECT_EQ(index, 1);
}

TEST_F(WaterUserModel, ShortStringsAreCutToCharacters)
{
    WatUserRec.append();
    AddRecordSup(1, std::string(130, 'x'), 1, {}, 0);
    EXPECT_EQ(WatUserRec[0].Toponym.str(), std::string(120, 'x'));
    std::string greek;
    for (int i = 0; i < 130; ++i)
        greek += "\u03A9"; // two bytes each
    WatUserRec[0].Toponym = greek;
    EXPECT_EQ(CharCount(WatUserRec[0].Toponym.str()), 120u);
    TWaterConsumptor c;
    c.CnsmpType = std::string(110, 'y');
    EXPECT_EQ(c.CnsmpType.str().size(), 100u);
}

TEST_F(WaterUserModel, ConsumptorCopies)
{
    ConsumptorList from(3), to(2);
    for (int i = 0; i < 3; ++i) {
        from[static_cast<std::size_t>(i)].CnsmpId = i + 1;
        from[static_cast<std::size_t>(i)].TblKc.fill(i + 1);
    }
    CopyArrayWatConsRec(from, to);
    ASSERT_EQ(to.size(), 2u);
    EXPECT_EQ(to[1].CnsmpId, 2);
    EXPECT_EQ(to[1].TblKc[6], 2);
    EXPECT_EQ(to[1].TblKc[7], 0); // entry 7 is not copied
}

TEST_F(WaterUserModel, UserListCopies)
{
    AddTown(1, 10);
    WaterUserList other;
    EXPECT_THROW(CopyArrayWatUserRec(WatUserRec, other), VelnorError);
    other.resize(1);
    CopyArrayWatUserRec(WatUserRec, other);
    EXPECT_EQ(other[0].Toponym, WatUserRec[0].Toponym);
    EXPECT_EQ(other[0].TblMonthNeeds, WatUserRec[0].TblMonthNeeds);
    WaterUserList empty;
    EXPECT_NO_THROW(CopyArrayWatUserRec(empty, other));
}

TEST_F(WaterUserModel, DeletingTheOnlyUser)
{
    AddTown(1, 10);
    DelRecordData(0);
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_THROW(DelRecordData(0), VelnorError);
}

TEST_F(WaterUserModel, DeletingAMemberKeepsGroupsConsistent)
{
    AddTown(1, 10000);
    AddTown(2, 5000, 150);
    AddTown(3, 100);
    AddGroup(10, {1});       // only member: goes with it
    AddGroup(11, {3, 1, 2}); // keeps 3 and 2
    const TWaterUser deleted = WatUserRec[0];
    const TWaterUser before = WatUserRec[static_cast<std::size_t>(FindWatUsIndxId(11))];

    DelRecordData(0);
    DelEmptyGrp();

    EXPECT_EQ(FindWatUsIndxId(10), NotFound);
    const TWaterUser& g = WatUserRec[static_cast<std::size_t>(FindWatUsIndxId(11))];
    ASSERT_EQ(g.WatConsRec.size(), 2u);
    EXPECT_EQ(g.WatConsRec[0].CnsmpId, 3);
    EXPECT_EQ(g.WatConsRec[1].CnsmpId, 2);
    EXPECT_EQ(g.UnitsNum, before.UnitsNum - 1);
    EXPECT_DOUBLE_EQ(g.YearNeeds, before.YearNeeds - deleted.YearNeeds);
    for (std::size_t m = 0; m < 12; ++m)
        EXPECT_DOUBLE_EQ(g.TblMonthNeeds[m], before.TblMonthNeeds[m] - deleted.TblMonthNeeds[m]);
    EXPECT_EQ(WatUserRec.size(), 3u);
}

TEST_F(WaterUserModel, DeletingAGroupLeavesItsMembers)
{
    AddTown(1, 10);
    AddTown(2, 20);
    AddGroup(3, {1, 2});
    const WaterUserList before = WatUserRec;
    DelRecordData(2);
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].YearNeeds, before[0].YearNeeds);
    EXPECT_EQ(WatUserRec[1].UnitsNum, 20);
}

TEST_F(WaterUserModel, EmptyGroupsChainedThroughIdentifiers)
{
    // A group whose identifier a (damaged) second group lists as member: deleting
    // the first empty group empties the second, which goes too.
    AddTown(1, 10);
    AddGroup(5, {1});
    AddGroup(6, {5});
    WatUserRec[1].WatConsRec.clear();
    DelEmptyGrp();
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
}

TEST_F(WaterUserModel, DelConsRecord)
{
    AddExRecFarm(1, 1, 0);
    DelConsRecord(0);
    EXPECT_TRUE(WatConsRec.empty());
    for (int i = 0; i < 3; ++i)
        AddExRecFarm(i + 1, 1, i);
    DelConsRecord(1);
    ASSERT_EQ(WatConsRec.size(), 2u);
    EXPECT_EQ(WatConsRec[0].CnsmpId, 1);
    EXPECT_EQ(WatConsRec[1].CnsmpId, 3);
}

TEST_F(WaterUserModel, NoIdentifierBeyondTheLargestInteger)
{
    AddTown(std::numeric_limits<int>::max() - 1, 10);
    EXPECT_EQ(NewWUId(), std::numeric_limits<int>::max());
    AddTown(std::numeric_limits<int>::max(), 10);
    EXPECT_THROW(NewWUId(), VelnorError);
}
