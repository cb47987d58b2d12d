#include "MainFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>

using namespace velnor;
using namespace velnor::test;

namespace {

class GroupTest : public MainTest {
protected:
    void SetUp() override
    {
        MainTest::SetUp();
        load({MakeUser(CatWaterSupply, 1, "A", 0.25), MakeUser(CatFarming, 2, "B", 0.5, 1),
              MakeUser(CatIndustry, 3, "C", 1.0, 1), MakeGroup(4, "G", {1})});
        RefreshYrNeeds();
        main->refreshForm();
    }
    ui::TKyStringGrid& group() const { return *main->StrGrdGroup(); }
    std::vector<int> memberIds() const
    {
        std::vector<int> ids;
        for (const auto& c : WatConsRec)
            ids.push_back(c.CnsmpId);
        return ids;
    }
};

} // namespace

TEST_F(GroupTest, NewGroupOpensEmptyAndInsertAddsSelectedUsersOnce)
{
    main->SelGroup();
    EXPECT_EQ(main->groupListStatus(), app::gls_ready);
    EXPECT_EQ(main->grpName()->text(), QStringLiteral("new Group"));
    EXPECT_EQ(group().RowCount(), 1);
    EXPECT_EQ(group().Cells(0, 0), QStringLiteral("Category"));
    EXPECT_EQ(group().Cells(5, 0), QStringLiteral("Needs (hm3/y)"));

    selectListRows(1, 3);
    main->ToolBtnInsertClick();
    EXPECT_EQ(memberIds(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(group().RowCount(), 4);
    EXPECT_EQ(group().FixedRows(), 1);
    EXPECT_EQ(group().Cells(0, 2), QStringLiteral("Farming"));
    EXPECT_EQ(group().Cells(3, 3), QStringLiteral("C"));
    main->ToolBtnInsertClick();
    EXPECT_EQ(memberIds(), (std::vector<int>{1, 2, 3}));
}

TEST_F(GroupTest, InsertSkipsGroupsAndTheHeaderRowAndResetsTheName)
{
    main->SelGroup();
    main->grpName()->setText(QStringLiteral("typed"));
    main->StrGrdAllNeeds()->SelectAll(); // header row and the group G included
    main->ToolBtnInsertClick();
    EXPECT_EQ(memberIds(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(main->grpName()->text(), QStringLiteral("new Group"));
}

TEST_F(GroupTest, EnterStoresANewGroupWithTheSumOfItsMembers)
{
    main->SelGroup();
    selectListRows(2, 3);
    main->ToolBtnInsertClick();
    main->grpName()->setText(QStringLiteral("Coast"));
    main->ToolBtnEnterClick();
    EXPECT_EQ(main->groupListStatus(), app::gls_invisible);
    ASSERT_EQ(WatUserRec.size(), 5u);
    EXPECT_EQ(listRow(5).mid(0, 5), (QStringList{"Group (2)", "-1", "5", "Coast", "2"}));
    EXPECT_DOUBLE_EQ(WatUserRec[4].YearNeeds, 1.5);
    EXPECT_EQ(list().Cells(5, 5), QStringLiteral("1.500"));
    EXPECT_TRUE(main->scenarioChanged());
    EXPECT_TRUE(main->windowTitle().endsWith(QStringLiteral(" *")));
}

TEST_F(GroupTest, EditingAGroupFromTheListOpensThePanelWithItsMembers)
{
    main->setSelectedRec(3);
    main->mnEditClick(); // through the editing dispatch
    ASSERT_EQ(main->groupListStatus(), app::gls_ready);
    EXPECT_EQ(main->grpName()->text(), QStringLiteral("G"));
    EXPECT_EQ(memberIds(), (std::vector<int>{1}));
    EXPECT_EQ(group().Cells(3, 1), QStringLiteral("A"));
    // Menus and tool bar are off while the panel is open.
    for (QAction* a : main->menuBar()->actions())
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(button("btnWaterSupply")->isEnabled());
    EXPECT_FALSE(button("btnOpen")->isEnabled());
    main->refreshForm();
    EXPECT_FALSE(button("btnOpen")->isEnabled());

    selectListRows(2, 2);
    main->ToolBtnInsertClick();
    group().setSelection({0, 1, 5, 1});
    main->ToolBtnDeleteClick();
    EXPECT_EQ(memberIds(), (std::vector<int>{2}));
    main->ToolBtnEnterClick();
    ASSERT_EQ(WatUserRec.size(), 4u);
    EXPECT_EQ(WatUserRec[3].Geo_id, 4);
    EXPECT_EQ(WatUserRec[3].Toponym, "G");
    EXPECT_DOUBLE_EQ(WatUserRec[3].YearNeeds, 0.5);
    EXPECT_TRUE(button("btnOpen")->isEnabled());
    EXPECT_TRUE(action("mnDelete")->isEnabled());
}

TEST_F(GroupTest, EnterOnAGroupWithoutMembersDeletesIt)
{
    main->openGroupPanel(3);
    group().setSelection({0, 1, 5, 1});
    main->ToolBtnDeleteClick();
    EXPECT_TRUE(WatConsRec.empty());
    main->ToolBtnEnterClick();
    EXPECT_EQ(WatUserRec.size(), 3u);
    EXPECT_EQ(list().RowCount(), 4);
}

TEST_F(GroupTest, ExitLeavesTheStoredGroupAsItWas)
{
    main->openGroupPanel(3);
    selectListRows(1, 3);
    main->ToolBtnInsertClick();
    main->ToolButton2Click();
    EXPECT_EQ(main->groupListStatus(), app::gls_invisible);
    ASSERT_EQ(WatUserRec[3].WatConsRec.size(), 1u);
    EXPECT_DOUBLE_EQ(WatUserRec[3].YearNeeds, 0.25);
    EXPECT_FALSE(main->scenarioChanged());
}

TEST_F(GroupTest, GroupListShowsHm3WhileTheMainListShowsM3)
{
    WatUserRec.clear();
    load({MakeUser(CatWaterSupply, 1, "A", 0.012), MakeUser(CatWaterSupply, 2, "B", 0.0005)});
    EXPECT_EQ(list().Cells(5, 1), QStringLiteral("12000.000"));
    main->SelGroup();
    selectListRows(1, 2);
    main->ToolBtnInsertClick();
    EXPECT_EQ(group().Cells(5, 1), QStringLiteral("  0.012"));
    EXPECT_EQ(group().Cells(5, 2), QStringLiteral("  0.001"));
}

TEST_F(GroupTest, PanelReopensWithTheHeightTheSplitterGaveIt)
{
    main->resize(528, 500);
    main->show();
    QApplication::processEvents();
    EXPECT_EQ(main->StrGrdGroupHeight(), 130);
    auto* panel = main->findChild<QWidget*>(QStringLiteral("Panel2"));
    EXPECT_TRUE(panel->isHidden());
    main->SelGroup();
    QApplication::processEvents();
    EXPECT_EQ(panel->height(), 130);
    auto* splitter = main->findChild<QSplitter*>(QStringLiteral("Splitter1"));
    const int total = splitter->sizes()[0] + splitter->sizes()[1];
    splitter->setSizes({total - 200, 200});
    main->Splitter1Moved();
    EXPECT_EQ(main->StrGrdGroupHeight(), 200);
    main->ToolButton2Click();
    main->SelGroup();
    QApplication::processEvents();
    EXPECT_EQ(panel->height(), 200);
}
