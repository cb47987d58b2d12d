#include "dbui/FrmScenarioDlg.h"

#include "core/Errors.h"
#include "dbui/FrmProjectDlg.h"
#include "dbui/Login.h"
#include "widgets/KyStringGrid.h"
#include "widgets/Services.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velnor::dbui {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The date and time of a save as the grid shows it.
QString DateText(db::DateTime t)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    const QDateTime d = QDateTime::fromMSecsSinceEpoch(ms);
    const QLocale loc;
    return loc.toString(d.date(), QLocale::ShortFormat) + QLatin1Char(' ') + loc.toString(d.time(), QLocale::LongFormat);
}

void DrawFolder(QPainter& p, const QColor& fill)
{
    QPainterPath path;
    path.moveTo(2, 6);
    path.lineTo(7, 6);
    path.lineTo(9, 8);
    path.lineTo(17, 8);
    path.lineTo(17, 17);
    path.lineTo(2, 17);
    path.closeSubpath();
    p.setPen(QPen(QColor(120, 90, 20), 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void DrawPage(QPainter& p)
{
    QPainterPath path;
    path.moveTo(4, 2);
    path.lineTo(12, 2);
    path.lineTo(16, 6);
    path.lineTo(16, 18);
    path.lineTo(4, 18);
    path.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int y = 8; y <= 15; y += 3)
        p.drawLine(6, y, 13, y);
}

void DrawPlus(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 1.5), QPointF(14.5, 8.5));
    p.drawLine(QPointF(11, 5), QPointF(18, 5));
}

void DrawCross(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 10), QPointF(18, 17));
    p.drawLine(QPointF(18, 10), QPointF(11, 17));
}

} // namespace

QIcon ScenarioToolImage(int index)
{
    const bool pressed = index % 2 == 1;
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Pressed: drawn one pixel down and right, in darker colours.
    if (pressed)
        p.translate(1, 1);
    const QColor folder = pressed ? QColor(220, 170, 50) : QColor(250, 205, 90);
    const QColor green = pressed ? QColor(0, 110, 0) : QColor(0, 160, 0);
    const QColor red = pressed ? QColor(150, 0, 0) : QColor(210, 20, 20);
    switch (index / 2) {
    case 0:
        DrawFolder(p, folder);
        DrawPlus(p, green);
        break;
    case 1:
        DrawFolder(p, folder);
        DrawCross(p, red);
        break;
    default:
        DrawPage(p);
        DrawCross(p, red);
        break;
    }
    return QIcon(pm);
}

// --- TFrmScenarioDlg ---------------------------------------------------------

TFrmScenarioDlg::TFrmScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent)
    : TLForm(parent), prompter_(prompter), parentDlg_(parentDlg)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* top = new QHBoxLayout;
    Label2 = new QLabel(tr("Project"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(220);
    Label2->setBuddy(ComboBox1);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(20, 20));
    auto tool = [this](const char* name, const QString& hint, int image) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setIcon(ScenarioToolImage(image));
        connect(b, &QToolButton::pressed, b, [b, image] { b->setIcon(ScenarioToolImage(image + 1)); });
        connect(b, &QToolButton::released, b, [b, image] { b->setIcon(ScenarioToolImage(image)); });
        return b;
    };
    ToolButton1 = tool("ToolButton1", tr("New Project"), 0);
    ToolButton2 = tool("ToolButton2", tr("Delete project"), 2);
    ToolButton3 = tool("ToolButton3", tr("Delete scenario"), 4);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton1);
    ToolBar1->addWidget(ToolButton2);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton3);
    top->addWidget(Label2);
    top->addWidget(ComboBox1, 1);
    top->addStretch(0);
    top->addWidget(ToolBar1);
    layout->addLayout(top);

    auto* middle = new QHBoxLayout;
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* tabSheet3 = new QWidget(PageControl1);
    tabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    auto* tabLayout = new QVBoxLayout(tabSheet3);
    tabLayout->setContentsMargins(2, 2, 2, 2);
    StringGrid1 = new ui::TKyStringGrid(tabSheet3);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setPrompter(&prompter_);
    StringGrid1->setColCount(3);
    StringGrid1->setFixedCols(0);
    StringGrid1->setFixedRows(1);
    StringGrid1->setRowCount(2);
    StringGrid1->setDefaultRowHeight(16);
    StringGrid1->setColWidths(0, 163);
    StringGrid1->setColWidths(1, 87);
    StringGrid1->setColWidths(2, 64);
    StringGrid1->setCells(0, 0, tr("scenario name"));
    StringGrid1->setCells(1, 0, tr("date"));
    StringGrid1->setCells(2, 0, tr("user"));
    StringGrid1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(128,128,128); color: white; "
                       "border: 0px; border-right: 1px solid rgb(160,160,160); padding-left: 2px; }"));
    StringGrid1->setOnDrawCell(
        [this](QPainter& p, int col, int row, const QRect& rect, bool) { drawGridCell(p, col, row, rect); });
    connect(StringGrid1, &ui::TKyStringGrid::mousePressed, this, [this](Qt::MouseButton button, const QPoint& pos) {
        if (button != Qt::LeftButton)
            return;
        int col = -1, row = -1;
        StringGrid1->MouseToCell(pos, col, row);
        if (row >= 0)
            guarded([&] { StringGrid1SelectCell(col, row); });
    });
    connect(StringGrid1, &ui::TKyStringGrid::doubleClicked, this, [this] { StringGrid1DblClick(); });
    tabLayout->addWidget(StringGrid1);
    PageControl1->addTab(tabSheet3, tr("Scenarios"));
    // Room for the three columns (163 + 87 + 64) and a scroll bar.
    PageControl1->setMinimumWidth(340);
    middle->addWidget(PageControl1, 3);
    auto* right = new QVBoxLayout;
    Panel5 = new QLabel(tr("Description"), this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setAlignment(Qt::AlignCenter);
    Panel5->setFrameShape(QFrame::Panel);
    Panel5->setFrameShadow(QFrame::Raised);
    Panel5->setMinimumHeight(22);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgb(255,251,240); }"));
    Memo1->setTabChangesFocus(true);
    right->addWidget(Panel5);
    right->addWidget(Memo1, 1);
    middle->addLayout(right, 1);
    layout->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    Label1 = new QLabel(tr("Scenario Name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(ComboBox2);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    bottom->addWidget(Label1);
    bottom->addWidget(ComboBox2, 1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    layout->addLayout(bottom);

    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { guarded([&] { ComboBox1Change(i); }); });
    connect(ComboBox2, &QComboBox::editTextChanged, this, [this] { ComboBox2Change(); });
    connect(ComboBox2, &QComboBox::activated, this, [this](int i) { guarded([&] { ComboBox2Select(i); }); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton1Click(); }); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton2Click(); }); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton3Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Press(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    setInitialGeometry(0, 0, 490, 334);
    Loaded();
    setMinimumSize(490, 334);
    SetSelectedScenario(nullptr);
}

bool TFrmScenarioDlg::guarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        prompter_.showError(this, QString::fromStdString(e.what()).trimmed());
        return false;
    }
}

void TFrmScenarioDlg::Button1Press()
{
    if (guarded([this] { Button1Click(); }) && closesWithButton1())
        accept();
}

void TFrmScenarioDlg::drawGridCell(QPainter& p, int col, int row, const QRect& rect)
{
    if (row < 1)
        return;
    QColor background = Qt::white;
    QColor text = Qt::black;
    if (col == 0 && row == selectedGridLine_) {
        background = QColor(49, 106, 197);
        text = Qt::white;
    } else if (col == 0) {
        background = QColor(238, 238, 238);
    }
    p.fillRect(rect, background);
    p.setPen(text);
    p.setClipRect(rect);
    p.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, StringGrid1->Cells(col, row));
}

int TFrmScenarioDlg::run(db::Connection& session1, int DefaultProjectID, bool readOnlyDescription,
                         const QString& title, const QString& action)
{
    FSession = &session1;
    updateForm(DefaultProjectID);
    Memo1->setReadOnly(readOnlyDescription);
    setWindowTitle(title);
    Button1->setText(action);
    // What showing the form starts with.
    SetSelectedScenario(nullptr);
    SavedScenario = false;
    selectedGridLine_ = -1;
    return prompter_.exec(*this);
}

void TFrmScenarioDlg::showEvent(QShowEvent* event)
{
    TLForm::showEvent(event);
    // Centred on the screen.
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    StringGrid1->viewport()->update();
}

void TFrmScenarioDlg::updateForm(int DefaultProjectID)
{
    if (!FSession)
        throw VelnorError("No connection to a database");
    parentDlg_.ListProject.KyLoadProjects(*FSession, parentDlg_.Model, true);
    std::shared_ptr<db::TKyProject> chosen;
    for (const auto& p : parentDlg_.ListProject)
        if (p->id == DefaultProjectID) {
            chosen = p;
            break;
        }
    if (!chosen && !parentDlg_.ListProject.empty())
        chosen = parentDlg_.ListProject[0];
    SetSelectedProject(chosen);
}

void TFrmScenarioDlg::SetSelectedProject(const std::shared_ptr<db::TKyProject>& prj1)
{
    FselectedProject = prj1;
    ComboBox1->blockSignals(true);
    ComboBox1->clear();
    int current = -1;
    int i = 0;
    for (const auto& p : parentDlg_.ListProject) {
        ComboBox1->addItem(Q(p->short_descr));
        if (p == prj1)
            current = i;
        ++i;
    }
    ComboBox1->setCurrentIndex(current);
    ComboBox1->blockSignals(false);
    ToolButton2->setEnabled(!parentDlg_.ListProject.empty());

    if (FSession)
        parentDlg_.ListScenario.KyLoadScenarios(*FSession, prj1.get(), false, true);
    else
        parentDlg_.ListScenario.clear();
    const int n = static_cast<int>(parentDlg_.ListScenario.size());
    StringGrid1->setRowCount(n + 2);
    for (int r = 1; r < n + 2; ++r)
        for (int c = 0; c < 3; ++c)
            StringGrid1->setCells(c, r, QString());
    for (int k = 0; k < n; ++k) {
        const auto& s = parentDlg_.ListScenario[std::size_t(k)];
        StringGrid1->setCells(0, k + 1, Q(s->short_descr));
        StringGrid1->setCells(1, k + 1, DateText(s->last_date));
        StringGrid1->setCells(2, k + 1, Q(s->last_user));
    }
    SetSelectedScenario(nullptr);
    StringGrid1->viewport()->update();
}

void TFrmScenarioDlg::setNameText(const QString& text)
{
    ComboBox2->setEditText(text);
}

void TFrmScenarioDlg::SetSelectedScenario(const std::shared_ptr<db::TKyScenario>& scen1)
{
    FselectedScenario = scen1;
    Memo1->clear();
    if (scen1) {
        setNameText(Q(scen1->short_descr));
        Memo1->setPlainText(Q(scen1->descr));
        Button1->setEnabled(true);
        ToolButton3->setEnabled(true);
    } else {
        selectedGridLine_ = -1;
        setNameText(QString());
        Button1->setEnabled(actionWithoutSelection());
        ToolButton3->setEnabled(false);
    }
}

bool TFrmScenarioDlg::StringGrid1SelectCell(int, int ARow)
{
    const int n = static_cast<int>(parentDlg_.ListScenario.size());
    if (ARow < 1 || ARow > n)
        return false;
    const auto& s = parentDlg_.ListScenario[std::size_t(ARow - 1)];
    setNameText(StringGrid1->Cells(0, ARow));
    Memo1->setPlainText(Q(s->descr));
    Button1->setEnabled(true);
    selectedGridLine_ = ARow;
    StringGrid1->viewport()->update();
    SetSelectedScenario(s);
    return true;
}

void TFrmScenarioDlg::ComboBox1Change(int index)
{
    if (index < 0 || index >= static_cast<int>(parentDlg_.ListProject.size()))
        return;
    SetSelectedProject(parentDlg_.ListProject[std::size_t(index)]);
}

void TFrmScenarioDlg::ComboBox2Change()
{
    Button1->setEnabled(!ComboBox2->currentText().isEmpty());
}

void TFrmScenarioDlg::addRemembered(const std::shared_ptr<db::TKyScenario>& scen)
{
    const QString text = ComboBox2->currentText();
    ComboBox2->blockSignals(true);
    ComboBox2->addItem(Q(scen->short_descr));
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(text);
    ComboBox2->blockSignals(false);
    remembered_.push_back(scen);
}

void TFrmScenarioDlg::removeRemembered(int i)
{
    remembered_.erase(remembered_.begin() + i);
    const QString text = ComboBox2->currentText();
    ComboBox2->blockSignals(true);
    ComboBox2->removeItem(i);
    ComboBox2->setEditText(text);
    ComboBox2->blockSignals(false);
}

void TFrmScenarioDlg::ComboBox2Select(int index)
{
    if (index < 0 || index >= RememberedCount() || !FSession)
        return;
    const auto scen = remembered_[std::size_t(index)];
    const int projectId = scen->KyProjectID(*FSession);
    for (const auto& p : parentDlg_.ListProject)
        if (p->id == projectId) {
            SetSelectedProject(p);
            break;
        }
    SetSelectedScenario(scen);
}

void TFrmScenarioDlg::ToolButton1Click()
{
    if (!FSession)
        return;
    db::TKyProject project;
    TFrmProjectDlg form(prompter_, this);
    form.showProjectForm(*FSession, parentDlg_.Model, &project);
    updateForm(project.id);
}

void TFrmScenarioDlg::ToolButton2Click()
{
    if (!FselectedProject || !FSession)
        return;
    const QString question = tr("CAUTION! Delete the project '%1' with all its scenarios ?")
                                 .arg(Q(FselectedProject->short_descr));
    if (prompter_.askWarning(this, question, true) != ui::Answer::Yes)
        return;
    const int projectId = FselectedProject->id;
    for (int i = RememberedCount() - 1; i >= 0; --i)
        if (remembered_[std::size_t(i)]->KyProjectID(*FSession) == projectId)
            removeRemembered(i);
    db::TKyProject::KyDeleteProject(*FSession, projectId);
    updateForm(-1);
}

void TFrmScenarioDlg::ToolButton3Click()
{
    if (!FselectedScenario || !FSession)
        return;
    const auto scen = FselectedScenario;
    const QString question = tr("CAUTION! Delete the scenario '%1' ?").arg(Q(scen->short_descr));
    if (prompter_.askWarning(this, question, true) != ui::Answer::Yes)
        return;
    for (int i = 0; i < RememberedCount(); ++i)
        if (remembered_[std::size_t(i)]->id == scen->id) {
            removeRemembered(i);
            break;
        }
    scen->KyClearScenario(*FSession, true);
    updateForm(FselectedProject ? FselectedProject->id : -1);
}

void TFrmScenarioDlg::Button2Click()
{
    SetSelectedScenario(nullptr);
    SavedScenario = false;
    reject();
}

// --- Open --------------------------------------------------------------------

TFrmOpenScenarioDlg::TFrmOpenScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent)
    : TFrmScenarioDlg(prompter, parentDlg, parent)
{
    setObjectName(QStringLiteral("FrmOpenScenarioDlg"));
    setWindowTitle(tr("Open"));
    Button1->setText(tr("Load"));
}

bool TFrmOpenScenarioDlg::execute(db::Connection& session1, db::TKyModel, int DefaultProjectID)
{
    const int result = run(session1, DefaultProjectID, true, tr("Open"), tr("Load"));
    return result == QDialog::Accepted && FselectedScenario != nullptr;
}

void TFrmOpenScenarioDlg::Button1Click()
{
    const auto found = parentDlg_.ListScenario.KyFindByName(ComboBox2->currentText().toStdString());
    if (found) {
        addRemembered(found);
        SetSelectedScenario(found);
    }
    // Not found: the scenario selected in the grid, if any, is the result.
}

// --- Save --------------------------------------------------------------------

TFrmSaveScenarioDlg::TFrmSaveScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent)
    : TFrmScenarioDlg(prompter, parentDlg, parent)
{
    setObjectName(QStringLiteral("FrmSaveScenarioDlg"));
    setWindowTitle(tr("Save As"));
    Button1->setText(tr("Save"));
    Button1->setEnabled(true);
}

bool TFrmSaveScenarioDlg::execute(db::Connection& session1, db::TKyModel, int DefaultProjectID)
{
    const int result = run(session1, DefaultProjectID, false, tr("Save As"), tr("Save"));
    return result == QDialog::Accepted ? SavedScenario : false;
}

void TFrmSaveScenarioDlg::createNewProject()
{
    db::TKyProject project;
    project.id = FselectedProject->id;
    project.KyLoadProject(*FSession);
    GivenScenario->project = std::move(project);
}

void TFrmSaveScenarioDlg::Button1Click()
{
    if (!GivenScenario || !FSession)
        throw VelnorError("No scenario");
    if (!FselectedProject) {
        prompter_.showWarning(this, tr("No project selected"));
        SavedScenario = false;
        accept();
        return;
    }
    const QString name = ComboBox2->currentText();
    if (name.isEmpty()) {
        prompter_.showWarning(this, tr("No scenario name"));
        return;
    }
    db::TScenariosList all;
    all.KyLoadScenarios(*FSession, parentDlg_.Model, false, true);
    bool needProject = !GivenScenario->project.has_value();
    if (GivenScenario->project && GivenScenario->project->id != FselectedProject->id) {
        if (prompter_.askWarning(this, tr("Save the scenario under a different project?"), true) != ui::Answer::Yes)
            return;
        needProject = true;
    }
    if (all.KyFindByName(*FSession, name.toStdString(), FselectedProject->id)) {
        const QString q = tr("A scenario with the name '%1' already exists. Save with the same name ?").arg(name);
        if (prompter_.askWarning(this, q, true) != ui::Answer::Yes)
            return;
    }
    if (needProject)
        createNewProject();
    GivenScenario->short_descr = name.toStdString();
    GivenScenario->descr = Memo1->toPlainText().toStdString();
    GivenScenario->KySaveScenario(*FSession, false);
    SavedScenario = true;
    accept();
}

// --- The components -----------------------------------------------------------

TOpenScenarioDialog::TOpenScenarioDialog(ui::Prompter& prompter, QWidget* parent)
{
    Caption = QStringLiteral("Open Scenario");
    OpenScenarioForm = std::make_unique<TFrmOpenScenarioDlg>(prompter, *this, parent);
}

bool TOpenScenarioDialog::execute(int& ScenarioID)
{
    if (!Session)
        throw VelnorError("Internal error: the open dialog has no session");
    if (!OpenScenarioForm->execute(Session->Conn(), Model, DefaultProjectID))
        return false;
    if (OpenScenarioForm->selectedProject())
        DefaultProjectID = OpenScenarioForm->selectedProject()->id;
    ScenarioID = OpenScenarioForm->selectedScenario()->id;
    return true;
}

TSaveScenarioDialog::TSaveScenarioDialog(ui::Prompter& prompter, QWidget* parent)
{
    Caption = QStringLiteral("Save Scenario");
    SaveScenarioForm = std::make_unique<TFrmSaveScenarioDlg>(prompter, *this, parent);
}

bool TSaveScenarioDialog::execute(db::TKyScenario* scenario)
{
    if (!Session || !Session->Connected())
        throw VelnorError("No connection to a database");
    if (!scenario)
        throw VelnorError("No scenario");
    SaveScenarioForm->GivenScenario = scenario;
    const int defaultProject = scenario->project ? scenario->project->id : -1;
    return SaveScenarioForm->execute(Session->Conn(), Model, defaultProject);
}

} // namespace velnor::dbui
