#include "editors/FrmIrig.h"

#include "editors/EditorSupport.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/GridCells.h"

#include "core/Errors.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace velnor::ui {

TFormIrig::TFormIrig(AppServices& services, TFormIrigData& meteo, TFrmIrrigConsData& crop, QWidget* parent)
    : TConsListForm(services,
                    {"FormIrig", tr("Irrigation"), 0xC6EE7B, 34, tr("New crop"), tr("Delete crop"), "StrGrdIrig",
                     "BtnClose"},
                    parent),
      StrGrdIrig(Grid), BtnClose(BtnCancel), meteo_(meteo), crop_(crop)
{
    BtnMetDat = MakeButton(this, "BtnMetDat", tr("Meteorological Data"));
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->insertWidget(box->count() - 1, BtnMetDat, 0, Qt::AlignLeft);
    SetTabOrder({EdtTopo, BtnMetDat, BtnAdd});
    connect(BtnMetDat, &QPushButton::clicked, this, [this] { BtnMetDatClick(); });
    RefreshGrid();
}

void TFormIrig::RefreshGrid()
{
    const bool hm3 = services_.volumeUnit() == QLatin1String("hm3");
    const int n = static_cast<int>(WatConsRec.size());
    LayoutList({tr("Type"), tr("Sem. Day"), tr("1000 m2"), hm3 ? tr("Needs (hm3/year)") : tr("Needs (m3/year)")}, n);
    for (int c = 1; c < 4; ++c)
        SetColWidthForHeading(*Grid, c, 0);
    for (int i = 0; i < n; ++i) {
        const TWaterConsumptor& crop = WatConsRec[i];
        SetRow(i + 1, {FromModel(crop.CnsmpType.str()), QString::number(crop.Sem_day),
                       QString::number(crop.UnitsNum),
                       FixedText("%5.3f", hm3 ? crop.yearneeds : crop.yearneeds * 1000000)});
    }
}

void TFormIrig::GetRecData(int irec)
{
    const TWaterUser& user = WatUserRec[static_cast<std::size_t>(irec)];
    EdtTopo->setText(FromModel(user.Toponym.str()));
    meteo_.Memo1->setText(QString::number(irec));
    switch (user.MethId) {
    case MethPenmanMonteith: meteo_.SetMethod(irmPN); break;
    case MethModBlaneyCriddle: meteo_.SetMethod(irmMBC); break;
    case MethBlaneyCriddle: meteo_.SetMethod(irmBC); break;
    default: meteo_.SetMethod(irmEMP); break;
    }
    const int code = user.MethId >= MethBlaneyCriddle && user.MethId <= MethPenmanMonteith ? user.MethId
                                                                                          : MethEmpirical;
    meteo_.ShowStoredInputs(user, code, true);
    if (user.MethId > MethEmpirical)
        meteo_.EdtPhi->setText(NumText(user.Latitude));
    RefreshGrid();
}

void TFormIrig::ReadMeteoData(std::vector<double>& TblMeteoData, double& phi, int& arid, int& method) const
{
    meteo_.ReadMeteoData(TblMeteoData, phi, arid, method);
}

void TFormIrig::StoreMeteoData(int irec) const
{
    std::vector<double> data;
    double phi = 0;
    int arid = 0;
    int method = 0;
    ReadMeteoData(data, phi, arid, method);
    AddMeteoData(data, phi, arid, method, irec);
}

void TFormIrig::RecalculateNeeds()
{
    std::vector<double> data;
    double phi = 0;
    int arid = 0;
    int method = 0;
    ReadMeteoData(data, phi, arid, method);
    const ConsumptorList before = WatConsRec;
    try {
        for (std::size_t i = 0; i < WatConsRec.size(); ++i) {
            const TWaterConsumptor& crop = WatConsRec[i];
            AddExRecIrig(data, phi, arid, crop.Sem_day, method, crop.CnsmpId, crop.UnitsNum, static_cast<int>(i));
        }
    } catch (...) {
        WatConsRec = before;
        throw;
    }
}

void TFormIrig::ToolBtnAddClick()
{
    double first = 0;
    if (!ReadReal(Cell(*meteo_.StrGrdMonthsTemp, 1, 1), first)) {
        services_.prompter().showError(this, tr("Meteorological Data must be given first!"));
        return;
    }
    RunDataDialog(-1);
}

void TFormIrig::BtnMetDatClick()
{
    const int index = meteo_.RecordIndex();
    const bool known = index >= 0 && index < static_cast<int>(WatUserRec.size());
    if (known)
        GetRecData(index);
    if (services_.prompter().exec(meteo_) == QDialog::Accepted) {
        Guarded(services_, this, [this, known, index] {
            if (!WatConsRec.empty())
                RecalculateNeeds();
            if (known)
                StoreMeteoData(index);
        });
    } else if (known) {
        GetRecData(index);
    }
    RefreshGrid();
}

void TFormIrig::PrepareDataDialog(int index)
{
    crop_.updateForm(index);
}

QDialog& TFormIrig::DataDialog()
{
    return crop_;
}

} // namespace velnor::ui
