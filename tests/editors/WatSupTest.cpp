#include "EditorFixture.h"

#include "editors/FrmWatSup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace velnor::test;

namespace {

const QString PopMessage = QStringLiteral("A positive integer value expected for population!");
const QString ConsMessage = QStringLiteral("A positive real number for consumption is expected for all months!");

class WatSupTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        form = std::make_unique<TFormWatSup>(services);
        form->PrepareNew();
    }
    std::unique_ptr<TFormWatSup> form;
};

struct CheckCase {
    const char* name;
    QString population;
    int month;         // month whose cell gets `cell` (-1: none)
    QString cell;      // the other months hold 0
    QString expected;  // empty: accepted
};

TEST_F(WatSupTest, OkChecksPopulationThenConsumptionsAndReportsOnlyTheFirstFailure)
{
    const CheckCase cases[] = {
        {"zeros pass", "0", -1, {}, {}},
        {"decimal consumption", "10", 0, "95.5", {}},
        {"negative population", "-5", -1, {}, PopMessage},
        {"empty population", "", -1, {}, PopMessage},
        {"decimal population", "12.5", -1, {}, PopMessage},
        {"letters", "abc", -1, {}, PopMessage},
        {"empty December", "10", 11, "", ConsMessage},
        {"negative March", "10", 2, "-1", ConsMessage},
        {"letters in a cell", "10", 5, "x", ConsMessage},
        {"not a number", "10", 4, "nan", ConsMessage},
        {"infinite", "10", 4, "inf", ConsMessage},
        {"group separator", "1,000", -1, {}, PopMessage},
        {"population first", "abc", 11, "", PopMessage},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        form->setResult(0);
        form->EdtPop->setText(c.population);
        FillColumn(*form->StrGrdCons, 1, 0, Repeat("0"));
        if (c.month >= 0)
            form->StrGrdCons->setCells(1, c.month, c.cell);
        services.changed = false;
        form->BtnAddClick();
        ExpectOkOutcome(*form, services, c.expected);
    }
}

TEST_F(WatSupTest, DefaultFillsAllMonthsAndLeavesNameAndPopulation)
{
    form->EdtTopo->setText("Town");
    form->EdtPop->setText("42");
    form->StrGrdCons->setCells(1, 3, "77");
    form->BtnDefaultClick();
    EXPECT_EQ(Column(*form->StrGrdCons, 1, 0, 12), Repeat("120"));
    EXPECT_EQ(form->EdtTopo->text(), "Town");
    EXPECT_EQ(form->EdtPop->text(), "42");
    EXPECT_EQ(form->StrGrdCons->Cells(0, 0), "January");
}

TEST_F(WatSupTest, GetRecDataShowsTheRecordWithTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TWaterUser& user = WatUserRec.append();
    user.Toponym = "Άγιος Νικόλαος";
    user.UnitsNum = 1500;
    user.TblConsumpt.fill(150.25);
    user.TblConsumpt[11] = 1.0 / 3.0;
    form->GetRecData(0);
    EXPECT_EQ(form->EdtTopo->text(), QString::fromUtf8("Άγιος Νικόλαος"));
    EXPECT_EQ(form->EdtPop->text(), "1500");
    EXPECT_EQ(form->StrGrdCons->Cells(0, 11), "December");
    EXPECT_EQ(form->StrGrdCons->Cells(1, 0), "150,25");
    EXPECT_EQ(form->StrGrdCons->Cells(1, 11), "0,333333333333333");
    // Read back with the same separator; a point is not the decimal separator here.
    EXPECT_DOUBLE_EQ(form->Consumptions()[0], 150.25);
    form->EdtPop->setText("1500");
    form->BtnAddClick();
    EXPECT_TRUE(prompter().errors().isEmpty());
    form->StrGrdCons->setCells(1, 0, "150.25");
    form->BtnAddClick();
    EXPECT_EQ(prompter().errors(), QStringList{ConsMessage});
}

TEST_F(WatSupTest, ButtonsAreWiredToTheirHandlers)
{
    form->BtnDefault->click();
    EXPECT_EQ(form->StrGrdCons->Cells(1, 6), "120");
    form->BtnAdd->click();
    EXPECT_EQ(prompter().errors(), QStringList{PopMessage});
    form->EdtPop->setText("5");
    form->BtnAdd->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    form->SpeedButton1->click();
    EXPECT_EQ(services.helpContexts, std::vector<int>{15});
}

TEST_F(WatSupTest, HelpAndCancel)
{
    form->SpeedButton1Click();
    EXPECT_EQ(services.helpContexts, std::vector<int>{15});
    form->BtnCancelClick();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(form->windowTitle(), "Water Supply");
}

} // namespace
