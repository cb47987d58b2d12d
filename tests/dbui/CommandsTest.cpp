#include "DbuiFixture.h"

#include "core/RcrdFuncs.h"
#include "widgets/KyStringGrid.h"

#include <QAction>
#include <QProcess>
#include <QProgressDialog>
#include <gtest/gtest.h>

namespace velnor::dbui::test {

using db::test::AddConsumptorUser;
using db::test::AddGroup;
using db::test::AddIrrigation;
using db::test::AddWaterSupply;

namespace {

// One water user of every category and a group of two of them.
void BuildScenario()
{
    const int town = AddWaterSupply("Town", 1000, 150);
    AddConsumptorUser(CatFarming, "Farm", {{1, 20}, {3, 5}});
    const int works = AddConsumptorUser(CatIndustry, "Works", {{2, 4}});
    AddIrrigation("Plain", 2, {{1, 10}, {4, 3}});
    AddGroup("Town and works", {town, works});
}

std::vector<std::pair<std::string, double>> Needs()
{
    std::vector<std::pair<std::string, double>> out;
    for (const TWaterUser& u : WatUserRec)
        out.emplace_back(u.Toponym.str(), u.YearNeeds);
    return out;
}

} // namespace

TEST_F(FormsDbTest, WholeFlowSaveAsEditSaveNewOpen)
{
    BuildScenario();
    main->refreshForm();
    main->SetScenarioChanged(true);
    main->SetFormCaption(QStringLiteral("VELNOR"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR *"));

    prompter.execQueue = {Login(), SaveAs(QStringLiteral("Basin"), QStringLiteral("Base"))};
    main->SelSave(); // never stored: Save As
    ASSERT_TRUE(prompter.errors().isEmpty()) << prompter.errors().join('\n').toStdString();
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Base"));
    const int first = formDB->workingScen.id;
    ASSERT_GE(first, 0);

    // Edit, then Save: no name asked, no prompt.
    WatUserRec[0].Toponym = "Town centre";
    main->SetScenarioChanged(true);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Base *"));
    prompter.clear();
    formDB->progressDelayMs = 0; // the progress dialog at once
    main->SelSave();
    EXPECT_TRUE(prompter.shown.empty()) << "a second save shows nothing";
    ASSERT_FALSE(formDB->progressTexts().isEmpty());
    EXPECT_TRUE(formDB->progressTexts().first().startsWith(QStringLiteral("Writing")))
        << formDB->progressTexts().first().toStdString();
    EXPECT_EQ(main->findChild<QProgressDialog*>(), nullptr) << "gone when the save ends";
    formDB->progressDelayMs = 1000000;
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Base"));
    const int second = formDB->workingScen.id;
    EXPECT_NE(second, first);
    const auto saved = Needs();

    // New disconnects and empties.
    main->SelNew();
    EXPECT_FALSE(formDB->ZConnection1.Connected());
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_LT(formDB->workingScen.id, 0);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR"));

    // Open: the login again (remembered now), the newest scenario.
    prompter.clear();
    prompter.execQueue = {[this](QDialog& d) {
                              auto& p = dynamic_cast<TFrmLoginPrompt&>(d);
                              EXPECT_EQ(p.edtDatabase->text(), QString::fromStdString(DbName()));
                              EXPECT_EQ(p.FocusTarget(), p.edtPassword);
                              return int(QDialog::Accepted);
                          },
                          Open(1)};
    main->SelLoad();
    ASSERT_TRUE(prompter.errors().isEmpty()) << prompter.errors().join('\n').toStdString();
    EXPECT_EQ(formDB->workingScen.id, second);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Base"));
    ASSERT_EQ(WatUserRec.size(), saved.size());
    auto loaded = Needs();
    std::sort(loaded.begin(), loaded.end());
    auto expected = saved;
    std::sort(expected.begin(), expected.end());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(loaded[i].first, expected[i].first);
        EXPECT_NEAR(loaded[i].second, expected[i].second, 1e-12) << expected[i].first;
    }
    EXPECT_EQ(main->StrGrdAllNeeds()->RowCount(), int(saved.size()) + 1);
    EXPECT_EQ(Count("wn_scenarios"), 1) << "one listed version";
    EXPECT_EQ(Scalar("SELECT parent FROM scenarios WHERE id = " + std::to_string(second)), first);
}

TEST_F(FormsDbTest, CloseQueryAndAFailedOrCancelledSaveKeepTheMark)
{
    BuildScenario();
    main->refreshForm();
    main->SetScenarioChanged(true);
    // Yes on a never-saved scenario whose Save As is cancelled: stays open.
    prompter.answers = {ui::Answer::Yes};
    prompter.execQueue = {Login(), Reject()};
    EXPECT_FALSE(main->LFormCloseQuery());
    EXPECT_TRUE(main->scenarioChanged());
    EXPECT_EQ(prompter.questions(), QStringList{"Save the changes to this scenario first?"});
    // Cancel keeps it open, No lets it close.
    prompter.answers = {ui::Answer::Cancel, ui::Answer::No};
    EXPECT_FALSE(main->LFormCloseQuery());
    EXPECT_TRUE(main->LFormCloseQuery());
    EXPECT_EQ(WatUserRec.size(), 5u);

    // Yes with a save that works: closes.
    prompter.answers = {ui::Answer::Yes};
    prompter.execQueue = {SaveAs(QStringLiteral("P"), QStringLiteral("S"))};
    EXPECT_TRUE(main->LFormCloseQuery());
    EXPECT_FALSE(main->scenarioChanged());

    // A save the database refuses: the error shown is its own, memory and the
    // mark stay, and the close query keeps the window.
    main->SetScenarioChanged(true);
    const int idBefore = formDB->workingScen.id;
    const int geoBefore = WatUserRec[0].Geo_id;
    Sql("ALTER TABLE wn_results ADD CONSTRAINT no_results CHECK (value < 0) NOT VALID");
    prompter.clear();
    prompter.answers = {ui::Answer::Yes};
    main->show();
    EXPECT_FALSE(main->close()) << "the window stays";
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].contains(QStringLiteral("no_results"))) << prompter.errors()[0].toStdString();
    EXPECT_TRUE(main->scenarioChanged());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("S *"));
    EXPECT_EQ(formDB->workingScen.id, idBefore);
    EXPECT_EQ(WatUserRec[0].Geo_id, geoBefore);
    EXPECT_EQ(Count("wn_scenarios"), 1);
}

TEST_F(FormsDbTest, OpenAndNewAskOnlyWhenSomethingWouldBeLost)
{
    // Open with an empty list does not ask, even when marked as changed.
    main->SetScenarioChanged(true);
    prompter.execQueue = {Login(), Reject()};
    main->SelLoad();
    EXPECT_TRUE(prompter.questions().isEmpty());
    EXPECT_TRUE(formDB->ZConnection1.Connected());
    EXPECT_TRUE(main->scenarioChanged()) << "a cancelled open changes nothing";

    AddWaterSupply("Town", 10, 100);
    main->refreshForm();
    prompter.answers = {ui::Answer::No};
    main->SelLoad();
    EXPECT_EQ(prompter.questions(), QStringList{"Current scenario not saved. Proceed?"});
    prompter.answers = {ui::Answer::No};
    main->SelNew();
    EXPECT_EQ(WatUserRec.size(), 1u);
    EXPECT_TRUE(formDB->ZConnection1.Connected());
    prompter.answers = {ui::Answer::Yes};
    main->SelNew();
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_FALSE(formDB->ZConnection1.Connected());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR *"));
}

// The server of a cluster of this test's own is stopped and started again
// between two saves; both succeed, the second without a prompt.
TEST(RecoveryTest, SaveAfterTheServerWasRestarted)
{
    const QString pg = QStringLiteral(VELNOR_SOURCE_DIR "/scripts/pg");
    QProcess start;
    start.start(pg, {QStringLiteral("start"), QStringLiteral("55487")});
    start.waitForFinished(120000);
    if (start.exitCode() != 0) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true")
            FAIL() << "cannot start a cluster: " << start.readAllStandardError().toStdString();
        GTEST_SKIP() << "no PostgreSQL server binaries";
    }
    const QString out = QString::fromLocal8Bit(start.readAllStandardOutput());
    const QString dir = out.section(QStringLiteral("VELNOR_PG_DIR='"), 1).section(QLatin1Char('\''), 0, 0);
    struct Stop {
        QString pg, dir;
        ~Stop() { QProcess::execute(pg, {QStringLiteral("stop"), dir}); }
    } stop{pg, dir};
    {
        db::ConnectParams p;
        p.host = dir.toStdString();
        p.port = "55487";
        p.dbname = "velnor";
        p.user = "postgres";
        db::Connection c(p);
        db::ApplySchema(c);
    }
    TempSettings settings;
    ScriptedPrompter prompter;
    WatUserRec.clear();
    WatConsRec.clear();
    std::unique_ptr<app::TFormMain> main;
    {
        UnsetEnv h("PGHOST"), po("PGPORT"), d("PGDATABASE"), u("PGUSER");
        main = app::CreateForms(prompter);
    }
    TFormDB& formDB = *main->FormDB();
    auto& o = formDB.ApplOptions;
    o.LastLogonServer = dir;
    o.LastLogonPort = 55487;
    o.LastLogonService = QStringLiteral("velnor");
    o.LastLogonUser = QStringLiteral("postgres");
    BuildScenario();
    main->SetScenarioChanged(true);
    prompter.execQueue = {[](QDialog&) { return int(QDialog::Accepted); },
                          [&prompter](QDialog& d) {
                              auto& f = dynamic_cast<TFrmSaveScenarioDlg&>(d);
                              prompter.execQueue.push_front([](QDialog& pd) {
                                  dynamic_cast<TFrmProjectDlg&>(pd).Edit1->setText(QStringLiteral("P"));
                                  return int(QDialog::Accepted);
                              });
                              f.ToolButton1Click();
                              f.ComboBox2->setEditText(QStringLiteral("S"));
                              f.Button1Press();
                              return f.result();
                          }};
    main->SelSave();
    ASSERT_TRUE(prompter.errors().isEmpty()) << prompter.errors().join('\n').toStdString();
    ASSERT_FALSE(main->scenarioChanged());

    // Restart the server under the idle connection.
    const QString data = dir + QStringLiteral("/data");
    QStringList ctl;
    QString program;
    for (const char* v : {"17", "16", "15"}) {
        const QString b = QStringLiteral("/usr/lib/postgresql/%1/bin/pg_ctl").arg(QLatin1String(v));
        if (QFile::exists(b)) {
            program = b;
            break;
        }
    }
    ASSERT_FALSE(program.isEmpty());
    ctl << QStringLiteral("-D") << data << QStringLiteral("-w") << QStringLiteral("-m") << QStringLiteral("fast")
        << QStringLiteral("restart");
    if (getuid() == 0) {
        ctl.prepend(program);
        ctl.prepend(QStringLiteral("--"));
        ctl.prepend(QStringLiteral("postgres"));
        ctl.prepend(QStringLiteral("-u"));
        program = QStringLiteral("runuser");
    }
    QProcess restart;
    restart.setWorkingDirectory(QStringLiteral("/"));
    restart.start(program, ctl);
    ASSERT_TRUE(restart.waitForFinished(60000));
    ASSERT_EQ(restart.exitCode(), 0) << restart.readAllStandardError().toStdString();

    WatUserRec[0].Toponym = "After the restart";
    main->SetScenarioChanged(true);
    prompter.clear();
    main->SelSave();
    EXPECT_TRUE(prompter.shown.empty()) << (prompter.shown.empty() ? "" : prompter.shown[0].text.toStdString());
    EXPECT_FALSE(main->scenarioChanged());
    EXPECT_EQ(formDB.ZConnection1.Conn().Tx().exec("SELECT count(*) FROM wn_scenarios")[0][0].as<int>(), 1);
    EXPECT_EQ(formDB.ZConnection1.Conn().Tx().exec("SELECT count(*) FROM gentities WHERE name = 'After the restart'")[0][0].as<int>(), 1);
    main.reset();
    WatUserRec.clear();
    WatConsRec.clear();
}

} // namespace velnor::dbui::test
