// Every editor dialog, shown with typical contents: no caption of a label,
// button, check box or grid heading is cut off, and every control lies inside
// its window. With VELNOR_SHOT_DIR set, each dialog is also saved there as a
// picture (run under a display, e.g. xvfb-run, to look at them).

#include "EditorFixture.h"

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

// Problems of one shown dialog: controls outside the window and texts wider
// than the room their control has.
QStringList LayoutProblems(QWidget& form)
{
    QStringList problems;
    const QRect window = form.rect();
    const auto name = [](const QWidget* w) {
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
    };
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&form) || w->isWindow() || w->width() == 0)
            continue;
        const QRect r(w->mapTo(&form, QPoint(0, 0)), w->size());
        if (!window.contains(r))
            problems << name(w) + QStringLiteral(" lies outside the window");
        if (qobject_cast<QAbstractButton*>(w) && w->isEnabled()) {
            // A click on the middle of a button must reach it, not a widget lying over it.
            QWidget* hit = form.childAt(r.center());
            while (hit && hit != w)
                hit = hit->parentWidget();
            if (!hit)
                problems << name(w) + QStringLiteral(" is covered by ") + name(form.childAt(r.center()));
        }
        const QFontMetrics fm(w->font());
        QString text;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap() && label->pixmap().isNull()) {
            text = label->text();
            room = label->contentsRect().width() - 2 * label->margin();
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            text = box->text();
            const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                                  w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
            room = w->width() - indicator;
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = button->text();
            // The style's own room: the button margin and the frame on both sides.
            room = w->width() - w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) -
                   2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            room = w->width() - 8;
        }
        text.remove(QLatin1Char('&'));
        if (!text.isEmpty() && fm.horizontalAdvance(text) > room)
            problems << QStringLiteral("%1: \"%2\" needs %3 pixels, has %4")
                            .arg(name(w), text)
                            .arg(fm.horizontalAdvance(text))
                            .arg(room);
        if (auto* grid = qobject_cast<TKyStringGrid*>(w)) {
            const QFontMetrics gm(grid->font());
            for (int c = 0; c < grid->ColCount(); ++c) {
                const int width = grid->ColWidths(c);
                for (int row = 0; row < grid->RowCount(); ++row) {
                    const QString cell = grid->Cells(c, row);
                    // Cells get 2 pixels of margin on each side.
                    if (width > 0 && !cell.isEmpty() && gm.horizontalAdvance(cell) + 4 > width)
                        problems << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 pixels, column has %6")
                                        .arg(name(w))
                                        .arg(c)
                                        .arg(row)
                                        .arg(cell)
                                        .arg(gm.horizontalAdvance(cell) + 4)
                                        .arg(width);
                }
            }
        }
    }
    return problems;
}

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
        const QStringList problems = LayoutProblems(form);
        EXPECT_TRUE(problems.isEmpty()) << shotName.toStdString() << ":\n"
                                        << problems.join(QLatin1Char('\n')).toStdString();
        const QString dir = qEnvironmentVariable("VELNOR_SHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(form.grab().save(QDir(dir).filePath(shotName + QStringLiteral(".png"))));
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
    const std::pair<TIrrigMethod, const char*> methods[] = {
        {irmPN, "FormIrigData-PN"}, {irmMBC, "FormIrigData-MBC"}, {irmBC, "FormIrigData-BC"}, {irmEMP, "FormIrigData-EMP"}};
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
