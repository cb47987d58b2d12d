#include "editors/FrmFarmData.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QComboBox>
#include <QLineEdit>

namespace velnor::ui {

TFormFarmData::TFormFarmData(AppServices& services, QWidget* parent)
    : TConsDataForm(services,
                    {"FormFarmData", tr("Farm Data Form"), tr("Animal"), tr("Population"), "EdtPopulation",
                     "StrGrdFarmCons", {tr("Month"), tr("L/animal/d")}, 21},
                    parent),
      EdtPopulation(UnitsBox), StrGrdFarmCons(Grid)
{
    setSizeGripEnabled(true);
    FormCreate();
}

void TFormFarmData::FormCreate()
{
    currentAnimal = -1;
}

void TFormFarmData::updateForm(int WatConsIndex)
{
    currentAnimal = WatConsIndex;
    QStringList names;
    for (const auto& animal : AnimalsRec)
        names << FromModel(animal.Name);
    PrepareCommon(names);
    if (WatConsIndex < 0 || WatConsIndex >= static_cast<int>(WatConsRec.size()))
        return;
    const TWaterConsumptor& cons = WatConsRec[WatConsIndex];
    EdtPopulation->setText(QString::number(cons.UnitsNum));
    ShowEntry(FindAnimIndxId(cons.CnsmpId));
    for (int m = 0; m < 12; ++m)
        SetCell(*Grid, 1, m + 1, NumText(cons.TblConsp[m]));
}

bool TFormFarmData::checkData()
{
    ErrorReport report;
    if (CmbType->currentIndex() < 0)
        report.add(tr("No Animal selected"));
    int population = 0;
    if (!ReadInt(EdtPopulation->text(), population) || population < 0)
        report.add(tr("The population must be a positive integer number"));
    for (int m = 1; m <= 12; ++m) {
        double value = 0;
        if (!ReadSingle(Cell(*Grid, 1, m), value) || value < 0)
            report.add(tr("The Value of water needs for month %1 must be a positive real number").arg(m));
    }
    if (report.empty())
        return true;
    services_.prompter().showError(this, report.text());
    return false;
}

void TFormFarmData::StoreInputs()
{
    const int population = StrToInt(EdtPopulation->text());
    Months consumption{};
    for (int m = 0; m < 12; ++m)
        consumption[m] = StrToReal(Cell(*Grid, 1, m + 1));
    if (currentAnimal < 0) {
        const int length = static_cast<int>(WatConsRec.size());
        AddExRecFarm(AnimalsRec.at(CmbType->currentIndex()).Id, population, length);
        currentAnimal = static_cast<int>(WatConsRec.size()) - 1;
    }
    TWaterConsumptor& cons = WatConsRec.at(currentAnimal);
    cons.UnitsNum = population;
    cons.CnsmpType = ToModel(CmbType->currentText());
    cons.TblConsp = consumption;
}

void TFormFarmData::Button1Click()
{
    const int pos = FindAnimIndxName(ToModel(CmbType->currentText()));
    if (pos < 0 || pos >= static_cast<int>(AnimalsRec.size()))
        return;
    for (int m = 0; m < 12; ++m)
        SetCell(*Grid, 1, m + 1, NumText(AnimalsRec[pos].Consumpt[m]));
}

} // namespace velnor::ui
