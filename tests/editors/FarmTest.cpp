#include "EditorFixture.h"

#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"

#include <QComboBox>
#include <QLineEdit>

using namespace velnor::test;

namespace {

class FarmTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        data = std::make_unique<TFormFarmData>(services);
        list = std::make_unique<TFormFarm>(services, *data);
    }

    void PrepareValid(const QString& population, const QString& litres)
    {
        data->updateForm(-1);
        data->EdtPopulation->setText(population);
        FillColumn(*data->StrGrdFarmCons, 1, 1, Repeat(litres));
    }

    std::unique_ptr<TFormFarmData> data;
    std::unique_ptr<TFormFarm> list;
};

TEST_F(FarmTest, CheckDataReportsEveryProblemAtOnce)
{
    struct Case {
        const char* name;
        QString population;
        int month; // 1..12, cell set to `cell`
        QString cell;
        QStringList lines;
    };
    const Case cases[] = {
        {"valid", "10", 1, "70", {}},
        {"zero animals", "0", 1, "0", {}},
        {"empty June", "10", 6, "", {"The Value of water needs for month 6 must be a positive real number"}},
        {"letters and empty June", "many", 6, "",
         {"The population must be a positive integer number",
          "The Value of water needs for month 6 must be a positive real number"}},
        {"negative population", "-1", 1, "70", {"The population must be a positive integer number"}},
        {"negative litres", "10", 12, "-3", {"The Value of water needs for month 12 must be a positive real number"}},
        {"beyond single precision", "10", 2, "1e39",
         {"The Value of water needs for month 2 must be a positive real number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        PrepareValid(c.population, "70");
        data->StrGrdFarmCons->setCells(1, c.month, c.cell);
        EXPECT_EQ(data->checkData(), c.lines.isEmpty());
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(prompter().errors(), QStringList{"Error Messages:\n\r" + c.lines.join("\n\r")});
        }
    }
    prompter().clear();
    PrepareValid("1", "1");
    data->CmbType->setCurrentIndex(-1);
    EXPECT_FALSE(data->checkData());
    EXPECT_EQ(prompter().errors(), QStringList{"Error Messages:\n\rNo Animal selected"});
}

TEST_F(FarmTest, ListShowsTheYearlyNeedInTheVolumeUnit)
{
    PrepareValid("1000", "70");
    data->BtnUpdateClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(WatConsRec[0].TblIntake, Months{});
    EXPECT_EQ(WatConsRec[0].TblDisch, Months{});
    list->Recalculate();
    list->RefreshGrid();
    const TKyStringGrid& g = *list->StrGrdFarm;
    EXPECT_EQ(g.Cells(2, 0), "Needs (hm3/year)");
    EXPECT_EQ(g.Cells(0, 1), QString::fromStdString(AnimalsRec[0].Name));
    EXPECT_EQ(g.Cells(1, 1), "1000");
    EXPECT_EQ(g.Cells(2, 1), "0.02562");
    EXPECT_EQ(g.Cells(3, 1), QString::number(AnimalsRec[0].Id));
    EXPECT_EQ(g.ColWidths(3), 0);

    services.unit = "m3";
    list->RefreshGrid();
    EXPECT_EQ(g.Cells(2, 0), "Needs (m3/year)");
    EXPECT_EQ(g.Cells(2, 1), "25620");
}

TEST_F(FarmTest, DefaultAndExistingAnimal)
{
    data->updateForm(-1);
    data->EdtPopulation->setText("5");
    data->Button1Click();
    EXPECT_EQ(data->StrGrdFarmCons->Cells(1, 1), "70");
    EXPECT_EQ(data->StrGrdFarmCons->Cells(1, 12), NumText(AnimalsRec[0].Consumpt[11]));
    EXPECT_EQ(data->EdtPopulation->text(), "5");

    data->CmbType->setCurrentIndex(2);
    data->BtnUpdateClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(WatConsRec[0].CnsmpId, AnimalsRec[2].Id);
    EXPECT_EQ(data->currentAnimal, 0);

    data->updateForm(0);
    EXPECT_EQ(data->CmbType->currentIndex(), 2);
    EXPECT_FALSE(data->CmbType->isEnabled());
    EXPECT_EQ(data->EdtPopulation->text(), "5");
    data->EdtPopulation->setText("6");
    data->StrGrdFarmCons->setCells(1, 3, "12.5");
    data->BtnUpdateClick();
    EXPECT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(WatConsRec[0].CnsmpId, AnimalsRec[2].Id);
    EXPECT_EQ(WatConsRec[0].UnitsNum, 6);
    EXPECT_DOUBLE_EQ(WatConsRec[0].TblConsp[2], 12.5);
}

TEST_F(FarmTest, OkNeedsAConsumptorAndHelpGoesToTheRightTopics)
{
    list->RefreshGrid();
    list->BtnAddClick();
    EXPECT_EQ(prompter().errors(), QStringList{"Nothing to add!"});
    list->ToolButton1Click();
    data->SpeedButton1Click();
    EXPECT_EQ(services.helpContexts, (std::vector<int>{18, 21}));
    EXPECT_EQ(list->windowTitle(), "Farming");
    EXPECT_EQ(data->windowTitle(), "Farm Data Form");
}

} // namespace
