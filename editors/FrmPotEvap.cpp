#include "editors/FrmPotEvap.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velnor::ui {

TFormPotEvap::TFormPotEvap(AppServices& services, QWidget* parent) : TLForm(parent), services_(services)
{
    setObjectName(QStringLiteral("FormPotEvap"));
    setWindowTitle(tr("Pot. Evap. Refer. Crop."));
    StrGrdTot = MakeGrid(this, services, "StrGrdTot");
    SetGridSize(*StrGrdTot, 2, 14);
    SetGridFixed(*StrGrdTot, 1, 1);
    SetGridEditable(*StrGrdTot, false);
    SetColWidth(*StrGrdTot, 0, MonthColumnWidth);
    SetFitColumn(*StrGrdTot, 1);
    SetCell(*StrGrdTot, 1, 0, QStringLiteral("mm"));
    BtnCopy = new QPushButton(tr("Copy"), this);
    BtnCopy->setObjectName(QStringLiteral("BtnCopy"));
    BtnCopy->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnCopy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StrGrdTot);
    layout->addLayout(buttons);
    // Wide enough for the longer caption in a window manager's title bar.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(tr("ETo of Reference Crop")) + 140;
    InitForm(*this, services, 34, std::max(240, titleWidth), 340);
    connect(BtnCopy, &QPushButton::clicked, this, [this] { BtnCopyClick(); });
}

void TFormPotEvap::ShowValues(const Months& TblMonthEvap, bool refcrop)
{
    setWindowTitle(refcrop ? tr("ETo of Reference Crop") : tr("ETo of Water"));
    if (refcrop)
        SetCell(*StrGrdTot, 1, 0, QStringLiteral("mm"));
    double total = 0;
    for (int m = 0; m < 12; ++m) {
        SetCell(*StrGrdTot, 0, m + 1, FromModel(TblDataMonths[m]));
        SetCell(*StrGrdTot, 1, m + 1, FixedText("%7.1f", TblMonthEvap[m]));
        total += TblMonthEvap[m];
    }
    SetCell(*StrGrdTot, 0, 13, tr("Total"));
    SetCell(*StrGrdTot, 1, 13, FixedText("%7.1f", total));
}

void TFormPotEvap::BtnCopyClick()
{
    Guarded(services_, this, [this] {
        StringGridToClipboard(*StrGrdTot, 0, ColCount(*StrGrdTot) - 1, 0, RowCount(*StrGrdTot) - 1);
    });
}

} // namespace velnor::ui
