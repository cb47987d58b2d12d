#include "Fixture.h"

#include "core/Errors.h"

#include <limits>

using namespace velnor;

using WaterUserModel = CoreTest;

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
