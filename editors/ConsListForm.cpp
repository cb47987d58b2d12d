#include "editors/ConsListForm.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velnor::ui {

namespace {
QToolButton* MakeToolButton(QToolBar* bar, const char* name, const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(bar->style()->standardIcon(icon));
    button->setFocusPolicy(Qt::TabFocus);
    bar->addWidget(button);
    return button;
}
} // namespace

TConsListForm::TConsListForm(AppServices& services, const Design& design, QWidget* parent)
    : TLForm(parent), services_(services), helpContext_(design.helpContext)
{
    setObjectName(QLatin1String(design.objectName));
    setWindowTitle(design.caption);
    SetFormColor(*this, design.color);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBtnAdd = MakeToolButton(ToolBar1, "ToolBtnAdd", design.addHint, QStyle::SP_FileIcon);
    ToolBtnDel = MakeToolButton(ToolBar1, "ToolBtnDel", design.delHint, QStyle::SP_TrashIcon);
    ToolButton1 = MakeToolButton(ToolBar1, "ToolButton1", tr("Help"), QStyle::SP_DialogHelpButton);

    Grid = MakeGrid(this, services, design.gridName);
    SetGridEditable(*Grid, false);
    SetRowSelect(*Grid, true);
    SetGridFixed(*Grid, 0, 1);
    SetFitColumn(*Grid, 0);

    Label2 = new QLabel(tr("Toponym"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    EdtTopo = new QLineEdit(this);
    EdtTopo->setObjectName(QStringLiteral("EdtTopo"));
    BtnAdd = MakeDefaultButton(this, "BtnAdd", tr("OK"));
    BtnCancel = MakeButton(this, design.cancelName, tr("Cancel"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));

    auto* topo = new QHBoxLayout;
    topo->addWidget(Label2);
    topo->addWidget(EdtTopo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Image1);
    buttons->addStretch();
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(ToolBar1);
    layout->addWidget(Grid, 1);
    layout->addLayout(topo);
    layout->addLayout(buttons);
    SetTabOrder({ToolBtnAdd, ToolBtnDel, ToolButton1, Grid, EdtTopo, BtnAdd, BtnCancel});
    InitForm(*this, services, design.helpContext, 520, 360);

    connect(ToolBtnAdd, &QToolButton::clicked, this, [this] { ToolBtnAddClick(); });
    connect(ToolBtnDel, &QToolButton::clicked, this, [this] { ToolBtnDelClick(); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
    connect(Grid, &TKyStringGrid::mousePressed, this,
            [this](Qt::MouseButton, const QPoint& pos) { GridMouseDown(pos.x(), pos.y()); });
    connect(Grid, &TKyStringGrid::doubleClicked, this, [this] { GridDblClick(); });
    connect(Grid, &TKyStringGrid::enterPressed, this, [this] { GridEnter(); });
}

void TConsListForm::GetRecData(int irec)
{
    EdtTopo->setText(FromModel(WatUserRec[static_cast<std::size_t>(irec)].Toponym.str()));
    RefreshGrid();
}

void TConsListForm::LayoutList(const QStringList& headings, int consumptors)
{
    TKyStringGrid& grid = *Grid;
    const bool any = consumptors > 0;
    SetGridSize(grid, static_cast<int>(headings.size()), consumptors + 1);
    SetGridFixed(grid, 0, 1);
    for (int c = 0; c < headings.size(); ++c)
        SetCell(grid, c, 0, headings[c]);
    if (!any)
        EdtTopo->clear();
    EdtTopo->setEnabled(any);
    Label2->setEnabled(any);
}

void TConsListForm::SetRow(int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        SetCell(*Grid, c, row, cells[c]);
}

void TConsListForm::RunDataDialog(int index)
{
    PrepareDataDialog(index);
    services_.prompter().exec(DataDialog());
    Guarded(services_, this, [this] { RecalculateList(); });
    RefreshGrid();
}

void TConsListForm::ToolBtnAddClick()
{
    RunDataDialog(-1);
}

void TConsListForm::ToolBtnDelClick()
{
    if (services_.prompter().ask(this, tr("Delete selected records!")) != Answer::Yes)
        return;
    std::vector<int> rows = SelectedRows(*Grid);
    std::sort(rows.rbegin(), rows.rend());
    Guarded(services_, this, [&rows] {
        for (int row : rows)
            if (row >= 1 && row <= static_cast<int>(WatConsRec.size()))
                DelConsRecord(row - 1);
    });
    RefreshGrid();
}

void TConsListForm::ToolButton1Click()
{
    services_.showHelp(helpContext_);
}

void TConsListForm::BtnAddClick()
{
    if (WatConsRec.empty()) {
        services_.prompter().showError(this, tr("Nothing to add!"));
        return;
    }
    services_.SetScenarioChanged(true);
    accept();
}

void TConsListForm::BtnCancelClick()
{
    reject();
}

void TConsListForm::GridMouseDown(int x, int y)
{
    mouseX = x;
    mouseY = y;
}

void TConsListForm::GridEnter()
{
    int col = -1, row = -1;
    Grid->CurrentCell(col, row);
    if (row >= 1 && row <= static_cast<int>(WatConsRec.size()))
        RunDataDialog(row - 1);
}

void TConsListForm::GridDblClick()
{
    const int row = GridRowAt(*Grid, mouseX, mouseY);
    if (row >= 1 && row <= static_cast<int>(WatConsRec.size()))
        RunDataDialog(row - 1);
}

} // namespace velnor::ui
