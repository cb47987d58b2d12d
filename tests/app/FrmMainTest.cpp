#include "MainFixture.h"

#include "app/FrmPref.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace velnor;
using namespace velnor::test;

namespace {
const char* const kDisabledWhenEmpty[] = {"mnNew", "mnSave", "mnSaveAs", "mnExport", "mnEdit",
                                          "mnDelete", "mnGroup", "mnResults"};
const char* const kAlwaysAvailable[] = {"mnOpen", "mnImport", "mnExit", "mnWaterSupply", "mnFarming",
                                        "mnIndustry", "mnIrrigation", "mnVelnorHelp", "mnAbout"};
} // namespace

TEST_F(MainTest, EmptyScenarioHidesTheListAndDisablesWhatNeedsUsers)
{
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR"));
    EXPECT_EQ(main->formCaption(), QStringLiteral("Velnor"));
    EXPECT_EQ(main->selectedRec(), -1);
    EXPECT_EQ(main->volumeUnit(), QStringLiteral("hm3"));
    main->refreshForm();
    EXPECT_TRUE(list().isHidden());
    auto* label = main->findChild<QLabel*>(QStringLiteral("LblNoWaterUsers"));
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->text(), QStringLiteral("No water users defined"));
    EXPECT_EQ(main->volumeUnit(), QStringLiteral("hm3"));
    for (const char* name : kDisabledWhenEmpty)
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    for (const char* name : kAlwaysAvailable)
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    for (const char* name : {"btnNew", "btnSave", "btnGroup", "btnResults"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char* name : {"btnOpen", "btnWaterSupply", "btnFarming", "btnIndustry", "btnIrrigation"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;

    load({MakeUser(CatWaterSupply, 1, "Town", 1.0)});
    for (const char* name : kDisabledWhenEmpty)
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    for (const char* name : {"btnNew", "btnSave", "btnGroup", "btnResults"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    EXPECT_FALSE(list().isHidden());
    EXPECT_TRUE(label->isHidden());
}

TEST_F(MainTest, ListRowsShowCategoryCountsUnitsAndNeeds)
{
    load({MakeUser(CatWaterSupply, 1, "Town", 0.5, 0, 1200), MakeUser(CatFarming, 2, "Farm", 0.25, 3, 40),
          MakeUser(CatIndustry, 3, "Mill", 0.125, 1, 2), MakeUser(CatIrrigation, 4, "Plain", 2.0, 2, 300),
          MakeGroup(5, "Both", {1, 2})});
    EXPECT_EQ(listRow(0), (QStringList{"Category", "Category id", "WaterUser id", "Toponym", "Units",
                                       "Needs (hm3/y)"}));
    EXPECT_EQ(listRow(1), (QStringList{"Water Supply", "1", "1", "Town", "1200", "0.500"}));
    EXPECT_EQ(listRow(2), (QStringList{"Farming (3)", "2", "2", "Farm", "40", "0.250"}));
    EXPECT_EQ(listRow(3), (QStringList{"Industry (1)", "3", "3", "Mill", "2", "0.125"}));
    EXPECT_EQ(listRow(4), (QStringList{"Irrigation (2)", "4", "4", "Plain", "300", "2.000"}));
    EXPECT_EQ(listRow(5).mid(0, 5), (QStringList{"Group (2)", "-1", "5", "Both", "2"}));
    EXPECT_EQ(list().RowCount(), 6);
    EXPECT_EQ(list().FixedRows(), 1);
    EXPECT_EQ(list().FitColToWidth(), 3);
    const int widths[] = {78, 0, 0, 0, 65, 85};
    for (int c : {0, 1, 2, 4, 5})
        EXPECT_EQ(list().ColWidths(c), widths[c]) << c;
}

TEST_F(MainTest, VolumeUnitFollowsTheTotalOfTheNonGroupUsers)
{
    struct Case {
        std::vector<double> needs;
        bool withGroup;
        const char* unit;
        const char* header;
        const char* first;
    } cases[] = {
        {{0.012, 0.038}, false, "m3", "Needs (m3/y)", "12000.000"},
        {{0.012, 0.088}, false, "hm3", "Needs (hm3/y)", "0.012"},
        {{0.012, 0.038}, true, "m3", "Needs (m3/y)", "12000.000"}, // the group's 0.05 is not counted
        {{0.0004}, false, "m3", "Needs (m3/y)", "400.000"},
    };
    for (const Case& c : cases) {
        WatUserRec.clear();
        std::vector<TWaterUser> users;
        int id = 0;
        for (double n : c.needs)
            users.push_back(MakeUser(CatWaterSupply, ++id, "u", n));
        if (c.withGroup) {
            TWaterUser g = MakeGroup(++id, "g", {1, 2});
            g.YearNeeds = 0.05;
            users.push_back(g);
        }
        load(std::move(users));
        EXPECT_EQ(main->volumeUnit(), QString::fromLatin1(c.unit));
        EXPECT_EQ(main->FormPref()->unit(), QString::fromLatin1(c.unit));
        EXPECT_EQ(list().Cells(5, 0), QString::fromLatin1(c.header));
        EXPECT_EQ(list().Cells(5, 1), QString::fromLatin1(c.first));
    }
}

TEST_F(MainTest, NeedsUseTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::German));
    load({MakeUser(CatWaterSupply, 1, "Town", 1.5)});
    EXPECT_EQ(list().Cells(5, 1), QStringLiteral("1,500"));
    QLocale::setDefault(QLocale::c());
}

TEST_F(MainTest, CategoryColumnKeepsItsColourAndBlackTextInSelectedRows)
{
    load({MakeUser(CatWaterSupply, 1, "Town", 1), MakeUser(CatIrrigation, 2, "Plain", 1, 1)});
    main->resize(528, 300);
    main->show();
    QApplication::processEvents();
    selectListRows(1, 2);
    QApplication::processEvents();
    const QImage image = list().viewport()->grab().toImage();
    const int y1 = list().rowViewportPosition(0) + 3;
    const int y2 = list().rowViewportPosition(1) + 3;
    const int xText = list().columnViewportPosition(3) + 40; // beyond the toponym's text
    EXPECT_EQ(QColor(image.pixel(70, y1)), QColor(136, 255, 255));
    EXPECT_EQ(QColor(image.pixel(70, y2)), QColor(100, 200, 100));
    EXPECT_EQ(QColor(image.pixel(xText, y1)), QColor(0, 64, 128)); // selection colour elsewhere
    EXPECT_EQ(*app::CategoryColor(CatGroup), QColor(255, 128, 128));
    EXPECT_EQ(*app::CategoryColor(CatFarming), QColor(255, 255, 170));
    EXPECT_EQ(*app::CategoryColor(CatIndustry), QColor(194, 172, 126));
    EXPECT_FALSE(app::CategoryColor(0).has_value());
}

TEST_F(MainTest, CaptionShowsTheNameAndTheChangedMark)
{
    main->SetScenarioChanged(false);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Velnor"));
    main->SetScenarioChanged(true);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Velnor *"));
    main->SetFormCaption(QStringLiteral("north.bin"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("north.bin *"));
    main->SetScenarioChanged(false);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("north.bin"));
}

TEST_F(MainTest, DeleteRemovesTheSelectedRowsAfterConfirmation)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1), MakeUser(CatWaterSupply, 2, "B", 1), MakeUser(CatWaterSupply, 3, "C", 1),
          MakeUser(CatWaterSupply, 4, "D", 1), MakeUser(CatWaterSupply, 5, "E", 1)});
    selectListRows(2, 4);
    prompter.answers = {ui::Answer::No};
    main->mnDeleteClick();
    EXPECT_EQ(WatUserRec.size(), 5u);
    EXPECT_EQ(prompter.questions(), QStringList{"Delete selected records!"});
    EXPECT_FALSE(main->scenarioChanged());

    prompter.answers = {ui::Answer::Yes};
    main->mnDeleteClick();
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].Toponym, "A");
    EXPECT_EQ(WatUserRec[1].Toponym, "E");
    EXPECT_TRUE(main->scenarioChanged());
    EXPECT_EQ(list().RowCount(), 3);
}

TEST_F(MainTest, DeletingTheLastMemberOfAGroupAboveTheSelectionDeletesTheRightUsers)
{
    // The group's only member is C; deleting C removes the group in front of
    // B, which must still be the next user deleted.
    load({MakeGroup(10, "G", {3}), MakeUser(CatWaterSupply, 1, "A", 1), MakeUser(CatWaterSupply, 2, "B", 1),
          MakeUser(CatWaterSupply, 3, "C", 1), MakeUser(CatWaterSupply, 4, "D", 1)});
    selectListRows(3, 4);
    prompter.defaultAnswer = ui::Answer::Yes;
    main->mnDeleteClick();
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].Toponym, "A");
    EXPECT_EQ(WatUserRec[1].Toponym, "D");
}

TEST_F(MainTest, DeletingAGroupsOnlyMemberRemovesTheGroup)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1), MakeUser(CatWaterSupply, 2, "B", 1), MakeGroup(3, "G", {1})});
    selectListRows(1, 1);
    prompter.defaultAnswer = ui::Answer::Yes;
    main->mnDeleteClick();
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Toponym, "B");
}

TEST_F(MainTest, MousePressesSetSelectedRecOnlyWhileTheGroupPanelIsClosed)
{
    std::vector<int> edited;
    main->setEditCommands({{}, {}, {}, {}, [&](int rec) { edited.push_back(rec); }});
    load({MakeUser(CatWaterSupply, 1, "A", 1), MakeUser(CatWaterSupply, 2, "B", 1)});
    main->resize(528, 400);
    main->show();
    QApplication::processEvents();
    const QPoint origin = list().viewport()->pos();
    main->StrGrdAllNeedsMouseDown(Qt::LeftButton, origin.x() + 100, origin.y() + 18 + 4);
    EXPECT_EQ(main->selectedRec(), 1);
    main->mnEditClick();
    main->StrGrdAllNeedsDblClick();
    EXPECT_EQ(edited, (std::vector<int>{1, 1}));

    main->StrGrdAllNeedsMouseDown(Qt::RightButton, origin.x() + 100, origin.y() - 6); // header line
    EXPECT_EQ(main->selectedRec(), -1);
    main->mnEditClick();
    main->StrGrdAllNeedsMouseDown(Qt::LeftButton, origin.x() + 100, origin.y() + 200); // below the rows
    EXPECT_EQ(main->selectedRec(), -2);
    main->StrGrdAllNeedsDblClick();
    EXPECT_EQ(edited.size(), 2u);

    main->setSelectedRec(0);
    main->SelGroup();
    main->StrGrdAllNeedsMouseDown(Qt::LeftButton, origin.x() + 100, origin.y() + 4);
    EXPECT_EQ(main->selectedRec(), -1); // the new group's
    main->StrGrdAllNeedsDblClick();
    EXPECT_EQ(edited.size(), 2u);

    // A real click goes through the same handler.
    main->ToolButton2Click();
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, QPoint(100, 4));
    EXPECT_EQ(main->selectedRec(), 0);
}

TEST_F(MainTest, RebuildKeepsSelectionAndSelectedRec)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1), MakeUser(CatWaterSupply, 2, "B", 1), MakeUser(CatWaterSupply, 3, "C", 1)});
    selectListRows(2, 3);
    main->setSelectedRec(2);
    main->refreshForm();
    EXPECT_EQ(list().Selection(), (ui::TGridRect{0, 2, 5, 3}));
    EXPECT_EQ(main->selectedRec(), 2);
}

TEST_F(MainTest, NewAsksWhenChangedAndKeepsTheMark)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1)});
    main->SelNew();
    EXPECT_TRUE(WatUserRec.empty()) << "an unchanged scenario is dropped without asking";
    EXPECT_TRUE(prompter.questions().isEmpty());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR"));

    load({MakeUser(CatWaterSupply, 1, "A", 1)});
    main->SetScenarioChanged(true);
    prompter.answers = {ui::Answer::No};
    main->SelNew();
    EXPECT_EQ(WatUserRec.size(), 1u);
    prompter.answers = {ui::Answer::Yes};
    main->SelNew();
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_EQ(prompter.questions().last(), QStringLiteral("Current scenario not saved. Proceed?"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR *"));
    EXPECT_TRUE(list().isHidden());
}

TEST_F(MainTest, DatabaseCommandsAskForTheLoginAndACancelledOneChangesNothing)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1)});
    for (const char* name : {"mnOpen", "mnSave", "mnSaveAs"}) {
        prompter.clear();
        action(name)->trigger();
        ASSERT_EQ(prompter.shown.size(), 1u) << name;
        EXPECT_EQ(prompter.shown[0].kind, ScriptedPrompter::Kind::Dialog) << name;
        EXPECT_EQ(prompter.shown[0].text, QStringLiteral("FrmLoginPrompt")) << name;
    }
    EXPECT_EQ(WatUserRec.size(), 1u);

    // Open asks first about unsaved changes, but only when there are users.
    main->SetScenarioChanged(true);
    prompter.clear();
    prompter.answers = {ui::Answer::No};
    main->SelLoad();
    EXPECT_EQ(prompter.questions(), QStringList{"Current scenario not saved. Proceed?"});
    EXPECT_TRUE(prompter.messages().isEmpty());
    WatUserRec.clear();
    prompter.clear();
    main->SelLoad();
    EXPECT_TRUE(prompter.questions().isEmpty());
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Dialog), QStringList{"FrmLoginPrompt"});
}

TEST_F(MainTest, CloseQueryAsksOnlyForAChangedScenario)
{
    EXPECT_TRUE(main->LFormCloseQuery());
    EXPECT_TRUE(prompter.questions().isEmpty());
    main->SetScenarioChanged(true);
    prompter.answers = {ui::Answer::Cancel, ui::Answer::No, ui::Answer::Yes};
    EXPECT_FALSE(main->LFormCloseQuery());
    EXPECT_TRUE(main->LFormCloseQuery());
    // The save's login is cancelled, so the mark stays and the window too.
    EXPECT_FALSE(main->LFormCloseQuery());
    EXPECT_EQ(prompter.questions().first(), QStringLiteral("Save the changes to this scenario first?"));
    EXPECT_EQ(prompter.shown.front().filter, QStringLiteral("cancel"));

    main->show();
    prompter.answers = {ui::Answer::Cancel};
    main->close();
    EXPECT_TRUE(main->isVisible());
    prompter.answers = {ui::Answer::No};
    main->close();
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainTest, HelpOpensTheFormsTopicOfTheUserGuide)
{
    std::vector<QUrl> opened;
    main->HelpRouter1().setOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    main->HelpRouter1().setHelpFile(QStringLiteral("/nonexistent/dir/velnor.chm"));
    ASSERT_FALSE(main->HelpRouter1().guideDir().isEmpty());
    EXPECT_TRUE(app::THelpRouter::DefaultHelpFile().endsWith(QStringLiteral("/velnor.chm")));

    action("mnVelnorHelp")->trigger();
    // F1 on the main window asks for its context, 2.
    main->show();
    QApplication::setActiveWindow(main.get());
    QTest::keyClick(main.get(), Qt::Key_F1);
    ASSERT_EQ(opened.size(), 2u);
    for (const QUrl& url : opened)
        EXPECT_TRUE(url.toLocalFile().endsWith(QStringLiteral("/main-window.html"))) << url.toString().toStdString();
    EXPECT_TRUE(prompter.errors().isEmpty());

    // Without a guide the missing help file is named.
    main->HelpRouter1().setGuideDir(QStringLiteral("/nonexistent/dir/help"));
    action("mnVelnorHelp")->trigger();
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].contains(QStringLiteral("/nonexistent/dir/velnor.chm")));
    EXPECT_TRUE(prompter.errors()[0].contains(QStringLiteral("Help topic 2 ")));
}

TEST_F(MainTest, AboutBoxShowsNameDescriptionAndVersion)
{
    QStringList texts;
    prompter.onExec = [&](QDialog& dialog) {
        for (QLabel* l : dialog.findChildren<QLabel*>())
            texts << l->text();
        return int(QDialog::Accepted);
    };
    action("mnAbout")->trigger();
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Dialog), QStringList{"KyAboutInfo1"});
    EXPECT_TRUE(texts.contains(QStringLiteral("Velnor")));
    EXPECT_TRUE(texts.contains(QStringLiteral("A water needs calculation model")));
    EXPECT_TRUE(texts.filter(QStringLiteral("Version ")).size() == 1);
}

TEST_F(MainTest, PreferencesHoldTheUnitAndRefreshTheListWhenHidden)
{
    auto* pref = main->FormPref();
    ASSERT_TRUE(pref);
    EXPECT_EQ(pref->windowTitle(), QStringLiteral("Preferences"));
    EXPECT_EQ(pref->width(), 359);
    EXPECT_EQ(pref->height(), 290);
    load({MakeUser(CatWaterSupply, 1, "A", 1)});
    WatUserRec.append(MakeUser(CatWaterSupply, 2, "B", 1));
    pref->show();
    pref->hide();
    EXPECT_EQ(list().RowCount(), 3);
}
