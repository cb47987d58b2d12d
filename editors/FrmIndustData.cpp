#include "editors/FrmIndustData.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QComboBox>
#include <QLineEdit>

namespace velnor::ui {

TFormIndData::TFormIndData(AppServices& services, QWidget* parent)
    : TConsDataForm(services,
                    {"FormIndData", tr("Industry Data Form"), tr("Industry"), tr("Units"), "EdtUnits",
                     "StrGrdIndCons", {tr("Month"), tr("Intake (hm3)"), tr("Discharge (hm3)")}, 29},
                    parent),
      EdtUnits(UnitsBox), StrGrdIndCons(Grid)
{
    FormCreate();
}

void TFormIndData::FormCreate()
{
    currentWaterConsInd = -1;
}

void TFormIndData::updateForm(int WatConsIndex)
{
    currentWaterConsInd = WatConsIndex;
    QStringList names;
    for (const auto& branch : IndustRec)
        names << FromModel(branch.Name);
    PrepareCommon(names);
    if (WatConsIndex < 0 || WatConsIndex >= static_cast<int>(WatConsRec.size()))
        return;
    const TWaterConsumptor& cons = WatConsRec[WatConsIndex];
    EdtUnits->setText(QString::number(cons.UnitsNum));
    ShowEntry(FindIndIndxId(cons.CnsmpId));
    for (int m = 0; m < 12; ++m) {
        SetCell(*Grid, 1, m + 1, NumText(cons.TblIntake[m]));
        SetCell(*Grid, 2, m + 1, NumText(cons.TblDisch[m]));
    }
}

bool TFormIndData::checkData()
{
    ErrorReport report;
    if (CmbType->currentIndex() < 0)
        report.add(tr("No Industry selected"));
    int units = 0;
    if (!ReadInt(EdtUnits->text(), units) || units < 0)
        report.add(tr("The number of units must be a positive integer number"));
    for (int m = 1; m <= 12; ++m) {
        double intake = 0, disch = 0;
        const bool intakeRead = ReadSingle(Cell(*Grid, 1, m), intake);
        const bool dischRead = ReadSingle(Cell(*Grid, 2, m), disch);
        if (!intakeRead || intake < 0)
            report.add(tr("The Value of water intake for month %1 must be a positive real number").arg(m));
        if (!dischRead || disch < 0)
            report.add(tr("The Value of water discharge for month %1 must be a positive real number").arg(m));
        // Compared only when both cells passed their own checks.
        if (intakeRead && dischRead && intake >= 0 && disch > intake)
            report.add(tr("The water discharge for month %1 must be less or equal to the intake").arg(m));
    }
    if (report.empty())
        return true;
    services_.prompter().showError(this, report.text());
    return false;
}

void TFormIndData::StoreInputs()
{
    const int units = StrToInt(EdtUnits->text());
    Months intake{}, disch{};
    for (int m = 0; m < 12; ++m) {
        intake[m] = StrToReal(Cell(*Grid, 1, m + 1));
        disch[m] = StrToReal(Cell(*Grid, 2, m + 1));
    }
    if (currentWaterConsInd < 0) {
        const int length = static_cast<int>(WatConsRec.size());
        AddExRecInd(IndustRec.at(CmbType->currentIndex()).Id, units, length);
        currentWaterConsInd = static_cast<int>(WatConsRec.size()) - 1;
    }
    TWaterConsumptor& cons = WatConsRec.at(currentWaterConsInd);
    cons.UnitsNum = units;
    cons.CnsmpType = ToModel(CmbType->currentText());
    for (int m = 0; m < 12; ++m) {
        cons.TblIntake[m] = intake[m];
        cons.TblDisch[m] = disch[m];
        cons.TblConsp[m] = intake[m] - disch[m];
    }
}

void TFormIndData::Button1Click()
{
    const int pos = FindIndIndxName(ToModel(CmbType->currentText()));
    if (pos < 0 || pos >= static_cast<int>(IndustRec.size()))
        return;
    for (int m = 0; m < 12; ++m) {
        SetCell(*Grid, 1, m + 1, NumText(IndustRec[pos].Intake[m]));
        SetCell(*Grid, 2, m + 1, NumText(IndustRec[pos].Disch[m]));
    }
}

} // namespace velnor::ui
