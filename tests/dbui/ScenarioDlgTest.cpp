#include "DbuiFixture.h"

#include "widgets/KyStringGrid.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <thread>

namespace velnor::dbui::test {

using db::test::SaveAsNew;

class ScenarioDlgTest : public FormsDbTest {
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        prompter.execQueue = {Login()};
        formDB->DatabaseConnect();
        ASSERT_TRUE(formDB->ZConnection1.Connected());
        prompter.clear();
    }
    db::Connection& Session() { return formDB->ZConnection1.Conn(); }
    // Stores an empty scenario `name` in project `project` (a new one unless
    // it exists among those already made here) and commits.
    int Store(const std::string& project, const std::string& name)
    {
        db::TKyWnScenario s;
        auto it = projects_.find(project);
        if (it == projects_.end()) {
            SaveAsNew(Session(), s, project, name);
            projects_[project] = *s.project;
        } else {
            s.SaveAsScenario(Session(), WatUserRec, [&](db::TKyWnScenario& w) {
                w.project = it->second;
                w.short_descr = name;
                w.KySaveScenario(Session(), false);
                return true;
            });
        }
        // Saves one after the other get distinct times.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return s.id;
    }
    int ProjectId(const std::string& project) const { return projects_.at(project).id; }

    TFrmOpenScenarioDlg& OpenForm() { return *formDB->OpenScenarioDialog1.OpenScenarioForm; }
    TFrmSaveScenarioDlg& SaveForm() { return *formDB->SaveScenarioDialog1.SaveScenarioForm; }

    std::map<std::string, db::TKyProject> projects_;
};

TEST_F(ScenarioDlgTest, WithoutProjectsTheFormIsEmptyAndSaveSaysNoProjectSelected)
{
    db::TKyWnScenario scen;
    bool checked = false;
    prompter.execQueue.push_back([&](QDialog& d) {
        auto& f = dynamic_cast<TFrmSaveScenarioDlg&>(d);
        EXPECT_EQ(f.ComboBox1->count(), 0);
        EXPECT_FALSE(f.ToolButton2->isEnabled());
        EXPECT_FALSE(f.ToolButton3->isEnabled());
        EXPECT_EQ(f.StringGrid1->RowCount(), 2);
        EXPECT_EQ(f.StringGrid1->Cells(0, 0), QStringLiteral("scenario name"));
        EXPECT_EQ(f.StringGrid1->Cells(1, 0), QStringLiteral("date"));
        EXPECT_EQ(f.StringGrid1->Cells(2, 0), QStringLiteral("user"));
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Save As"));
        EXPECT_EQ(f.Button1->text(), QStringLiteral("Save"));
        EXPECT_TRUE(f.Button1->isEnabled());
        checked = true;
        f.ComboBox2->setEditText(QStringLiteral("Base"));
        f.Button1Press();
        return f.result();
    });
    EXPECT_FALSE(formDB->SaveScenarioDialog1.execute(&scen));
    EXPECT_TRUE(checked);
    EXPECT_EQ(prompter.messages(), QStringList{"No project selected"});
    EXPECT_EQ(Count("scenarios"), 0);
}

TEST_F(ScenarioDlgTest, GridRowsSelectionAndDefaultProject)
{
    Store("Old project", "a1");
    Store("Old project", "a2");
    Store("New project", "b1");
    bool checked = false;
    formDB->OpenScenarioDialog1.DefaultProjectID = ProjectId("Old project");
    prompter.execQueue.push_back([&](QDialog& d) {
        auto& f = dynamic_cast<TFrmOpenScenarioDlg&>(d);
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Old project")) << "the default, not the newest";
        EXPECT_EQ(f.ComboBox1->itemText(0), QStringLiteral("New project")) << "newest first";
        EXPECT_EQ(f.StringGrid1->RowCount(), 4);
        EXPECT_EQ(f.StringGrid1->Cells(0, 1), QStringLiteral("a2")) << "newest first";
        EXPECT_EQ(f.StringGrid1->Cells(2, 1), QString::fromStdString(Session().UserName()));
        EXPECT_FALSE(f.Button1->isEnabled());
        EXPECT_FALSE(f.StringGrid1SelectCell(0, 0)) << "the header";
        EXPECT_FALSE(f.StringGrid1SelectCell(0, 3)) << "the empty last row";
        EXPECT_EQ(f.SelectedGridLine(), -1);
        EXPECT_TRUE(f.StringGrid1SelectCell(1, 2));
        EXPECT_EQ(f.SelectedGridLine(), 2);
        EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("a1"));
        EXPECT_TRUE(f.Button1->isEnabled());
        EXPECT_TRUE(f.ToolButton3->isEnabled());
        EXPECT_TRUE(f.Memo1->isReadOnly());
        // Another project lists its scenarios and selects none.
        f.ComboBox1Change(0);
        EXPECT_EQ(f.StringGrid1->Cells(0, 1), QStringLiteral("b1"));
        EXPECT_EQ(f.SelectedGridLine(), -1);
        EXPECT_EQ(f.ComboBox2->currentText(), QString());
        checked = true;
        return Reject()(d);
    });
    int id = -1;
    EXPECT_FALSE(formDB->OpenScenarioDialog1.execute(id));
    EXPECT_TRUE(checked);

    formDB->OpenScenarioDialog1.DefaultProjectID = -1;
    prompter.execQueue.push_back([&](QDialog& d) {
        EXPECT_EQ(dynamic_cast<TFrmOpenScenarioDlg&>(d).ComboBox1->currentText(), QStringLiteral("New project"));
        return Open(1)(d);
    });
    ASSERT_TRUE(formDB->OpenScenarioDialog1.execute(id));
    EXPECT_EQ(formDB->OpenScenarioDialog1.DefaultProjectID, ProjectId("New project"));
}

TEST_F(ScenarioDlgTest, OpenLooksTheNameUpExactlyAndTheNewerOfTwoWins)
{
    const int older = Store("P", "Base");
    const int newer = Store("P", "Base");
    Store("P", "other");
    int id = -1;
    // The older "Base" (row 3) selected: Load opens the newer one, found by name.
    prompter.execQueue = {Open(3)};
    ASSERT_TRUE(formDB->OpenScenarioDialog1.execute(id));
    EXPECT_EQ(id, newer);
    EXPECT_NE(id, older);
    EXPECT_EQ(OpenForm().RememberedCount(), 1);

    // "base" differs in case: not found, the grid's selection ("other") opens.
    prompter.execQueue = {Open(1, QStringLiteral("base"))};
    ASSERT_TRUE(formDB->OpenScenarioDialog1.execute(id));
    EXPECT_EQ(OpenForm().selectedScenario()->short_descr, "other");
    // Not found and nothing selected: nothing opens.
    prompter.execQueue = {Open(0, QStringLiteral("BASE"))};
    EXPECT_FALSE(formDB->OpenScenarioDialog1.execute(id));
}

TEST_F(ScenarioDlgTest, SavingUnderAnExistingNameAsksFirst)
{
    Store("P", "Base");
    db::TKyWnScenario scen;
    scen.project = projects_["P"];
    auto saveBase = [&](QDialog& d) {
        auto& f = dynamic_cast<TFrmSaveScenarioDlg&>(d);
        f.ComboBox2->setEditText(QStringLiteral("Base"));
        f.Memo1->setPlainText(QStringLiteral("second try"));
        f.Button1Press();
        if (f.isVisible() || f.result() != QDialog::Accepted)
            return int(QDialog::Rejected);
        return f.result();
    };
    prompter.answers = {ui::Answer::No};
    prompter.execQueue = {saveBase};
    EXPECT_FALSE(formDB->SaveScenarioDialog1.execute(&scen));
    EXPECT_EQ(prompter.questions(),
              QStringList{"A scenario with the name 'Base' already exists. Save with the same name ?"});
    EXPECT_EQ(Count("scenarios"), 1);

    prompter.answers = {ui::Answer::Yes};
    prompter.execQueue = {saveBase};
    EXPECT_TRUE(formDB->SaveScenarioDialog1.execute(&scen));
    Session().Commit();
    EXPECT_EQ(Count("scenarios", "short_descr = 'Base'"), 2);
    EXPECT_EQ(scen.descr, "second try");

    // Under another project: asked first.
    Store("Q", "q1");
    prompter.clear();
    prompter.answers = {ui::Answer::Cancel};
    prompter.execQueue = {[&](QDialog& d) {
        auto& f = dynamic_cast<TFrmSaveScenarioDlg&>(d);
        f.ComboBox1Change(0); // "Q", the newest
        f.ComboBox2->setEditText(QStringLiteral("moved"));
        f.Button1Press();
        return int(QDialog::Rejected);
    }};
    EXPECT_FALSE(formDB->SaveScenarioDialog1.execute(&scen));
    EXPECT_EQ(prompter.questions(), QStringList{"Save the scenario under a different project?"});
}

TEST_F(ScenarioDlgTest, NewProjectWaitsForTheCommitAndDeletesCommitAtOnce)
{
    Store("P", "s1");
    Store("P", "s2");
    Store("R", "r1");
    // Remembered entries: two of P, one of R.
    int id = -1;
    for (const char* name : {"s1", "s2"}) {
        formDB->OpenScenarioDialog1.DefaultProjectID = ProjectId("P");
        prompter.execQueue = {Open(0, QString::fromLatin1(name))};
        ASSERT_TRUE(formDB->OpenScenarioDialog1.execute(id));
    }
    formDB->OpenScenarioDialog1.DefaultProjectID = ProjectId("R");
    prompter.execQueue = {Open(1)};
    ASSERT_TRUE(formDB->OpenScenarioDialog1.execute(id));
    ASSERT_EQ(OpenForm().RememberedCount(), 3);

    prompter.answers = {ui::Answer::Yes, ui::Answer::Yes};
    prompter.execQueue = {[&](QDialog& d) {
        auto& f = dynamic_cast<TFrmOpenScenarioDlg&>(d);
        // A new project is selected and first, but not yet committed.
        prompter.execQueue.push_front([](QDialog& pd) {
            dynamic_cast<TFrmProjectDlg&>(pd).Edit1->setText(QStringLiteral("Fresh"));
            return int(QDialog::Accepted);
        });
        f.ToolButton1Click();
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Fresh"));
        EXPECT_EQ(f.ComboBox1->itemText(0), QStringLiteral("Fresh"));
        EXPECT_EQ(Count("projects", "short_descr = 'Fresh'"), 0) << "not committed";
        // Delete scenario r1 of R: gone from grid and remembered entries.
        f.ComboBox2Select(2);
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("R"));
        f.ToolButton3Click();
        EXPECT_EQ(f.RememberedCount(), 2);
        EXPECT_EQ(f.StringGrid1->RowCount(), 2);
        EXPECT_EQ(Count("wn_scenarios"), 2) << "committed at once";
        EXPECT_EQ(Count("scenarios"), 3) << "the scenarios row stays";
        EXPECT_EQ(Count("projects", "short_descr = 'Fresh'"), 1) << "the delete's commit took the project along";
        // Delete project P: both adjacent remembered entries go.
        f.ComboBox1Change(f.ComboBox1->findText(QStringLiteral("P")));
        f.ToolButton2Click();
        EXPECT_EQ(f.RememberedCount(), 0);
        EXPECT_EQ(Count("projects", "short_descr = 'P'"), 0);
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Fresh")) << "the newest remaining";
        return Reject()(d);
    }};
    EXPECT_FALSE(formDB->OpenScenarioDialog1.execute(id));
    EXPECT_EQ(prompter.questions(), (QStringList{"CAUTION! Delete the scenario 'r1' ?",
                                                 "CAUTION! Delete the project 'P' with all its scenarios ?"}));
}

} // namespace velnor::dbui::test
