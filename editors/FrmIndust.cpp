#include "editors/FrmIndust.h"

#include "editors/EditorSupport.h"
#include "editors/FrmIndustData.h"
#include "editors/GridCells.h"

#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QLineEdit>

namespace velnor::ui {

TFormIndust::TFormIndust(AppServices& services, TFormIndData& data, QWidget* parent)
    : TConsListForm(services,
                    {"FormIndust", tr("Industry"), 0xCCCCCC, 26, tr("New industry"), tr("Delete Industry"),
                     "StrGrdIndust", "BtnCancel"},
                    parent),
      StrGrdIndust(Grid), data_(data)
{
    EdtTopo->setToolTip(tr("No industries!"));
    RefreshGrid();
}

void TFormIndust::RefreshGrid()
{
    LayoutList({tr("Type"), tr("Units"), tr("Intake (hm3/y)"), tr("Discharge (hm3/y)"), tr("Needs (hm3/y)")},
               static_cast<int>(WatConsRec.size()));
    SetColWidthForHeading(*Grid, 1, 50);
    for (int c = 2; c < 5; ++c)
        SetColWidthForHeading(*Grid, c, 0);
    for (std::size_t i = 0; i < WatConsRec.size(); ++i) {
        const TWaterConsumptor& cons = WatConsRec[i];
        double intake = 0, disch = 0, consp = 0;
        for (int m = 0; m < 12; ++m) {
            intake += cons.UnitsNum * cons.TblIntake[m];
            disch += cons.UnitsNum * cons.TblDisch[m];
            consp += cons.UnitsNum * cons.TblConsp[m];
        }
        SetRow(static_cast<int>(i) + 1, {FromModel(cons.CnsmpType.str()), QString::number(cons.UnitsNum),
                                         NumText(intake), NumText(disch), NumText(consp)});
    }
}

void TFormIndust::Recalculate()
{
    for (std::size_t i = 0; i < WatConsRec.size(); ++i)
        AddExRecInd(WatConsRec[i].CnsmpId, WatConsRec[i].UnitsNum, static_cast<int>(i));
    RefreshGrid();
}

void TFormIndust::PrepareDataDialog(int index)
{
    data_.updateForm(index);
}

QDialog& TFormIndust::DataDialog()
{
    return data_;
}

} // namespace velnor::ui
