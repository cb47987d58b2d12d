#include "editors/FrmFarm.h"

#include "editors/EditorSupport.h"
#include "editors/FrmFarmData.h"
#include "editors/GridCells.h"

#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QLabel>

namespace velnor::ui {

TFormFarm::TFormFarm(AppServices& services, TFormFarmData& data, QWidget* parent)
    : TConsListForm(services,
                    {"FormFarm", tr("Farming"), 0x5A968B, 18, tr("New animal"), tr("Delete animal"), "StrGrdFarm",
                     "BtnCancel"},
                    parent),
      StrGrdFarm(Grid), data_(data)
{
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();
    RefreshGrid();
}

void TFormFarm::RefreshGrid()
{
    const bool hm3 = services_.volumeUnit() == QLatin1String("hm3");
    const int n = static_cast<int>(WatConsRec.size());
    LayoutList({tr("Type"), tr("Units"), hm3 ? tr("Needs (hm3/year)") : tr("Needs (m3/year)"), QString()}, n);
    SetColWidthForHeading(*Grid, 1, 80);
    SetColWidthForHeading(*Grid, 2, 90);
    SetColWidth(*Grid, 3, 0);
    for (int i = 0; i < n; ++i) {
        const TWaterConsumptor& cons = WatConsRec[i];
        SetRow(i + 1, {FromModel(cons.CnsmpType.str()), QString::number(cons.UnitsNum),
                       NumText(hm3 ? cons.yearneeds : cons.yearneeds * 1000000), QString::number(cons.CnsmpId)});
    }
}

void TFormFarm::Recalculate()
{
    for (std::size_t i = 0; i < WatConsRec.size(); ++i)
        AddExRecFarm(WatConsRec[i].CnsmpId, WatConsRec[i].UnitsNum, static_cast<int>(i));
}

void TFormFarm::PrepareDataDialog(int index)
{
    data_.updateForm(index);
}

QDialog& TFormFarm::DataDialog()
{
    return data_;
}

} // namespace velnor::ui
