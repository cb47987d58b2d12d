#include "EditorFixture.h"

#include "editors/FrmIndust.h"
#include "editors/FrmIndustData.h"

#include <QApplication>
#include <QTest>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

using namespace velnor::test;

namespace {

class IndustTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        data = std::make_unique<TFormIndData>(services);
        list = std::make_unique<TFormIndust>(services, *data);
    }

    // The data dialog prepared for a new consumptor of the first branch with
    // valid values: `units` units, intake 0.01 and discharge 0.005 in every month.
    void PrepareValid(const QString& units = "3")
    {
        data->updateForm(-1);
        data->EdtUnits->setText(units);
        FillColumn(*data->StrGrdIndCons, 1, 1, Repeat("0.01"));
        FillColumn(*data->StrGrdIndCons, 2, 1, Repeat("0.005"));
    }

    // A consumptor of branch `id` stored through the data dialog.
    void AddConsumptor(int id, int units)
    {
        PrepareValid(QString::number(units));
        data->CmbType->setCurrentIndex(id - 1);
        data->BtnUpdateClick();
        ASSERT_EQ(data->result(), QDialog::Accepted);
        data->setResult(0);
    }

    std::unique_ptr<TFormIndData> data;
    std::unique_ptr<TFormIndust> list;
};

struct ReportCase {
    const char* name;
    std::function<void(TFormIndData&)> change;
    QStringList lines; // empty: accepted
};

TEST_F(IndustTest, CheckDataReportsEveryProblemAtOnce)
{
    const ReportCase cases[] = {
        {"valid", [](TFormIndData&) {}, {}},
        {"zero units and discharge equal to intake",
         [](TFormIndData& d) {
             d.EdtUnits->setText("0");
             FillColumn(*d.StrGrdIndCons, 2, 1, Repeat("0.01"));
         },
         {}},
        {"discharge above intake in March",
         [](TFormIndData& d) { d.StrGrdIndCons->setCells(2, 3, "0.02"); },
         {"The water discharge for month 3 must be less or equal to the intake"}},
        {"empty January cells",
         [](TFormIndData& d) {
             d.StrGrdIndCons->setCells(1, 1, "");
             d.StrGrdIndCons->setCells(2, 1, "");
         },
         {"The Value of water intake for month 1 must be a positive real number",
          "The Value of water discharge for month 1 must be a positive real number"}},
        {"letters in units and a negative intake in May",
         [](TFormIndData& d) {
             d.EdtUnits->setText("ab");
             d.StrGrdIndCons->setCells(1, 5, "-0.01");
         },
         {"The number of units must be a positive integer number",
          "The Value of water intake for month 5 must be a positive real number"}},
        {"no branch", [](TFormIndData& d) { d.CmbType->setCurrentIndex(-1); }, {"No Industry selected"}},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        PrepareValid();
        c.change(*data);
        const bool ok = data->checkData();
        EXPECT_EQ(ok, c.lines.isEmpty());
        if (c.lines.isEmpty()) {
            EXPECT_TRUE(prompter().errors().isEmpty());
        } else {
            EXPECT_EQ(prompter().errors(), QStringList{"Error Messages:\n\r" + c.lines.join("\n\r")});
        }
    }
    EXPECT_TRUE(WatConsRec.empty()); // checks store nothing
}

TEST_F(IndustTest, NewConsumptorKeepsTheTypedValuesNotTheBranchDefaults)
{
    PrepareValid("3");
    data->CmbType->setCurrentIndex(1);
    data->BtnUpdateClick();
    EXPECT_EQ(data->result(), QDialog::Accepted);
    ASSERT_EQ(WatConsRec.size(), 1u);
    const TWaterConsumptor& c = WatConsRec[0];
    EXPECT_EQ(c.CnsmpId, IndustRec[1].Id);
    EXPECT_EQ(c.CnsmpType.str(), IndustRec[1].Name);
    EXPECT_EQ(c.UnitsNum, 3);
    EXPECT_DOUBLE_EQ(c.TblIntake[6], 0.01);
    EXPECT_DOUBLE_EQ(c.TblDisch[6], 0.005);
    EXPECT_DOUBLE_EQ(c.TblConsp[6], 0.005);
    EXPECT_EQ(data->currentWaterConsInd, 0);
}

TEST_F(IndustTest, DefaultPutsTheBranchIntakeAndDischargeAndStoresTheirDifference)
{
    data->updateForm(-1);
    data->EdtUnits->setText("7");
    data->Button1Click();
    EXPECT_EQ(data->EdtUnits->text(), "7");
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(data->StrGrdIndCons->Cells(1, m + 1), NumText(IndustRec[0].Intake[m]));
        EXPECT_EQ(data->StrGrdIndCons->Cells(2, m + 1), NumText(IndustRec[0].Disch[m]));
    }
    data->BtnUpdateClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    for (int m = 0; m < 12; ++m)
        EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[m], IndustRec[0].Intake[m] - IndustRec[0].Disch[m]);
}

TEST_F(IndustTest, ExistingConsumptorShowsItsBranchGreyedAndKeepsIt)
{
    AddConsumptor(4, 2);
    data->updateForm(0);
    EXPECT_EQ(data->CmbType->currentIndex(), 3);
    EXPECT_FALSE(data->CmbType->isEnabled());
    EXPECT_EQ(data->EdtUnits->text(), "2");
    EXPECT_EQ(data->StrGrdIndCons->Cells(1, 12), "0.01");
    EXPECT_EQ(data->StrGrdIndCons->Cells(0, 12), "December");
    data->EdtUnits->setText("9");
    data->BtnUpdateClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(WatConsRec[0].CnsmpId, 4);
    EXPECT_EQ(WatConsRec[0].UnitsNum, 9);
    // Cancel stores nothing.
    data->updateForm(0);
    data->EdtUnits->setText("1");
    data->BtnRestoreClick();
    EXPECT_EQ(data->result(), QDialog::Rejected);
    EXPECT_EQ(WatConsRec[0].UnitsNum, 9);
}

TEST_F(IndustTest, ListShowsYearlyTotalsAndTheToponymOnlyWithConsumptors)
{
    list->EdtTopo->setText("Plant");
    list->RefreshGrid();
    EXPECT_FALSE(list->EdtTopo->isEnabled());
    EXPECT_TRUE(list->EdtTopo->text().isEmpty());
    EXPECT_EQ(list->StrGrdIndust->RowCount(), 1);
    list->BtnAddClick();
    EXPECT_EQ(prompter().errors(), QStringList{"Nothing to add!"});
    EXPECT_NE(list->result(), QDialog::Accepted);

    AddConsumptor(1, 0);
    AddConsumptor(2, 2);
    list->Recalculate();
    const TKyStringGrid& g = *list->StrGrdIndust;
    ASSERT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cells(2, 0), "Intake (hm3/y)");
    EXPECT_EQ(g.Cells(4, 0), "Needs (hm3/y)");
    EXPECT_EQ(g.Cells(1, 1), "0");
    EXPECT_EQ(g.Cells(2, 1), "0");
    EXPECT_EQ(g.Cells(1, 2), "2");
    EXPECT_EQ(g.Cells(2, 2), NumText(2 * 0.01 * 12));
    EXPECT_EQ(g.Cells(3, 2), NumText(2 * 0.005 * 12));
    EXPECT_TRUE(list->EdtTopo->isEnabled());

    prompter().clear();
    list->EdtTopo->setText("");
    list->BtnAddClick();
    EXPECT_TRUE(prompter().errors().isEmpty());
    EXPECT_EQ(list->result(), QDialog::Accepted);
    EXPECT_TRUE(services.changed);
}

TEST_F(IndustTest, DeleteAsksAndRemovesTheSelectionFromTheBottomUp)
{
    for (int id = 1; id <= 5; ++id)
        AddConsumptor(id, id);
    list->RefreshGrid();
    list->StrGrdIndust->setSelection({0, 2, 4, 4});

    prompter().answers = {Answer::No};
    list->ToolBtnDelClick();
    EXPECT_EQ(prompter().questions(), QStringList{"Delete selected records!"});
    EXPECT_EQ(WatConsRec.size(), 5u);

    prompter().answers = {Answer::Yes};
    list->ToolBtnDelClick();
    ASSERT_EQ(WatConsRec.size(), 2u);
    EXPECT_EQ(WatConsRec[0].CnsmpId, 1);
    EXPECT_EQ(WatConsRec[1].CnsmpId, 5);
    EXPECT_EQ(list->StrGrdIndust->RowCount(), 3);

    // Deleting the last consumptors empties and disables the toponym box.
    list->EdtTopo->setText("Plant");
    list->StrGrdIndust->setSelection({0, 1, 4, 2});
    prompter().answers = {Answer::Yes};
    list->ToolBtnDelClick();
    EXPECT_TRUE(WatConsRec.empty());
    EXPECT_FALSE(list->EdtTopo->isEnabled());
    EXPECT_TRUE(list->EdtTopo->text().isEmpty());
}

TEST_F(IndustTest, AddAndDoubleClickOpenTheDataDialogAndRecalculateWhateverItsResult)
{
    prompter().execQueue.push_back([this](QDialog& d) {
        EXPECT_EQ(&d, data.get());
        EXPECT_EQ(data->currentWaterConsInd, -1);
        PrepareValid("4");
        data->BtnUpdateClick();
        return data->result();
    });
    list->ToolBtnAddClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(list->StrGrdIndust->Cells(1, 1), "4");
    EXPECT_NEAR(WatConsRec[0].yearneeds, 4 * 0.005 * 12, 1e-12);

    list->show();
    QApplication::processEvents();
    TKyStringGrid& g = *list->StrGrdIndust;
    // The heading line opens nothing.
    const QPoint header = g.horizontalHeader()->geometry().center();
    list->StrGrdIndustMouseDown(header.x(), header.y());
    list->StrGrdIndustDblClick();
    EXPECT_EQ(prompter().texts(test::ScriptedPrompter::Kind::Dialog).size(), 1);

    const QPoint row1 = g.viewport()->mapTo(&g, g.visualRect(g.model()->index(0, 0)).center());
    prompter().execQueue.push_back([this](QDialog&) {
        EXPECT_EQ(data->currentWaterConsInd, 0);
        EXPECT_EQ(data->EdtUnits->text(), "4");
        data->EdtUnits->setText("1");
        data->BtnRestoreClick();
        return data->result();
    });
    list->StrGrdIndustMouseDown(row1.x(), row1.y());
    list->StrGrdIndustDblClick();
    EXPECT_EQ(prompter().texts(test::ScriptedPrompter::Kind::Dialog).size(), 2);
    EXPECT_EQ(WatConsRec[0].UnitsNum, 4);

    // A real double click on the first data row opens it too.
    prompter().onExec = [this](QDialog&) {
        EXPECT_EQ(data->currentWaterConsInd, 0);
        return int(QDialog::Rejected);
    };
    const QPoint inViewport = g.visualRect(g.model()->index(0, 1)).center();
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, inViewport);
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, inViewport);
    EXPECT_EQ(prompter().texts(test::ScriptedPrompter::Kind::Dialog).size(), 3);
    EXPECT_EQ(list->mouseY, g.viewport()->mapTo(&g, inViewport).y());
    list->hide();
}

} // namespace
