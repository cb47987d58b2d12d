#include "app/FrmMain.h"

#include "app/AboutBox.h"
#include "app/FrmPref.h"
#include "core/ExchangeFile.h"
#include "core/RcrdFuncs.h"
#include "dbui/FormDB.h"
#include "editors/EditorSupport.h"
#include "results/FrmResults.h"
#include "widgets/KyStringGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velnor::app {

using ui::Answer;
using ui::TKyStringGrid;

std::optional<QColor> CategoryColor(int category)
{
    switch (category) {
    case CatWaterSupply:
        return ui::ColorFromBGR(clWaterSupply);
    case CatFarming:
        return ui::ColorFromBGR(clFarming);
    case CatIndustry:
        return ui::ColorFromBGR(clIndustry);
    case CatIrrigation:
        return ui::ColorFromBGR(clIrrigation);
    case CatGroup:
        return ui::ColorFromBGR(clGroups);
    default:
        return std::nullopt;
    }
}

namespace {

QString CategoryName(int category)
{
    const int i = FindWatUsTypeIndxId(category);
    return i == NotFound ? QString() : QString::fromStdString(WatUsTypRec[std::size_t(i)].Name);
}

// Column 0 of a data row in its category colour with black text; the category
// is read from the row's hidden column 1.
void DrawCategoryCell(const TKyStringGrid& grid, QPainter& painter, int col, int row, const QRect& rect,
                      bool whiteForOthers)
{
    if (col != 0 || row < 1)
        return;
    bool ok = false;
    const int category = grid.Cells(1, row).toInt(&ok);
    std::optional<QColor> color = ok ? CategoryColor(category) : std::nullopt;
    if (!color && whiteForOthers)
        color = QColor(Qt::white);
    if (color)
        painter.fillRect(rect, *color);
    painter.setPen(Qt::black);
    painter.setClipRect(rect);
    painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, grid.Cells(col, row));
}

QIcon SquareIcon(const QColor& color, const QString& letter)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(1.5, 1.5, 17, 17), 3, 3);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, letter);
    return QIcon(pm);
}

// A white sheet with a folded corner: the style's file icon is drawn in
// greys that read as a disabled button. Qt greys this one when disabled.
QIcon NewIcon()
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF sheet({QPointF(4.5, 1.5), QPointF(12.5, 1.5), QPointF(16.5, 5.5), QPointF(16.5, 18.5),
                           QPointF(4.5, 18.5)});
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.setBrush(QColor(200, 220, 255));
    p.drawPolygon(QPolygonF({QPointF(12.5, 1.5), QPointF(12.5, 5.5), QPointF(16.5, 5.5)}));
    p.setPen(QPen(QColor(0, 64, 128), 2));
    p.drawLine(QPointF(10.5, 9), QPointF(10.5, 15));
    p.drawLine(QPointF(7.5, 12), QPointF(13.5, 12));
    return QIcon(pm);
}

QIcon ChartIcon()
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(3, 17, 17, 17);
    p.drawLine(3, 3, 3, 17);
    p.setPen(QPen(QColor(0, 64, 128), 2));
    p.drawPolyline(QPolygon({QPoint(4, 14), QPoint(8, 9), QPoint(12, 11), QPoint(17, 4)}));
    return QIcon(pm);
}

const QStringList& ListHeaders()
{
    static const QStringList headers{QStringLiteral("Category"), QStringLiteral("Category id"),
                                     QStringLiteral("WaterUser id"), QStringLiteral("Toponym"),
                                     QStringLiteral("Units")};
    return headers;
}

} // namespace

// ---------------------------------------------------------------------------

TFormMain::TFormMain(ui::Prompter& prompter, QWidget* parent)
    : TLMainForm(parent), prompter_(prompter), helpRouter_(prompter, this)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("VELNOR"));
    setHelpContext(ctxtMain);
    setHelpHandler([this](int context) { showHelp(context); });
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildMenus();
    buildToolBar();

    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    splitter1_ = new QSplitter(Qt::Vertical, central);
    splitter1_->setObjectName(QStringLiteral("Splitter1"));
    splitter1_->setChildrenCollapsible(false);
    centralLayout->addWidget(splitter1_);

    panel1_ = new QFrame(splitter1_);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    auto* p1 = new QVBoxLayout(panel1_);
    p1->setContentsMargins(0, 0, 0, 0);
    p1->setSpacing(0);
    auto* panel4 = new QFrame(panel1_);
    panel4->setObjectName(QStringLiteral("Panel4"));
    panel4->setFixedHeight(1);
    panel4->setStyleSheet(QStringLiteral("background-color: #a0a0a0;"));
    p1->addWidget(panel4);
    strGrdAllNeeds_ = new TKyStringGrid(panel1_);
    strGrdAllNeeds_->setObjectName(QStringLiteral("StrGrdAllNeeds"));
    p1->addWidget(strGrdAllNeeds_, 1);
    emptyLabel_ = new QLabel(tr("No water users defined"), panel1_);
    emptyLabel_->setObjectName(QStringLiteral("LblNoWaterUsers"));
    emptyLabel_->setAlignment(Qt::AlignCenter);
    QFont f = emptyLabel_->font();
    f.setPixelSize(13);
    emptyLabel_->setFont(f);
    p1->addWidget(emptyLabel_, 1);

    panel2_ = new QFrame(splitter1_);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    buildGroupPanel(panel2_);
    splitter1_->addWidget(panel1_);
    splitter1_->addWidget(panel2_);
    splitter1_->setStretchFactor(0, 1);
    splitter1_->setStretchFactor(1, 0);
    connect(splitter1_, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });
    setCentralWidget(central);

    setupListGrid(*strGrdAllNeeds_);
    setupListGrid(*strGrdGroup_);
    strGrdAllNeeds_->setOnDrawCell([this](QPainter& p, int col, int row, const QRect& rect, bool) {
        DrawCategoryCell(*strGrdAllNeeds_, p, col, row, rect, false);
    });
    strGrdGroup_->setOnDrawCell([this](QPainter& p, int col, int row, const QRect& rect, bool) {
        DrawCategoryCell(*strGrdGroup_, p, col, row, rect, true);
    });
    connect(strGrdAllNeeds_, &TKyStringGrid::mousePressed, this,
            [this](Qt::MouseButton button, const QPoint& pos) { StrGrdAllNeedsMouseDown(button, pos.x(), pos.y()); });
    connect(strGrdAllNeeds_, &TKyStringGrid::doubleClicked, this,
            [this] { guarded([this] { StrGrdAllNeedsDblClick(); }); });

    setFixedWidth(528);
    setInitialGeometry(100, 100, 528, 300);
    Loaded();
    LFormCreate();
}

TFormMain::~TFormMain()
{
    // The dispatch and its forms go before the window's own controls.
    kept_.clear();
}

void TFormMain::setupListGrid(TKyStringGrid& grid)
{
    grid.setPrompter(&prompter_);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setColCount(6);
    grid.setRowCount(2);
    grid.setOptions(ui::goRangeSelect | ui::goRowSelect);
    grid.setDefaultRowHeight(18);
    grid.SetFitColToWidth(3);
}

void TFormMain::LFormCreate()
{
    strGrdAllNeeds_->hide();
    emptyLabel_->show();
    const int widths[] = {78, 0, 0, 260, 65, 85};
    for (int c = 0; c < 6; ++c) {
        strGrdAllNeeds_->setColWidths(c, widths[c]);
        strGrdGroup_->setColWidths(c, widths[c]);
    }
    SetGroupListStatus(gls_invisible);
    refreshMenu();
    strGrdGroupHeight_ = 130;
    scenarioChanged_ = false;
    formCaption_ = QStringLiteral("Velnor");
    selectedRec_ = -1;
    helpRouter_.setHelpFile(THelpRouter::DefaultHelpFile());
}

void TFormMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addItem = [this](QMenu* menu, const QString& text, const char* name, void (TFormMain::*handler)(),
                          const QKeySequence& key = {}) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
        return a;
    };
    // The menus open with Alt and their underlined letter.
    mnFile_ = bar->addMenu(tr("&File"));
    mnFile_->setObjectName(QStringLiteral("mnFile"));
    mnFile_->menuAction()->setObjectName(QStringLiteral("mnFileItem"));
    addItem(mnFile_, tr("&New"), "mnNew", &TFormMain::SelNew, QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(mnFile_, tr("Open"), "mnOpen", &TFormMain::SelLoad);
    addItem(mnFile_, tr("Save"), "mnSave", &TFormMain::SelSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(mnFile_, tr("Save As..."), "mnSaveAs", &TFormMain::SaveAsScenarioDB1Click);
    addItem(mnFile_, tr("Import"), "mnImport", &TFormMain::mnImportClick);
    addItem(mnFile_, tr("Export"), "mnExport", &TFormMain::mnExportClick);
    addItem(mnFile_, tr("E&xit"), "mnExit", &TFormMain::mnExitClick, QKeySequence(Qt::CTRL | Qt::Key_X));

    mnUser_ = bar->addMenu(tr("&Water User"));
    mnUser_->setObjectName(QStringLiteral("mnUser"));
    QMenu* newUser = mnUser_->addMenu(tr("New"));
    newUser->setObjectName(QStringLiteral("mnNewUserMenu"));
    newUser->menuAction()->setObjectName(QStringLiteral("mnNewUser"));
    addItem(newUser, tr("&Water Supply"), "mnWaterSupply", &TFormMain::SelWaterSupply);
    addItem(newUser, tr("&Farming"), "mnFarming", &TFormMain::SelFarming);
    addItem(newUser, tr("&Industry"), "mnIndustry", &TFormMain::SelIndustry);
    addItem(newUser, tr("I&rrigation"), "mnIrrigation", &TFormMain::SelIrrigation);
    addItem(newUser, tr("&Group"), "mnGroup", &TFormMain::SelGroup);
    addItem(mnUser_, tr("Edit"), "mnEdit", &TFormMain::mnEditClick);
    addItem(mnUser_, tr("&Delete"), "mnDelete", &TFormMain::mnDeleteClick, QKeySequence(Qt::CTRL | Qt::Key_D));

    mnResults_ = bar->addAction(tr("&Results"));
    mnResults_->setObjectName(QStringLiteral("mnResults"));
    connect(mnResults_, &QAction::triggered, this, [this] { guarded([this] { SelResults(); }); });

    mnHelp_ = bar->addMenu(tr("&Help"));
    mnHelp_->setObjectName(QStringLiteral("mnHelp"));
    addItem(mnHelp_, tr("Velnor Help"), "mnVelnorHelp", &TFormMain::mnVelnorHelpClick);
    addItem(mnHelp_, tr("About"), "mnAbout", &TFormMain::mnAboutClick);
}

QToolButton* TFormMain::makeToolButton(QWidget* parent, const char* name, const QString& hint, const QIcon& icon,
                                       void (TFormMain::*handler)())
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    return b;
}

void TFormMain::buildToolBar()
{
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("MainToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, toolBar);
    const auto add = [&](const char* name, const QString& hint, const QIcon& icon, void (TFormMain::*handler)()) {
        toolBar->addWidget(makeToolButton(toolBar, name, hint, icon, handler));
    };
    QStyle* s = style();
    add("btnNew", tr("New"), NewIcon(), &TFormMain::SelNew);
    add("btnOpen", tr("Open"), s->standardIcon(QStyle::SP_DialogOpenButton), &TFormMain::SelLoad);
    add("btnSave", tr("Save"), s->standardIcon(QStyle::SP_DialogSaveButton), &TFormMain::SelSave);
    toolBar->addSeparator();
    add("btnWaterSupply", tr("Water supply"), SquareIcon(*CategoryColor(CatWaterSupply), "W"),
        &TFormMain::SelWaterSupply);
    add("btnFarming", tr("Farming"), SquareIcon(*CategoryColor(CatFarming), "F"), &TFormMain::SelFarming);
    add("btnIndustry", tr("Industry"), SquareIcon(*CategoryColor(CatIndustry), "I"), &TFormMain::SelIndustry);
    add("btnIrrigation", tr("Irrigation"), SquareIcon(*CategoryColor(CatIrrigation), "R"),
        &TFormMain::SelIrrigation);
    add("btnGroup", tr("Group"), SquareIcon(*CategoryColor(CatGroup), "G"), &TFormMain::SelGroup);
    toolBar->addSeparator();
    add("btnResults", tr("Result"), ChartIcon(), &TFormMain::SelResults);
}

void TFormMain::setFormPref(TFormPref* form)
{
    formPref_ = form;
    if (formPref_)
        formPref_->setOnHide([this] { refreshForm(); });
}

void TFormMain::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        prompter_.showError(this, QString::fromStdString(e.what()));
    }
}

// ---------------------------------------------------------------------------
// Caption and changed mark.

void TFormMain::updateCaption()
{
    setWindowTitle(scenarioChanged_ ? formCaption_ + QStringLiteral(" *") : formCaption_);
}

void TFormMain::SetScenarioChanged(bool changed)
{
    scenarioChanged_ = changed;
    updateCaption();
}

void TFormMain::SetFormCaption(const QString& caption)
{
    formCaption_ = caption;
    updateCaption();
}

QString TFormMain::volumeUnit() const
{
    return formPref_ ? formPref_->unit() : QStringLiteral("hm3");
}

void TFormMain::showHelp(int context)
{
    helpRouter_.showHelp(context);
}

// ---------------------------------------------------------------------------
// The list.

void TFormMain::refreshForm()
{
    refreshMenu();
    RefreshGrid();
}

void TFormMain::RefreshGrid()
{
    const std::size_t n = WatUserRec.size();
    if (n == 0) {
        strGrdAllNeeds_->assign(6, 0, {});
        strGrdAllNeeds_->hide();
        emptyLabel_->show();
        return;
    }
    emptyLabel_->hide();
    strGrdAllNeeds_->show();

    double total = 0;
    for (const TWaterUser& u : WatUserRec)
        if (u.Category != CatGroup)
            total += u.YearNeeds;
    if (formPref_)
        // A sum of needs that makes 0.1 hm3 counts as 0.1, rounding errors aside.
        formPref_->setUnit(total < 0.1 - 1e-12 ? QStringLiteral("m3") : QStringLiteral("hm3"));
    const bool hm3 = volumeUnit() == QLatin1String("hm3");
    const double factor = hm3 ? 1.0 : 1e6;

    std::vector<QString> cells((n + 1) * 6);
    for (int c = 0; c < 5; ++c)
        cells[std::size_t(c)] = ListHeaders()[c];
    cells[5] = hm3 ? QStringLiteral("Needs (hm3/y)") : QStringLiteral("Needs (m3/y)");
    QString names[5];
    for (int c : {CatWaterSupply, CatFarming, CatIndustry, CatIrrigation}) // the frequent ones
        names[c] = CategoryName(c);
    for (std::size_t i = 0; i < n; ++i) {
        const TWaterUser& u = WatUserRec[i];
        QString* row = &cells[(i + 1) * 6];
        QString name = u.Category >= 1 && u.Category <= 4 ? names[u.Category] : CategoryName(u.Category);
        const int count = int(u.WatConsRec.size());
        if (u.Category != CatWaterSupply)
            name += QStringLiteral(" (%1)").arg(count);
        row[0] = std::move(name);
        row[1] = QString::number(u.Category);
        row[2] = QString::number(u.Geo_id);
        row[3] = ui::FromModel(u.Toponym.str());
        row[4] = QString::number(u.Category == CatGroup ? count : u.UnitsNum);
        row[5] = ui::FixedText("%5.3f", u.YearNeeds * factor);
    }
    strGrdAllNeeds_->setFixedRows(1);
    strGrdAllNeeds_->assign(6, int(n + 1), std::move(cells));
}

void TFormMain::refreshMenu()
{
    if (groupListStatus_ == gls_ready)
        return;
    const bool any = !WatUserRec.empty();
    if (any) {
        const std::function<void(QMenu*)> enableAll = [&](QMenu* menu) {
            menu->menuAction()->setEnabled(true);
            for (QAction* a : menu->actions()) {
                a->setEnabled(true);
                if (a->menu())
                    enableAll(a->menu());
            }
        };
        for (QMenu* m : {mnFile_, mnUser_, mnHelp_})
            enableAll(m);
        mnResults_->setEnabled(true);
    } else {
        for (const char* name : {"mnNew", "mnSave", "mnSaveAs", "mnExport", "mnEdit", "mnDelete", "mnGroup"})
            findChild<QAction*>(QString::fromLatin1(name))->setEnabled(false);
        mnResults_->setEnabled(false);
    }
    for (const char* name : {"btnNew", "btnSave", "btnGroup", "btnResults"})
        findChild<QToolButton*>(QString::fromLatin1(name))->setEnabled(any);
}

QString TFormMain::mainListCategory(int recordNr) const
{
    if (recordNr < 0 || recordNr + 1 >= strGrdAllNeeds_->RowCount())
        return {};
    return strGrdAllNeeds_->Cells(1, recordNr + 1);
}

void TFormMain::StrGrdAllNeedsMouseDown(Qt::MouseButton, int x, int y)
{
    if (groupListStatus_ != gls_invisible || x < 0 || y < 0)
        return;
    int col = -1;
    int row = -1;
    strGrdAllNeeds_->MouseToCell(QPoint(x, y), col, row);
    selectedRec_ = row - 1;
}

void TFormMain::StrGrdAllNeedsDblClick()
{
    if (groupListStatus_ == gls_invisible && selectedRec_ >= 0 && edit_.editUser)
        edit_.editUser(selectedRec_);
}

void TFormMain::mnEditClick()
{
    if (selectedRec_ >= 0 && edit_.editUser)
        edit_.editUser(selectedRec_);
}

void TFormMain::mnDeleteClick()
{
    if (prompter_.ask(this, tr("Delete selected records!")) == Answer::No)
        return;
    // Deleting a user can remove a group that became empty, which moves the
    // rows after it; the selected users are therefore taken by identifier.
    const ui::TGridRect sel = strGrdAllNeeds_->Selection();
    std::vector<int> ids;
    for (int r = sel.Bottom; r >= std::max(sel.Top, 1); --r)
        if (std::size_t(r - 1) < WatUserRec.size())
            ids.push_back(WatUserRec[std::size_t(r - 1)].Geo_id);
    for (int id : ids) {
        const int index = FindWatUsIndxId(id);
        if (index == NotFound)
            continue; // a group already removed with its last member
        DelRecordData(index);
        DelEmptyGrp();
    }
    SetScenarioChanged(true);
    refreshForm();
}

// ---------------------------------------------------------------------------
// Editing dispatch.

void TFormMain::SelWaterSupply()
{
    if (edit_.SelWaterSupply)
        edit_.SelWaterSupply();
}

void TFormMain::SelFarming()
{
    if (edit_.SelFarming)
        edit_.SelFarming();
}

void TFormMain::SelIndustry()
{
    if (edit_.SelIndustry)
        edit_.SelIndustry();
}

void TFormMain::SelIrrigation()
{
    if (edit_.SelIrrigation)
        edit_.SelIrrigation();
}

// ---------------------------------------------------------------------------
// Scenario commands.

void TFormMain::recreateWorkingScenario()
{
    WatUserRec.clear();
    WatConsRec.clear();
    if (formDB_)
        formDB_->recreateWorkingScen();
}

void TFormMain::SelNew()
{
    if (scenarioChanged_ && prompter_.ask(this, tr("Current scenario not saved. Proceed?")) != Answer::Yes)
        return;
    recreateWorkingScenario();
    SetFormCaption(QStringLiteral("VELNOR"));
    if (formDB_)
        formDB_->Disconnect();
    refreshForm();
}

void TFormMain::LoadScenario()
{
    if (formDB_)
        formDB_->LoadScenario();
}

void TFormMain::SaveScenario()
{
    if (formDB_)
        formDB_->SaveScenario();
}

void TFormMain::SaveAsScenario()
{
    if (formDB_)
        formDB_->SaveAsScenario();
}

void TFormMain::ShowResults()
{
    // Only a scenario with water users has results.
    if (formResults_ && !WatUserRec.empty())
        prompter_.exec(*formResults_);
}

void TFormMain::SelLoad()
{
    if (!WatUserRec.empty() && scenarioChanged_ &&
        prompter_.ask(this, tr("Current scenario not saved. Proceed?")) == Answer::No)
        return;
    LoadScenario();
    refreshForm();
}

void TFormMain::SelSave()
{
    // A scenario that was never stored is saved under a new name.
    if (!formDB_ || formDB_->workingScen.id < 0)
        SaveAsScenario();
    else
        SaveScenario();
}

void TFormMain::SaveAsScenarioDB1Click()
{
    SaveAsScenario();
}

void TFormMain::SelResults()
{
    ShowResults();
}

void TFormMain::mnExitClick()
{
    close();
}

bool TFormMain::LFormCloseQuery()
{
    if (!scenarioChanged_)
        return true;
    switch (prompter_.ask(this, tr("Save the changes to this scenario first?"), true)) {
    case Answer::Yes:
        SelSave();
        return !scenarioChanged_;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    guarded([&] { canClose = LFormCloseQuery(); });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TFormMain::showEvent(QShowEvent* event)
{
    TLMainForm::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

// ---------------------------------------------------------------------------
// Exchange file.

QString TFormMain::ExchangeFilter()
{
    return QStringLiteral("Binary File (*.bin)|*.bin|All files (*.*)|*.*");
}

void TFormMain::mnExportClick()
{
    const QString name = prompter_.saveFileName(this, tr("Export"), importFileName_, ExchangeFilter());
    if (name.isEmpty())
        return;
    try {
        WriteExchangeFile(QFile::encodeName(name).toStdString(), WatUserRec);
    } catch (const std::exception& e) {
        prompter_.showError(this, QString::fromStdString(e.what()));
        return;
    }
    SetFormCaption(QFileInfo(name).fileName());
    SetScenarioChanged(false);
}

void TFormMain::mnImportClick()
{
    if (!WatUserRec.empty() && scenarioChanged_ &&
        prompter_.ask(this, tr("Current scenario not saved. Proceed?")) != Answer::Yes)
        return;
    const QString name = prompter_.openFileName(this, tr("Import"), importFileName_, ExchangeFilter());
    if (name.isEmpty())
        return;
    importFileName_ = name;
    // The whole file is read and checked first; only a complete read replaces
    // the working scenario.
    WaterUserList users;
    std::size_t ignoredBytes = 0;
    try {
        users = ReadExchangeFile(QFile::encodeName(name).toStdString(), &ignoredBytes);
    } catch (const std::exception& e) {
        prompter_.showError(this, QString::fromStdString(e.what()));
        return;
    }
    recreateWorkingScenario();
    WatUserRec = std::move(users);
    SetFormCaption(QFileInfo(name).fileName());
    refreshForm();
    SetScenarioChanged(false);
    if (ignoredBytes > 0)
        prompter_.showMessage(this, tr("The last %1 bytes of the file make no whole water user and were ignored.")
                                        .arg(ignoredBytes));
}

// ---------------------------------------------------------------------------
// Help, about, preferences.

void TFormMain::mnVelnorHelpClick()
{
    showHelp(ctxtMain);
}

void TFormMain::mnAboutClick()
{
    if (!about_)
        about_ = new TKyAboutInfo(this);
    prompter_.exec(*about_);
}

void TFormMain::PrefClick()
{
    if (formPref_)
        prompter_.exec(*formPref_);
}

} // namespace velnor::app
