#pragma once

#include "widgets/LForm.h"
#include "widgets/Services.h"

#include "core/DataTables.h"

#include <QString>

#include <vector>

class QComboBox;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;

QT_BEGIN_NAMESPACE
class QChartView;
class QLineSeries;
QT_END_NAMESPACE

namespace velnor::ui {

class TKyStringGrid;

// Help contexts of the results form and its pages.
inline constexpr int ctxtResults = 47;
inline constexpr int ctxtResultsTotal = 48;
inline constexpr int ctxtResultsWaterUser = 49;
inline constexpr int ctxtResultsWaterUserCategory = 50;

// The chart title of the totals page.
inline constexpr const char* TotalsChartTitle = "Total water consumation";

// The results: the monthly needs of the whole scenario, of one water user and
// of one category, each as a table and a line chart. Tables are copied and
// saved as CSV files, charts saved as BMP or PNG pictures. It only reads the
// working scenario.
class TFormResults : public TLForm {
    Q_OBJECT
public:
    explicit TFormResults(AppServices& services, QWidget* parent = nullptr);
    ~TFormResults() override;

    // Each time the form is shown: cleared, totals shown, "Totals" page active.
    void LFormShow();
    // A page was selected by its tab.
    void PageControlChange(int page);
    void ClearForm();
    void ShowTotals();
    void PrepareWUCombo();
    void ShowWUTotals();
    void PrepareConsCombo();
    void ShowConsTotals();
    void CmbGeoIdsChange() { ShowWUTotals(); }
    void CmbCnsmpChange() { ShowConsTotals(); }

    // The tool buttons' commands.
    void CopyGrid(const TKyStringGrid& grid);
    void exporttoCsv(const TKyStringGrid& grid);
    void CopyGraph(QChartView& chart);

    // The file name CopyGraph proposes: the first line of the chart's title and ".bmp".
    static QString ProposedGraphName(const QChartView& chart);
    static QString GraphFilter();
    static QString CsvFilter();
    // Draws the chart at its current size on white into a BMP or PNG file
    // (format "BMP" or "PNG"); throws IoError when the file cannot be written.
    static void SaveChart(QChartView& chart, const QString& fileName, const char* format);

    // The entry of the water-user chooser the page shows, or -1: the chosen
    // entry when the text is its name, else the first entry of that name.
    int chosenUserEntry() const;
    // Geo_id of each entry of the water-user chooser, in its order.
    const std::vector<int>& TblIds() const { return tblIds_; }

    QTabWidget* PageControl;
    QWidget* Totals;
    QWidget* GeoID;
    QWidget* ConsType;
    QComboBox* CmbGeoIds;
    QComboBox* CmbCnsmp;
    TKyStringGrid* StrGrdTotNeeds;
    TKyStringGrid* StrGrdWUtNeeds;
    TKyStringGrid* StrGrdTypeNeeds;
    QChartView* Chart1;
    QChartView* Chart2;
    QChartView* Chart3;
    QLineSeries* Series1;
    QLineSeries* Series2;
    QLineSeries* Series3;
    QStatusBar* StatusBar1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Page {
        QWidget* page;
        QSplitter* splitter;
        TKyStringGrid* grid;
        QChartView* chart;
        QLineSeries* series;
    };
    Page buildPage(const char* pageName, const QString& caption, const char* splitterName, QComboBox* chooser,
                   const char* gridName, const char* chartName, const char* seriesName, const QString& chartTitle,
                   const QString& bottomTitle, const char* copyName, const char* csvName, const char* helpName,
                   int helpContext, const char* graphName);
    QComboBox* makeChooser(const char* name);
    QString unitText() const;
    // The common steps of the three views: header and left-axis title, the
    // months and their total in the unit, the chart from the table's numbers.
    void ShowHeader(TKyStringGrid& grid, QChartView& chart);
    void ShowMonths(TKyStringGrid& grid, QChartView& chart, QLineSeries& series, Months T, const char* totalPattern);
    void clearView(TKyStringGrid& grid, QLineSeries& series);

    AppServices& services_;
    std::vector<int> tblIds_;
};

} // namespace velnor::ui
