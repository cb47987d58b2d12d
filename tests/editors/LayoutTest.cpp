// Every editor dialog and the report boxes, shown with typical contents, fit a
// 1366x768 screen (the tests run again with QT_SCALE_FACTOR=1.5): no caption of
// a label, button, check box, table or title bar is cut off, and every control
// lies inside its window. With VELNOR_SHOT_DIR set, each dialog is also saved
// there as a picture (run under a display, e.g. xvfb-run, to look at them).

#include "EditorFixture.h"
#include "FormChecks.h"

#include "app/Dispatch.h"
#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"
#include "editors/FrmIndust.h"
#include "editors/FrmIndustData.h"
#include "editors/FrmIrig.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/FrmPotEvap.h"
#include "editors/FrmWatSup.h"
#include "results/FrmResults.h"

#include "core/RcrdFuncs.h"
#include "widgets/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

using namespace velnor::test;

namespace {

class LayoutTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        dispatch = std::make_unique<TEditDispatch>(services, nullptr);
    }

    // Shows the dialog, checks it and saves its picture when asked to.
    void Check(QWidget& form, const QString& shotName)
    {
        form.show();
        QApplication::processEvents();
        const QString shot = form.devicePixelRatioF() == 1.0
                                 ? shotName
                                 : shotName + QStringLiteral("@%1").arg(form.devicePixelRatioF());
        const QStringList problems = LayoutProblems(form);
        EXPECT_TRUE(problems.isEmpty()) << shot.toStdString() << ":\n"
                                        << problems.join(QLatin1Char('\n')).toStdString();
        const QString dir = qEnvironmentVariable("VELNOR_SHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(form.grab().save(QDir(dir).filePath(shot + QStringLiteral(".png"))));
        }
        form.hide();
    }

    std::unique_ptr<TEditDispatch> dispatch;
};

TEST_F(LayoutTest, WaterSupplyEditor)
{
    TFormWatSup& f = dispatch->FormWatSup();
    f.PrepareNew();
    f.EdtTopo->setText("Kalamaki");
    f.EdtPop->setText("12400");
    f.BtnDefaultClick();
    Check(f, "FormWatSup");
}

TEST_F(LayoutTest, IndustryEditors)
{
    WatConsRec.clear();
    AddExRecInd(1, 3, 0);
    AddExRecInd(2, 1, 1);
    TFormIndust& list = dispatch->FormIndust();
    list.RefreshGrid();
    list.EdtTopo->setText("Harbour industrial zone");
    Check(list, "FormIndust");

    TFormIndData& data = dispatch->FormIndData();
    data.updateForm(0);
    Check(data, "FormIndData");

    // The report of an empty grid: one line for each of its 24 cells.
    data.updateForm(-1);
    EXPECT_FALSE(data.checkData());
    ASSERT_FALSE(prompter().errors().isEmpty());
    auto box = MakeMessageBox(&list, QMessageBox::Critical, prompter().errors().last(), QMessageBox::Ok,
                              QMessageBox::Ok);
    Check(*box, "IndustryReport");
}

TEST_F(LayoutTest, FarmingEditors)
{
    WatConsRec.clear();
    AddExRecFarm(1, 420, 0);
    AddExRecFarm(2, 1800, 1);
    TFormFarm& list = dispatch->FormFarm();
    list.RefreshGrid();
    list.EdtTopo->setText("Upper valley farms");
    Check(list, "FormFarm");

    TFormFarmData& data = dispatch->FormFarmData();
    data.updateForm(1);
    Check(data, "FormFarmData");
}

TEST_F(LayoutTest, IrrigationEditors)
{
    const std::vector<double> temps{9.5, 10.2, 12.4, 15.8, 20.3, 24.9, 27.6, 27.2, 23.8, 19.1, 14.6, 11.0};
    WatConsRec.clear();
    AddExRecIrig(temps, 38.0, 0, 100, MethBlaneyCriddle, 2, 250, 0);
    AddExRecIrig(temps, 38.0, 0, 120, MethBlaneyCriddle, 5, 80, 1);
    TFormIrig& list = dispatch->FormIrig();
    list.RefreshGrid();
    list.EdtTopo->setText("Coastal plain");
    Check(list, "FormIrig");

    TFrmIrrigConsData& crop = dispatch->FrmIrrigConsData();
    crop.updateForm(0);
    Check(crop, "FrmIrrigConsData");

    TFormIrigData& meteo = dispatch->FormIrigData();
    // The heat-index legend, filled by the empirical method, stays for the others.
    const std::pair<TIrrigMethod, const char*> methods[] = {{irmEMP, "FormIrigData-EMP"},
                                                            {irmPN, "FormIrigData-PN"},
                                                            {irmMBC, "FormIrigData-MBC"},
                                                            {irmBC, "FormIrigData-BC"}};
    for (const auto& [method, shot] : methods) {
        meteo.SetMethod(method);
        for (int c = 1; c < meteo.StrGrdMonthsTemp->ColCount(); ++c)
            FillColumn(*meteo.StrGrdMonthsTemp, c, 1, Repeat(method == irmEMP ? "2" : "21.5"));
        meteo.EdtPhi->setText("38.5");
        if (method == irmEMP)
            meteo.CmbClima->setCurrentIndex(3);
        Check(meteo, shot);
    }

    Months evap{};
    evap.fill(123.4);
    dispatch->FormPotEvap().ShowValues(evap, true);
    Check(dispatch->FormPotEvap(), "FormPotEvap");
    dispatch->FormPotEvap().ShowValues(evap, false);
    Check(dispatch->FormPotEvap(), "FormPotEvap-Water");
}

TEST_F(LayoutTest, ResultsForm)
{
    for (int i = 0; i < 3; ++i) {
        TWaterUser& u = WatUserRec.append();
        u.Category = 1 + i;
        u.Geo_id = i + 1;
        u.Toponym = "Harbour industrial zone";
        u.TblMonthNeeds.fill(0.0027678);
    }
    // Below 0.1 hm3 a year the program shows m3: the widest numbers it shows.
    services.unit = "m3";
    TFormResults form(services);
    const std::pair<QWidget*, const char*> pages[] = {
        {form.Totals, "FormResults-Totals"}, {form.GeoID, "FormResults-GeoID"}, {form.ConsType, "FormResults-ConsType"}};
    for (const auto& [page, shot] : pages) {
        form.show();
        form.PageControl->setCurrentWidget(page);
        form.CmbGeoIds->setCurrentIndex(0);
        form.CmbCnsmp->setCurrentIndex(0);
        Check(form, shot);
    }
}

} // namespace
