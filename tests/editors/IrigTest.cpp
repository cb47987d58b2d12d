#include "EditorFixture.h"

#include "editors/FrmIrig.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/FrmPotEvap.h"

#include "core/Errors.h"
#include "core/RcrdFuncs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace velnor::test;

namespace {

const QString DataMessage = QStringLiteral("Meteorological data must be positive and empirical method uses only Integers!");
const QString LatMessage = QStringLiteral("Latitude must be a real number between (-66.5, 66.5)!");

const Months Temps = {5, 6.5, 10, 14, 18, 23, 26, 25.5, 21, 16, 10, 6};

QStringList Texts(const Months& values)
{
    QStringList out;
    for (double v : values)
        out << NumText(v);
    return out;
}

class IrigTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        potEvap = std::make_unique<TFormPotEvap>(services);
        meteo = std::make_unique<TFormIrigData>(services, *potEvap);
        crop = std::make_unique<TFrmIrrigConsData>(services, *meteo);
        irig = std::make_unique<TFormIrig>(services, *meteo, *crop);
    }

    TKyStringGrid& grid() { return *meteo->StrGrdMonthsTemp; }

    // Blaney-Criddle with the temperatures above at latitude 40.
    void EnterBlaneyCriddle(const Months& temps = Temps)
    {
        meteo->SetMethod(irmBC);
        meteo->EdtPhi->setText("40");
        FillColumn(grid(), 1, 1, Texts(temps));
    }

    // A crop of the first crop row added through the crop data form.
    void AddCrop(const QString& area, const QString& semDay = "100")
    {
        crop->updateForm(-1);
        crop->EdtUnits->setText(area);
        crop->EdtSemD->setText(semDay);
        crop->Button2Click();
        crop->BtnUpdateClick();
        ASSERT_EQ(crop->result(), QDialog::Accepted);
        crop->setResult(0);
    }

    // An irrigation user stored with Modified Blaney-Criddle.
    TWaterUser& StoredModBlaney()
    {
        TWaterUser& u = WatUserRec.append();
        u.Category = CatIrrigation;
        u.Geo_id = 7;
        u.Toponym = "Valley";
        u.MethId = MethModBlaneyCriddle;
        u.Latitude = 38.25;
        u.TblMnthMinT = Temps;
        u.TblRelHum.fill(65);
        u.TblRelSun.fill(60);
        u.TblWindSp.fill(2.5);
        return u;
    }

    std::unique_ptr<TFormPotEvap> potEvap;
    std::unique_ptr<TFormIrigData> meteo;
    std::unique_ptr<TFrmIrrigConsData> crop;
    std::unique_ptr<TFormIrig> irig;
};

TEST_F(IrigTest, MethodLayouts)
{
    meteo->SetMethod(irmPN);
    EXPECT_EQ(grid().ColCount(), 6);
    EXPECT_EQ(grid().RowCount(), 13);
    EXPECT_EQ(Column(grid(), 0, 1, 2), (QStringList{"January", "February"}));
    QStringList headings;
    for (int c = 1; c < 6; ++c)
        headings << grid().Cells(c, 0);
    EXPECT_EQ(headings, (QStringList{"Min Temp.(C)", "Max Temp.(C)", "Rel.Humidity", "Rel.Sunshine", "Wnd.Speed (m/s)"}));
    // The design widths, widened where a heading needs more room.
    EXPECT_EQ(grid().ColWidths(5), std::max(94, HeadingWidth(grid(), 5)));
    int columns = 2 * grid().frameWidth();
    for (int c = 0; c < 6; ++c) {
        EXPECT_GE(grid().ColWidths(c), HeadingWidth(grid(), c)) << c;
        columns += grid().ColWidths(c);
    }
    EXPECT_EQ(grid().width(), std::max(465, columns));
    EXPECT_TRUE(meteo->BtnPotEvapWat->isEnabled());
    EXPECT_TRUE(meteo->CheckBoxPM->isChecked());
    EXPECT_FALSE(meteo->EdtPhi->isHidden());

    grid().setCells(3, 4, "70");
    meteo->CheckBoxPM->click(); // the current method again: empties the grid
    EXPECT_TRUE(grid().Cells(3, 4).isEmpty());
    EXPECT_EQ(meteo->method(), irmPN);

    meteo->CheckBoxMBC->click();
    EXPECT_EQ(meteo->method(), irmMBC);
    EXPECT_EQ(grid().ColCount(), 5);
    EXPECT_EQ(grid().Cells(1, 0), "Temperature (C)");
    EXPECT_FALSE(meteo->BtnPotEvapWat->isEnabled());
    EXPECT_FALSE(meteo->CheckBoxPM->isChecked());
    EXPECT_EQ(meteo->CmbClima->count(), 0);

    meteo->CheckBoxEMP->click();
    EXPECT_EQ(grid().ColCount(), 2);
    EXPECT_EQ(grid().Cells(1, 0), "Heat index");
    EXPECT_EQ(grid().width(), 180);
    EXPECT_TRUE(meteo->EdtPhi->isHidden());
    EXPECT_TRUE(meteo->Label2->isHidden());
    EXPECT_EQ(meteo->CmbClima->count(), 4);
    EXPECT_EQ(meteo->CmbClima->currentIndex(), -1);
    EXPECT_EQ(meteo->StrGrdMemo->item(0, 1)->text(), QString::fromUtf8("if the temperature is less than 15°C"));
    EXPECT_EQ(meteo->StrGrdMemo->item(1, 1)->text(), QString::fromUtf8("if the temperature lies between 15-25°C"));
    EXPECT_EQ(meteo->StrGrdMemo->item(2, 0)->text(), "3");
    EXPECT_FALSE(meteo->BtnPotEvapWat->isEnabled());
}

TEST_F(IrigTest, OkChecksOneMessageAtATime)
{
    struct Case {
        const char* name;
        TIrrigMethod method;
        QString latitude;
        QString fill; // every data cell
        int zone;     // Empirical: climatic zone index
        std::function<void(TKyStringGrid&)> change;
        QString expected;
    };
    const auto none = [](TKyStringGrid&) {};
    const Case cases[] = {
        {"north edge", irmBC, "66.5", "10", -1, none, {}},
        {"south edge", irmBC, "-66.5", "10", -1, none, {}},
        {"beyond", irmBC, "66.6", "10", -1, none, LatMessage},
        {"empty latitude", irmBC, "", "10", -1, none, LatMessage},
        {"latitude before cells", irmPN, "x", "", -1, none, LatMessage},
        {"negative temperature", irmBC, "40", "10", -1, [](TKyStringGrid& g) { g.setCells(1, 1, "-2"); },
         DataMessage},
        {"letters", irmMBC, "40", "50", -1, [](TKyStringGrid& g) { g.setCells(4, 7, "calm"); }, DataMessage},
        {"Penman valid", irmPN, "40", "5", -1, none, {}},
        {"Empirical ignores latitude", irmEMP, "", "2", 1, none, {}},
        {"heat index 2.0", irmEMP, "", "2", 1, [](TKyStringGrid& g) { g.setCells(1, 5, "2.0"); }, DataMessage},
        {"heat index 4", irmEMP, "", "2", 1, [](TKyStringGrid& g) { g.setCells(1, 5, "4"); },
         "Values from 1 to 3 are expected as heat index!"},
        {"heat index 0", irmEMP, "", "2", 1, [](TKyStringGrid& g) { g.setCells(1, 5, "0"); },
         "Values from 1 to 3 are expected as heat index!"},
        {"no zone", irmEMP, "", "3", -1, none, "A climatic zone must be selected!"},
        {"zone checked before signs", irmEMP, "", "3", -1, [](TKyStringGrid& g) { g.setCells(1, 1, "-1"); },
         "A climatic zone must be selected!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        services.changed = false;
        meteo->setResult(0);
        meteo->SetMethod(c.method);
        meteo->EdtPhi->setText(c.latitude);
        for (int col = 1; col < grid().ColCount(); ++col)
            FillColumn(grid(), col, 1, Repeat(c.fill));
        meteo->CmbClima->setCurrentIndex(c.zone);
        c.change(grid());
        meteo->BtnOkClick();
        ExpectOkOutcome(*meteo, services, c.expected);
    }
}

TEST_F(IrigTest, ReadMeteoDataLaysTheSeriesOutBlockByBlock)
{
    std::vector<double> data{-1};
    double phi = -1;
    int arid = -1, method = -1;
    meteo->ReadMeteoData(data, phi, arid, method); // no method yet: nothing changes
    EXPECT_EQ(data, std::vector<double>{-1});
    EXPECT_EQ(method, -1);

    meteo->SetMethod(irmMBC);
    meteo->EdtPhi->setText("41.5");
    for (int col = 1; col <= 4; ++col)
        for (int m = 1; m <= 12; ++m)
            grid().setCells(col, m, QString::number(col * 100 + m));
    meteo->ReadMeteoData(data, phi, arid, method);
    ASSERT_EQ(data.size(), 48u);
    EXPECT_EQ(data[0], 101);
    EXPECT_EQ(data[11], 112);
    EXPECT_EQ(data[12], 201);
    EXPECT_EQ(data[47], 412);
    EXPECT_EQ(phi, 41.5);
    EXPECT_EQ(arid, -1);
    EXPECT_EQ(method, 3);

    meteo->SetMethod(irmEMP);
    FillColumn(grid(), 1, 1, Repeat("2"));
    meteo->CmbClima->setCurrentIndex(2);
    phi = 5;
    meteo->ReadMeteoData(data, phi, arid, method);
    EXPECT_EQ(data.size(), 12u);
    EXPECT_EQ(phi, 5);
    EXPECT_EQ(arid, 3);
    EXPECT_EQ(method, 1);

    grid().setCells(1, 4, "warm");
    EXPECT_THROW(meteo->ReadMeteoData(data, phi, arid, method), VelnorError);
}

TEST_F(IrigTest, LastValuesCopiesTheLastUserWithTheSameMethod)
{
    meteo->SetMethod(irmBC);
    meteo->BtnLastClick(); // nobody has Blaney-Criddle: nothing changes
    EXPECT_EQ(Column(grid(), 1, 1, 12), Repeat(""));

    TWaterUser& first = WatUserRec.append();
    first.MethId = MethBlaneyCriddle;
    first.TblMnthMinT.fill(11);
    first.Latitude = 12;
    StoredModBlaney();
    meteo->EdtPhi->setText("30");
    meteo->BtnLastClick();
    EXPECT_EQ(Column(grid(), 1, 1, 12), Repeat("11"));
    EXPECT_EQ(meteo->EdtPhi->text(), "30");

    TWaterUser& later = WatUserRec.append();
    later.MethId = MethBlaneyCriddle;
    later.TblMnthMinT = Temps;
    meteo->BtnLastClick();
    EXPECT_EQ(Column(grid(), 1, 1, 12), Texts(Temps));

    meteo->SetMethod(irmMBC);
    meteo->BtnLastClick();
    EXPECT_EQ(grid().Cells(2, 1), "65");
    EXPECT_EQ(grid().Cells(4, 12), "2.5");

    TWaterUser& emp = WatUserRec.append();
    emp.MethId = MethEmpirical;
    emp.TblMnthMinT.fill(3);
    emp.TblRelHum[0] = 2;
    meteo->SetMethod(irmEMP);
    meteo->BtnLastClick();
    EXPECT_EQ(Column(grid(), 1, 1, 12), Repeat("3"));
    EXPECT_EQ(meteo->CmbClima->currentIndex(), 1);
}

TEST_F(IrigTest, EtoViewShowsMonthsWithOneDecimalAndTheUnroundedTotal)
{
    EnterBlaneyCriddle();
    std::vector<double> data(Temps.begin(), Temps.end());
    Months expected{};
    WrapPotEvap(data, expected, 40, 0, MethBlaneyCriddle, true);
    double total = 0;
    for (double v : expected)
        total += v;

    prompter().onExec = [this](QDialog& d) {
        EXPECT_EQ(&d, potEvap.get());
        return int(QDialog::Accepted);
    };
    meteo->BtnPotEvapRefClick();
    ASSERT_TRUE(prompter().errors().isEmpty());
    const TKyStringGrid& g = *potEvap->StrGrdTot;
    EXPECT_EQ(potEvap->windowTitle(), "ETo of Reference Crop");
    EXPECT_EQ(g.Cells(1, 0), "mm");
    EXPECT_EQ(g.Cells(0, 1), "January");
    EXPECT_EQ(g.Cells(1, 7), QString::asprintf("%7.1f", expected[6]));
    EXPECT_EQ(g.Cells(1, 7).size(), 7);
    EXPECT_EQ(g.Cells(0, 13), "Total");
    EXPECT_EQ(g.Cells(1, 13), QString::asprintf("%7.1f", total));

    potEvap->BtnCopyClick();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("\tmm\r\nJanuary\t" + QString::asprintf("%7.1f", expected[0]) + "\r\n"));
    EXPECT_TRUE(copied.endsWith("Total\t" + QString::asprintf("%7.1f", total) + "\r\n"));
    EXPECT_EQ(copied.count("\r\n"), 14);

    // The open-water view leaves the unit cell alone.
    meteo->SetMethod(irmPN);
    meteo->EdtPhi->setText("40");
    FillColumn(grid(), 1, 1, Repeat("10"));
    FillColumn(grid(), 2, 1, Repeat("24"));
    FillColumn(grid(), 3, 1, Repeat("60"));
    FillColumn(grid(), 4, 1, Repeat("0.6"));
    FillColumn(grid(), 5, 1, Repeat("2"));
    potEvap->StrGrdTot->setCells(1, 0, "unit");
    meteo->BtnPotEvapWatClick();
    EXPECT_EQ(potEvap->windowTitle(), "ETo of Water");
    EXPECT_EQ(g.Cells(1, 0), "unit");

    // An unreadable cell: the conversion error, and no view.
    prompter().clear();
    grid().setCells(2, 3, "");
    meteo->BtnPotEvapRefClick();
    EXPECT_EQ(prompter().errors().size(), 1);
    EXPECT_TRUE(prompter().texts(test::ScriptedPrompter::Kind::Dialog).isEmpty());
}

TEST_F(IrigTest, PasteFillsTheGridFromItsFirstDataCell)
{
    meteo->SetMethod(irmBC);
    QApplication::clipboard()->setText("12\t1\r\n13\t2\r\n");
    meteo->BtnPasteClick();
    EXPECT_EQ(grid().Cells(1, 1), "12");
    EXPECT_EQ(grid().Cells(1, 2), "13");
    EXPECT_EQ(grid().Cells(2, 2), "2");
    EXPECT_EQ(grid().ColCount(), 3);
}

TEST_F(IrigTest, CropChecksReportEveryProblemInOrder)
{
    struct Case {
        const char* name;
        QString area, semDay;
        bool defaults;
        QStringList lines;
    };
    const Case cases[] = {
        {"first day", "10", "1", true, {}},
        {"last day and no area", "0", "365", true, {}},
        {"day 0", "10", "0", true, {"The semination day must be an integer between 1 and 365"}},
        {"day 366", "10", "366", true, {"The semination day must be an integer between 1 and 365"}},
        {"negative area", "-1", "5", true, {"The area must be a positive integer number"}},
        {"empty coefficients", "10", "5", false,
         {"Coefficient Kc mid must be a positive real number", "Coefficient Kc late must be a positive real number",
          "Coefficient Kc ini must be a positive real number", "Coefficient L ini must be a positive real number",
          "Coefficient L dev must be a positive real number", "Coefficient L mid must be a positive real number",
          "Coefficient L late must be a positive real number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        crop->updateForm(-1);
        crop->EdtUnits->setText(c.area);
        crop->EdtSemD->setText(c.semDay);
        if (c.defaults)
            crop->Button2Click();
        EXPECT_EQ(crop->checkData(), c.lines.isEmpty());
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(prompter().errors(), QStringList{"Error Messages:\n\r" + c.lines.join("\n\r")});
        }
    }
    prompter().clear();
    crop->updateForm(-1);
    crop->CmbCultures->setCurrentIndex(-1);
    crop->EdtUnits->setText("1");
    crop->EdtSemD->setText("1");
    crop->EdtKcMid->setText("1");
    for (QLineEdit* e : {crop->EdtKcLate, crop->EdtKcIni, crop->EdtLIni, crop->EdtLDev, crop->EdtLMid, crop->EdtLLate})
        e->setText("-1");
    EXPECT_FALSE(crop->checkData());
    const QStringList lines = prompter().errors().value(0).split("\n\r");
    EXPECT_EQ(lines.size(), 8);
    EXPECT_EQ(lines.value(1), "No Crop selected");
}

TEST_F(IrigTest, CropDefaultsAndStoring)
{
    EnterBlaneyCriddle();
    crop->updateForm(-1);
    EXPECT_EQ(crop->CmbCultures->currentText(), "Cereals: Barley");
    EXPECT_EQ(crop->CmbCultures->count(), 50);
    crop->EdtSemD->setText("60");
    crop->EdtUnits->setText("12");
    crop->Button2Click();
    EXPECT_EQ(crop->EdtSemD->text(), "60");
    const QStringList shown{crop->EdtLIni->text(),  crop->EdtLDev->text(),  crop->EdtLMid->text(),
                            crop->EdtLLate->text(), crop->EdtKcIni->text(), crop->EdtKcMid->text(),
                            crop->EdtKcLate->text()};
    EXPECT_EQ(shown, (QStringList{"20", "45", "105", "135", "0.3", "1.15", "0.25"}));
    crop->EdtKcMid->setText("1.2");
    crop->BtnUpdateClick();
    ASSERT_EQ(WatConsRec.size(), 1u);
    const TWaterConsumptor& c = WatConsRec[0];
    EXPECT_EQ(c.CnsmpId, 1);
    EXPECT_EQ(c.CnsmpType.str(), "Cereals: Barley");
    EXPECT_EQ(c.UnitsNum, 12);
    EXPECT_EQ(c.Sem_day, 60);
    EXPECT_DOUBLE_EQ(c.TblKc[5], 1.2);
    EXPECT_EQ(crop->currentCrop, 0);

    crop->updateForm(0);
    EXPECT_FALSE(crop->CmbCultures->isEnabled());
    EXPECT_EQ(crop->CmbCultures->currentIndex(), 0);
    EXPECT_EQ(crop->EdtKcMid->text(), "1.2");
    EXPECT_EQ(crop->EdtSemD->text(), "60");
    crop->EdtUnits->setText("3");
    crop->BtnUpdateClick();
    EXPECT_EQ(WatConsRec.size(), 1u);
    EXPECT_EQ(WatConsRec[0].UnitsNum, 3);
    EXPECT_EQ(WatConsRec[0].CnsmpId, 1);
}

TEST_F(IrigTest, ListFormatsNeedsWithThreeDecimals)
{
    WatConsRec.resize(1);
    WatConsRec[0].CnsmpType = "Cereals: Barley";
    WatConsRec[0].Sem_day = 90;
    WatConsRec[0].UnitsNum = 5;
    WatConsRec[0].yearneeds = 0.0256;
    irig->RefreshGrid();
    const TKyStringGrid& g = *irig->StrGrdIrig;
    EXPECT_EQ(g.Cells(3, 0), "Needs (hm3/year)");
    EXPECT_EQ(g.Cells(1, 1), "90");
    EXPECT_EQ(g.Cells(2, 1), "5");
    EXPECT_EQ(g.Cells(3, 1), "0.026");
    services.unit = "m3";
    irig->RefreshGrid();
    EXPECT_EQ(g.Cells(3, 0), "Needs (m3/year)");
    EXPECT_EQ(g.Cells(3, 1), "25600.000");
}

TEST_F(IrigTest, NewCropNeedsMeteorologicalDataFirst)
{
    meteo->SetMethod(irmBC);
    irig->ToolBtnAddClick();
    EXPECT_EQ(prompter().errors(), QStringList{"Meteorological Data must be given first!"});
    EXPECT_TRUE(prompter().texts(test::ScriptedPrompter::Kind::Dialog).isEmpty());
}

TEST_F(IrigTest, GetRecDataShowsTheStoredDataOfEachMethod)
{
    StoredModBlaney();
    WatConsRec.resize(1); // the caller has copied the crops
    irig->GetRecData(0);
    EXPECT_EQ(irig->EdtTopo->text(), "Valley");
    EXPECT_EQ(meteo->Memo1->text(), "0");
    EXPECT_EQ(meteo->method(), irmMBC);
    EXPECT_EQ(Column(grid(), 1, 1, 12), Texts(Temps));
    EXPECT_EQ(Column(grid(), 2, 1, 12), Repeat("65"));
    EXPECT_EQ(Column(grid(), 3, 1, 12), Repeat("60"));
    EXPECT_EQ(Column(grid(), 4, 1, 12), Repeat("2.5"));
    EXPECT_EQ(meteo->EdtPhi->text(), "38.25");

    TWaterUser& emp = WatUserRec.append();
    emp.MethId = MethEmpirical;
    emp.TblMnthMinT.fill(2);
    emp.TblMnthMinT[3] = 0;
    emp.TblRelHum[0] = 4;
    irig->GetRecData(1);
    EXPECT_EQ(meteo->method(), irmEMP);
    EXPECT_EQ(grid().Cells(1, 3), "2");
    EXPECT_EQ(grid().Cells(1, 4), "");
    EXPECT_EQ(meteo->CmbClima->currentIndex(), 3);
    EXPECT_EQ(meteo->EdtPhi->text(), "38.25"); // Empirical keeps the latitude box

    WatUserRec.append(); // no data yet
    irig->GetRecData(2);
    EXPECT_EQ(meteo->method(), irmEMP);
    EXPECT_EQ(meteo->CmbClima->currentIndex(), -1);
    EXPECT_EQ(Column(grid(), 1, 1, 12), Repeat(""));
}

TEST_F(IrigTest, AcceptedMeteorologicalDataRecomputeTheCropsAndAreStoredAtOnce)
{
    WatUserRec.append();
    meteo->Memo1->setText("0");
    EnterBlaneyCriddle();
    AddCrop("10");
    irig->RecalculateNeeds();
    const double before = WatConsRec[0].yearneeds;
    ASSERT_GT(before, 0);

    irig->EdtTopo->setText("typed");
    prompter().execQueue.push_back([this](QDialog& d) {
        EXPECT_EQ(&d, meteo.get());
        Months warmer = Temps;
        for (double& t : warmer)
            t += 5;
        EnterBlaneyCriddle(warmer);
        meteo->BtnOkClick();
        return meteo->result();
    });
    irig->BtnMetDatClick();
    EXPECT_TRUE(irig->EdtTopo->text().isEmpty()); // reloaded from the record
    EXPECT_GT(WatConsRec[0].yearneeds, before);
    EXPECT_EQ(irig->StrGrdIrig->Cells(3, 1), FixedText("%5.3f", WatConsRec[0].yearneeds));
    EXPECT_EQ(WatUserRec[0].MethId, MethBlaneyCriddle);
    EXPECT_EQ(WatUserRec[0].Latitude, 40);
    EXPECT_EQ(WatUserRec[0].TblMnthMinT[0], Temps[0] + 5);

    // Cancel: what was typed is dropped and the stored data come back.
    const double after = WatConsRec[0].yearneeds;
    prompter().execQueue.push_back([this](QDialog&) {
        grid().setCells(1, 1, "35");
        return int(QDialog::Rejected);
    });
    irig->BtnMetDatClick();
    EXPECT_EQ(grid().Cells(1, 1), NumText(Temps[0] + 5));
    EXPECT_EQ(WatConsRec[0].yearneeds, after);
}

TEST_F(IrigTest, RecalculationOnAnUnreadableGridShowsTheErrorAndChangesNoCrop)
{
    TWaterUser& emp = WatUserRec.append();
    emp.MethId = MethEmpirical;
    emp.TblMnthMinT.fill(2);
    emp.TblRelHum[0] = 2;
    irig->GetRecData(0);
    AddCrop("10");
    AddCrop("20");
    irig->RecalculateNeeds();
    const ConsumptorList before = WatConsRec;

    emp.TblMnthMinT[5] = 0; // stored data the check would refuse
    irig->GetRecData(0);
    prompter().execQueue.push_back([this](QDialog&) {
        crop->EdtUnits->setText("99");
        crop->EdtSemD->setText("10");
        crop->Button2Click();
        crop->BtnUpdateClick(); // the new crop cannot be worked out either
        return crop->result();
    });
    irig->ToolBtnAddClick();
    EXPECT_EQ(prompter().errors().size(), 2);
    ASSERT_EQ(WatConsRec.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(WatConsRec[i].UnitsNum, before[i].UnitsNum);
        EXPECT_EQ(WatConsRec[i].yearneeds, before[i].yearneeds);
        EXPECT_EQ(WatConsRec[i].TblConsp, before[i].TblConsp);
    }
}

} // namespace
