#include "editors/ConsDataForm.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"
#include "widgets/LForm.h"

#include "core/DataTables.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace velnor::ui {

TConsDataForm::TConsDataForm(AppServices& services, const Design& design, QWidget* parent)
    : QDialog(parent), services_(services), headings_(design.headings), helpContext_(design.helpContext)
{
    setObjectName(QLatin1String(design.objectName));
    setWindowTitle(design.caption);
    InstallHelpKey(*this, services, design.helpContext);

    Label4 = new QLabel(design.typeLabel, this);
    Label4->setObjectName(QStringLiteral("Label4"));
    CmbType = new QComboBox(this);
    CmbType->setObjectName(QStringLiteral("CmbType"));
    CmbType->setMinimumWidth(200);
    Label3 = new QLabel(design.unitsLabel, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    UnitsBox = new QLineEdit(this);
    UnitsBox->setObjectName(QLatin1String(design.unitsName));
    SpeedButton1 = MakeHelpButton(this);
    const int columns = static_cast<int>(design.headings.size());
    Grid = MakeGrid(this, services, design.gridName);
    SetGridSize(*Grid, columns, 13);
    SetGridFixed(*Grid, 1, 1);
    SetGridEditable(*Grid, true);
    SetColWidth(*Grid, 0, MonthColumnWidth);
    SetFitColumn(*Grid, columns - 1);
    Grid->setMinimumHeight(13 * 18 + 8);
    BtnUpdate = MakeDefaultButton(this, "BtnUpdate", tr("OK"));
    Button1 = MakeButton(this, "Button1", tr("Default"));
    BtnRestore = MakeButton(this, "BtnRestore", tr("Cancel"));

    auto* top = new QGridLayout;
    top->addWidget(Label4, 0, 0);
    top->addWidget(CmbType, 0, 1);
    top->addWidget(SpeedButton1, 0, 2);
    top->addWidget(Label3, 1, 0);
    top->addWidget(UnitsBox, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnUpdate);
    buttons->addWidget(Button1);
    buttons->addWidget(BtnRestore);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    SetTabOrder({CmbType, UnitsBox, Grid, BtnUpdate, Button1, BtnRestore, SpeedButton1});
    StartAtFirstInput(*this);
    resize(380, 420);

    connect(BtnUpdate, &QPushButton::clicked, this, [this] { BtnUpdateClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BtnRestore, &QPushButton::clicked, this, [this] { BtnRestoreClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
}

void TConsDataForm::PrepareCommon(const QStringList& entries)
{
    TKyStringGrid& grid = *Grid;
    for (int c = 0; c < headings_.size(); ++c)
        SetCell(grid, c, 0, headings_[c]);
    for (int c = 1; c < ColCount(grid) - 1; ++c)
        SetColWidthForHeading(grid, c, 0);
    for (int r = 1; r <= 12; ++r)
        for (int c = 0; c < ColCount(grid); ++c)
            SetCell(grid, c, r, QString());
    UnitsBox->clear();
    CmbType->setEnabled(true);
    CmbType->clear();
    CmbType->addItems(entries);
    CmbType->setCurrentIndex(entries.isEmpty() ? -1 : 0);
    for (int r = 1; r <= 12; ++r)
        SetCell(grid, 0, r, FromModel(TblDataMonths[r - 1]));
}

void TConsDataForm::ShowEntry(int position)
{
    if (position >= 0 && position < CmbType->count())
        CmbType->setCurrentIndex(position);
    CmbType->setEnabled(false);
}

void TConsDataForm::BtnUpdateClick()
{
    if (!checkData())
        return;
    if (Guarded(services_, this, [this] { StoreInputs(); }))
        accept();
}

void TConsDataForm::BtnRestoreClick()
{
    reject();
}

void TConsDataForm::SpeedButton1Click()
{
    services_.showHelp(helpContext_);
}

} // namespace velnor::ui
