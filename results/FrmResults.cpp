#include "results/FrmResults.h"

#include "results/ResultSums.h"

#include "core/Errors.h"
#include "editors/EditorSupport.h"
#include "widgets/KyStringGrid.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QListView>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace velnor::ui {

namespace {

constexpr int LeftPartWidth = 185;

QIcon PaintedIcon(const std::function<void(QPainter&)>& paint)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return QIcon(pm);
}

QIcon CopyIcon()
{
    return PaintedIcon([](QPainter& p) {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(3.5, 2.5, 10, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 6.5, 10, 12));
    });
}

QIcon CsvIcon()
{
    return PaintedIcon([](QPainter& p) {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 15, 13));
        for (double y : {7.5, 11.5})
            p.drawLine(QPointF(2.5, y), QPointF(17.5, y));
        p.drawLine(QPointF(8.5, 3.5), QPointF(8.5, 16.5));
        p.setPen(QPen(QColor(0, 64, 128), 2));
        p.drawLine(QPointF(12, 19), QPointF(18, 19));
    });
}

QIcon HelpIcon()
{
    return PaintedIcon([](QPainter& p) {
        p.setPen(QColor(0, 64, 128));
        p.setBrush(QColor(220, 232, 250));
        p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon GraphIcon()
{
    return PaintedIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.drawLine(3, 17, 17, 17);
        p.drawLine(3, 3, 3, 17);
        p.setPen(QPen(Qt::blue, 2));
        p.drawPolyline(QPolygon({QPoint(4, 14), QPoint(8, 9), QPoint(12, 11), QPoint(17, 4)}));
    });
}

// A small fuchsia diamond drawn at each point of a series.
QImage DiamondMarker()
{
    QImage image(7, 7, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 255));
    p.drawPolygon(QPolygonF({QPointF(3.5, 0.5), QPointF(6.5, 3.5), QPointF(3.5, 6.5), QPointF(0.5, 3.5)}));
    return image;
}

QValueAxis* Axis(const QChartView& chart, Qt::Alignment where)
{
    const QList<QAbstractAxis*> axes = chart.chart()->axes(where == Qt::AlignBottom ? Qt::Horizontal : Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

QToolButton* MakeToolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}

// One side of a page's splitter, a tool bar at its top.
struct SplitterPart {
    QWidget* widget;
    QVBoxLayout* layout;
    QToolBar* toolBar;
};

SplitterPart MakeSplitterPart(QSplitter* splitter)
{
    SplitterPart part{};
    part.widget = new QWidget(splitter);
    part.layout = new QVBoxLayout(part.widget);
    part.layout->setContentsMargins(0, 0, 0, 0);
    part.layout->setSpacing(2);
    part.toolBar = new QToolBar(part.widget);
    part.toolBar->setIconSize(QSize(20, 20));
    part.toolBar->setMovable(false);
    part.toolBar->setFloatable(false);
    part.layout->addWidget(part.toolBar);
    return part;
}

// A name without an extension gets the default one.
QString WithDefaultSuffix(const QString& name, const QString& suffix)
{
    return QFileInfo(name).suffix().isEmpty() ? name + QLatin1Char('.') + suffix : name;
}

// Replaces a chooser's entries, keeping its text (or `emptyText` when it has
// none) and its chosen entry when that still has the same name.
void RefillChooser(QComboBox& box, QStringList names, const QString& emptyText)
{
    const QSignalBlocker block(box);
    QString text = box.currentText();
    if (text.isEmpty())
        text = emptyText;
    const int previous = box.currentIndex();
    // One reset of a list model, not an item per entry.
    auto* model = qobject_cast<QStringListModel*>(box.model());
    model->setStringList(std::move(names));
    box.setCurrentIndex(previous >= 0 && previous < names.size() && names[previous] == text ? previous : -1);
    box.setEditText(text);
}

} // namespace

TFormResults::TFormResults(AppServices& services, QWidget* parent) : TLForm(parent), services_(services)
{
    setObjectName(QStringLiteral("FormResults"));
    setWindowTitle(tr("Results"));
    setSizeGripEnabled(true);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    CmbGeoIds = makeChooser("CmbGeoIds");
    CmbCnsmp = makeChooser("CmbCnsmp");

    const QString months = tr("Months");
    const Page totals = buildPage("Totals", tr("Totals"), "Splitter1", nullptr, "StrGrdTotNeeds", "Chart1", "Series1",
                                  tr(TotalsChartTitle), months, "ToolButton1", "ToolButton5", "ToolButton3",
                                  ctxtResultsTotal, "ToolButton4");
    const Page user = buildPage("GeoID", tr("Water User"), "Splitter2", CmbGeoIds, "StrGrdWUtNeeds", "Chart2",
                                "Series2", QString(), months, "ToolButton6", "ToolButton8", "ToolButton2",
                                ctxtResultsWaterUser, "ToolButton10");
    const Page category = buildPage("ConsType", tr("Water user category"), "Splitter3", CmbCnsmp, "StrGrdTypeNeeds",
                                    "Chart3", "Series3", QString(), QString(), "ToolButton11", "ToolButton13",
                                    "ToolButton7", ctxtResultsWaterUserCategory, "ToolButton15");
    const auto take = [](const Page& p, QWidget*& page, TKyStringGrid*& grid, QChartView*& chart,
                         QLineSeries*& series) {
        page = p.page;
        grid = p.grid;
        chart = p.chart;
        series = p.series;
    };
    take(totals, Totals, StrGrdTotNeeds, Chart1, Series1);
    take(user, GeoID, StrGrdWUtNeeds, Chart2, Series2);
    take(category, ConsType, StrGrdTypeNeeds, Chart3, Series3);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl, 1);
    layout->addWidget(StatusBar1);

    connect(PageControl, &QTabWidget::currentChanged, this,
            [this](int page) { Guarded(services_, this, [&] { PageControlChange(page); }); });
    for (QComboBox* chooser : {CmbGeoIds, CmbCnsmp}) {
        const auto changed = [this, chooser] {
            Guarded(services_, this, [&] { chooser == CmbGeoIds ? CmbGeoIdsChange() : CmbCnsmpChange(); });
        };
        connect(chooser, &QComboBox::editTextChanged, this, changed);
        connect(chooser, &QComboBox::currentIndexChanged, this, changed);
    }

    InitForm(*this, services, ctxtResults, 600, 400);
    ClearForm();
}

TFormResults::~TFormResults() = default;

QComboBox* TFormResults::makeChooser(const char* name)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setModel(new QStringListModel(box));
    // Long lists (a national scenario's water users) are neither measured nor
    // laid out item by item.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(10);
    auto* view = new QListView(box);
    view->setUniformItemSizes(true);
    box->setView(view);
    box->setMaxVisibleItems(20);
    return box;
}

TFormResults::Page TFormResults::buildPage(const char* pageName, const QString& caption, const char* splitterName,
                                           QComboBox* chooser, const char* gridName, const char* chartName,
                                           const char* seriesName, const QString& chartTitle,
                                           const QString& bottomTitle, const char* copyName, const char* csvName,
                                           const char* helpName, int helpContext, const char* graphName)
{
    Page p{};
    p.page = new QWidget(PageControl);
    p.page->setObjectName(QString::fromLatin1(pageName));
    auto* pageLayout = new QVBoxLayout(p.page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    p.splitter = new QSplitter(Qt::Horizontal, p.page);
    p.splitter->setObjectName(QString::fromLatin1(splitterName));
    p.splitter->setChildrenCollapsible(false);
    pageLayout->addWidget(p.splitter);

    // Left part: tool bar, chooser, table.
    const SplitterPart leftPart = MakeSplitterPart(p.splitter);
    QWidget* left = leftPart.widget;
    QVBoxLayout* leftLayout = leftPart.layout;
    QToolBar* leftBar = leftPart.toolBar;
    QToolButton* copy = MakeToolButton(leftBar, copyName, tr("Copy Selected"), CopyIcon());
    QToolButton* csv = MakeToolButton(leftBar, csvName, QString(), CsvIcon());
    QToolButton* help = MakeToolButton(leftBar, helpName, tr("Help"), HelpIcon());
    if (chooser) {
        chooser->setParent(left);
        leftLayout->addWidget(chooser);
    }
    p.grid = MakeGrid(left, services_, gridName);
    p.grid->setColCount(2);
    p.grid->setRowCount(14);
    p.grid->setFixedRows(1);
    p.grid->setFixedCols(1);
    p.grid->setOptions(goRangeSelect);
    p.grid->setColWidths(0, 90);
    p.grid->setColWidths(1, 86);
    p.grid->SetFitColToWidth(1);
    leftLayout->addWidget(p.grid, 1);

    // Right part: tool bar and chart.
    const SplitterPart rightPart = MakeSplitterPart(p.splitter);
    QWidget* right = rightPart.widget;
    QToolButton* graph = MakeToolButton(rightPart.toolBar, graphName, tr("Save Graph to file"), GraphIcon());

    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setTitle(chartTitle);
    chart->setMargins(QMargins(4, 4, 4, 4));
    p.series = new QLineSeries(chart);
    p.series->setObjectName(QString::fromLatin1(seriesName));
    p.series->setPen(QPen(Qt::blue, 2));
    p.series->setLightMarker(DiamondMarker());
    p.series->setMarkerSize(7);
    p.series->setPointLabelsVisible(false);
    chart->addSeries(p.series);
    const QPen grid(QColor(160, 160, 160), 1, Qt::DotLine);
    auto* bottom = new QValueAxis(chart);
    bottom->setRange(1, 12);
    bottom->setTickCount(12);
    bottom->setLabelFormat(QStringLiteral("%d"));
    bottom->setTitleText(bottomTitle);
    bottom->setGridLinePen(grid);
    auto* leftAxis = new QValueAxis(chart);
    leftAxis->setRange(0, 1);
    leftAxis->setGridLinePen(grid);
    chart->addAxis(bottom, Qt::AlignBottom);
    chart->addAxis(leftAxis, Qt::AlignLeft);
    p.series->attachAxis(bottom);
    p.series->attachAxis(leftAxis);
    p.chart = new QChartView(chart, right);
    p.chart->setObjectName(QString::fromLatin1(chartName));
    p.chart->setRenderHint(QPainter::Antialiasing);
    p.chart->setBackgroundBrush(Qt::white);
    p.chart->setMinimumSize(120, 120);
    rightPart.layout->addWidget(p.chart, 1);

    p.splitter->addWidget(left);
    p.splitter->addWidget(right);
    p.splitter->setStretchFactor(0, 0);
    p.splitter->setStretchFactor(1, 1);
    p.splitter->setSizes({LeftPartWidth, 600 - LeftPartWidth});
    PageControl->addTab(p.page, caption);

    TKyStringGrid* g = p.grid;
    QChartView* c = p.chart;
    connect(copy, &QToolButton::clicked, this, [this, g] { Guarded(services_, this, [&] { CopyGrid(*g); }); });
    connect(csv, &QToolButton::clicked, this, [this, g] { Guarded(services_, this, [&] { exporttoCsv(*g); }); });
    connect(help, &QToolButton::clicked, this, [this, helpContext] { services_.showHelp(helpContext); });
    connect(graph, &QToolButton::clicked, this, [this, c] { Guarded(services_, this, [&] { CopyGraph(*c); }); });
    return p;
}

void TFormResults::showEvent(QShowEvent* event)
{
    TLForm::showEvent(event);
    Guarded(services_, this, [this] { LFormShow(); });
}

void TFormResults::LFormShow()
{
    ClearForm();
    ShowTotals();
    const QSignalBlocker block(PageControl);
    PageControl->setCurrentWidget(Totals);
}

void TFormResults::PageControlChange(int page)
{
    QWidget* shown = PageControl->widget(page);
    if (shown == Totals)
        ShowTotals();
    else if (shown == GeoID)
        PrepareWUCombo();
    else if (shown == ConsType)
        PrepareConsCombo();
}

void TFormResults::clearView(TKyStringGrid& grid, QLineSeries& series)
{
    for (int r = 1; r <= 13; ++r)
        grid.setRow(r, {QString(), QString()});
    series.clear();
}

void TFormResults::ClearForm()
{
    for (TKyStringGrid* grid : {StrGrdTotNeeds, StrGrdWUtNeeds, StrGrdTypeNeeds})
        for (int r = 1; r <= 13; ++r)
            grid->setRow(r, {QString(), QString()});
    const QSignalBlocker blockUsers(CmbGeoIds);
    const QSignalBlocker blockCategories(CmbCnsmp);
    CmbGeoIds->setCurrentIndex(-1);
    CmbGeoIds->setEditText(tr("Select water user..."));
    CmbCnsmp->setCurrentIndex(-1);
    CmbCnsmp->setEditText(tr("Select category..."));
    Series2->clear();
    Series3->clear();
}

QString TFormResults::unitText() const
{
    return services_.volumeUnit() == QLatin1String("hm3") ? QStringLiteral("hm3") : QStringLiteral("m3");
}

void TFormResults::ShowHeader(TKyStringGrid& grid, QChartView& chart)
{
    const QString unit = unitText();
    grid.setCells(0, 0, tr("Month"));
    grid.setCells(1, 0, unit);
    if (QValueAxis* axis = Axis(chart, Qt::AlignLeft))
        axis->setTitleText(unit);
}

void TFormResults::ShowMonths(TKyStringGrid& grid, QChartView& chart, QLineSeries& series, Months T,
                              const char* totalPattern)
{
    const bool hm3 = unitText() == QLatin1String("hm3");
    double max = 0;
    double total = 0;
    for (int j = 0; j < 12; ++j) {
        grid.setCells(0, j + 1, FromModel(TblDataMonths[std::size_t(j)]));
        if (!hm3)
            T[std::size_t(j)] *= 1e6;
        grid.setCells(1, j + 1, FixedText("%3.3f", T[std::size_t(j)]));
        max = std::max(max, T[std::size_t(j)]);
        total += T[std::size_t(j)];
    }
    grid.setCells(0, 13, tr("Total"));
    grid.setCells(1, 13, FixedText(totalPattern, total));

    // The chart shows the numbers as rounded in the table.
    QList<QPointF> points;
    for (int j = 0; j < 12; ++j) {
        double y = 0;
        ReadReal(grid.Cells(1, j + 1), y);
        points.append(QPointF(j + 1, y));
        // A value rounded up must not lie above the axis.
        max = std::max(max, y);
    }
    series.clear();
    if (QValueAxis* axis = Axis(chart, Qt::AlignLeft))
        // An axis needs some length: a view without any need lies on the bottom of 0 to 1.
        axis->setRange(0, max > 0 ? max : 1);
    series.replace(points);
}

void TFormResults::ShowTotals()
{
    if (WatUserRec.empty())
        return;
    ShowHeader(*StrGrdTotNeeds, *Chart1);
    ShowMonths(*StrGrdTotNeeds, *Chart1, *Series1, TotalMonthNeeds(WatUserRec), "%3.3f");
}

void TFormResults::PrepareWUCombo()
{
    if (WatUserRec.empty())
        return;
    const std::vector<std::size_t> entries = DistinctUsers(WatUserRec);
    QStringList names;
    names.reserve(qsizetype(entries.size()));
    tblIds_.clear();
    tblIds_.reserve(entries.size());
    for (const std::size_t i : entries) {
        names.append(FromModel(WatUserRec[i].Toponym.str()));
        tblIds_.push_back(WatUserRec[i].Geo_id);
    }
    RefillChooser(*CmbGeoIds, names, tr("Select water user..."));
}

int TFormResults::chosenUserEntry() const
{
    const QString text = CmbGeoIds->currentText();
    const int current = CmbGeoIds->currentIndex();
    if (current >= 0 && CmbGeoIds->itemText(current) == text)
        return current;
    return CmbGeoIds->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TFormResults::ShowWUTotals()
{
    if (WatUserRec.empty() || CmbGeoIds->currentText().isEmpty())
        return;
    const int entry = chosenUserEntry();
    if (entry < 0 || std::size_t(entry) >= tblIds_.size()) {
        // Text that names no water user shows nothing.
        clearView(*StrGrdWUtNeeds, *Series2);
        return;
    }
    ShowHeader(*StrGrdWUtNeeds, *Chart2);
    ShowMonths(*StrGrdWUtNeeds, *Chart2, *Series2, UserMonthNeeds(WatUserRec, tblIds_[std::size_t(entry)]),
               "%5.3f");
}

void TFormResults::PrepareConsCombo()
{
    if (WatUserRec.empty())
        return;
    QStringList names;
    for (int category : CategoriesPresent(WatUserRec)) {
        const int row = FindWatUsTypeIndxId(category);
        if (row != NotFound)
            names.append(FromModel(WatUsTypRec[std::size_t(row)].Name));
    }
    RefillChooser(*CmbCnsmp, names, tr("Select category..."));
}

void TFormResults::ShowConsTotals()
{
    if (WatUserRec.empty())
        return;
    ShowHeader(*StrGrdTypeNeeds, *Chart3);
    const int row = FindWatUsTypeIndxName(ToModel(CmbCnsmp->currentText()));
    if (row == NotFound)
        return;
    ShowMonths(*StrGrdTypeNeeds, *Chart3, *Series3, CategoryMonthNeeds(WatUserRec, WatUsTypRec[std::size_t(row)].id),
               "%3.3f");
}

// ---------------------------------------------------------------------------
// Copying and saving.

QString TFormResults::CsvFilter()
{
    return QStringLiteral("Comma Delimeted Values (*.csv)|*.csv");
}

QString TFormResults::GraphFilter()
{
    return QStringLiteral("Bitmap Files (*.bmp)|*.bmp|PNG image (*.png)|*.png");
}

void TFormResults::CopyGrid(const TKyStringGrid& grid)
{
    StringGridToClipboard(grid, 0, grid.ColCount() - 1, 0, grid.RowCount() - 1);
}

void TFormResults::exporttoCsv(const TKyStringGrid& grid)
{
    const QString name = services_.prompter().saveFileName(this, tr("Save"), QString(), CsvFilter());
    if (name.isEmpty())
        return;
    grid.saveToCSV(WithDefaultSuffix(name, QStringLiteral("csv")));
}

QString TFormResults::ProposedGraphName(const QChartView& chart)
{
    const QString title = chart.chart()->title();
    if (title.isEmpty())
        return QStringLiteral(".bmp");
    return title.split(QLatin1Char('\n')).first() + QStringLiteral(".bmp");
}

void TFormResults::SaveChart(QChartView& chart, const QString& fileName, const char* format)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart.render(&painter);
    }
    if (image.isNull() || !image.save(fileName, format))
        throw IoError(QStringLiteral("Unable to write to file:\n%1").arg(fileName).toStdString());
}

void TFormResults::CopyGraph(QChartView& chart)
{
    QString filter;
    QString name = services_.prompter().saveFileNameWithFilter(this, tr("Save Graph to file"), ProposedGraphName(chart),
                                                               GraphFilter(), filter);
    if (name.isEmpty())
        return;
    const bool pngChosen = filter.contains(QLatin1String("*.png"), Qt::CaseInsensitive);
    name = WithDefaultSuffix(name, pngChosen ? QStringLiteral("png") : QStringLiteral("bmp"));
    const QString suffix = QFileInfo(name).suffix().toLower();
    const bool png = suffix == QLatin1String("png") || (pngChosen && suffix != QLatin1String("bmp"));
    SaveChart(chart, name, png ? "PNG" : "BMP");
}

} // namespace velnor::ui
