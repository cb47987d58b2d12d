#include "app/Dispatch.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QLineEdit>

namespace velnor::ui {

TEditDispatch::TEditDispatch(AppServices& services, QWidget* parent)
    : services_(services),
      parent_(parent),
      watSup_(services),
      indust_(services, indData_),
      farm_(services, farmData_),
      irig_(services, irigData_, irrigConsData_),
      irigData_(services, potEvap_),
      potEvap_(services),
      indData_(services),
      farmData_(services),
      irrigConsData_(services, irigData_)
{
}

TEditDispatch::~TEditDispatch() = default;

void TEditDispatch::SelWaterSupply()
{
    TFormWatSup& form = watSup_;
    form.PrepareNew();
    WatConsRec.clear();
    WatUserRec.append();
    const int lrec = static_cast<int>(WatUserRec.size()) - 1;
    if (services_.prompter().exec(form) != QDialog::Accepted) {
        WatUserRec.erase(lrec);
        return;
    }
    const bool stored = Guarded(services_, &form, [&form, lrec] {
        AddRecordSup(NewWUId(), ToModel(form.EdtTopo->text()), form.Population(), form.Consumptions(), lrec);
    });
    if (!stored)
        WatUserRec.erase(lrec);
    services_.refreshForm();
}

void TEditDispatch::NewConsumptorUser(int category)
{
    TConsListForm& form = ListForm(category);
    WatConsRec.clear();
    const int lrec = static_cast<int>(WatUserRec.size());
    WatUserRec.append();
    if (category == CatIrrigation)
        PrepareNewMeteoData(lrec);
    form.RefreshGrid();
    for (;;) {
        if (services_.prompter().exec(form) != QDialog::Accepted) {
            WatUserRec.erase(lrec);
            return;
        }
        try {
            if (category == CatIrrigation)
                irig_.StoreMeteoData(lrec);
            ExToIntRec(category, ToModel(form.EdtTopo->text()), NewWUId(), lrec);
        } catch (const std::exception& e) {
            services_.prompter().showMessage(&form, QString::fromUtf8(e.what()));
            continue;
        }
        services_.refreshForm();
        return;
    }
}

void TEditDispatch::PrepareNewMeteoData(int lrec)
{
    TFormIrigData& meteo = irigData_;
    TKyStringGrid& grid = *meteo.StrGrdMonthsTemp;
    auto monthNames = [&grid] {
        for (int r = 1; r <= 12; ++r)
            SetCell(grid, 0, r, FromModel(TblDataMonths[r - 1]));
    };
    monthNames();
    SetGridSize(grid, 2, RowCount(grid));
    meteo.SetMethod(irmBC);
    meteo.EdtPhi->clear();
    meteo.Memo1->setText(QString::number(lrec));
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c < ColCount(grid); ++c)
            SetCell(grid, c, r, QString());
    meteo.SetMethod(irmBC);
    monthNames();
    SetCell(grid, 1, 0, QObject::tr("Temp. (C)"));
}

void TEditDispatch::RestoreMeteoData(const TWaterUser& from, TWaterUser& to)
{
    to.MethId = from.MethId;
    to.Latitude = from.Latitude;
    to.TblMnthMinT = from.TblMnthMinT;
    to.TblMnthMaxT = from.TblMnthMaxT;
    to.TblRelHum = from.TblRelHum;
    to.TblRelSun = from.TblRelSun;
    to.TblWindSp = from.TblWindSp;
}

TConsListForm& TEditDispatch::ListForm(int category)
{
    if (category == CatFarming)
        return farm_;
    if (category == CatIndustry)
        return indust_;
    return irig_;
}

void TEditDispatch::SelFarming()
{
    NewConsumptorUser(CatFarming);
}

void TEditDispatch::SelIndustry()
{
    NewConsumptorUser(CatIndustry);
}

void TEditDispatch::SelIrrigation()
{
    NewConsumptorUser(CatIrrigation);
}

void TEditDispatch::EditConsumptorUser(int category, int recordNr)
{
    TConsListForm& form = ListForm(category);
    const TWaterUser& user = WatUserRec[static_cast<std::size_t>(recordNr)];
    WatConsRec.resize(user.WatConsRec.size());
    CopyArrayWatConsRec(user.WatConsRec, WatConsRec);
    // Meteorological data accepted while the dialog is open are stored at once;
    // a cancelled dialog puts the stored ones back, so that the record's inputs
    // keep matching its needs.
    const TWaterUser before = user;
    form.GetRecData(recordNr);
    if (services_.prompter().exec(form) != QDialog::Accepted) {
        if (category == CatIrrigation)
            RestoreMeteoData(before, WatUserRec[static_cast<std::size_t>(recordNr)]);
        return;
    }
    Guarded(services_, &form, [this, &form, category, recordNr] {
        const int geoId = WatUserRec[static_cast<std::size_t>(recordNr)].Geo_id;
        ExToIntRec(category, ToModel(form.EdtTopo->text()), geoId, recordNr);
        if (category == CatIrrigation)
            irig_.StoreMeteoData(recordNr);
    });
    services_.refreshForm();
}

void TEditDispatch::editUser(int selectedRec)
{
    if (services_.groupPanelOpen() || selectedRec < 0)
        return;
    const QString category = services_.mainListCategory(selectedRec);
    if (category.isEmpty() || selectedRec >= static_cast<int>(WatUserRec.size()))
        return;
    if (category == QLatin1String("1")) {
        TFormWatSup& form = watSup_;
        form.GetRecData(selectedRec);
        if (services_.prompter().exec(form) == QDialog::Accepted) {
            Guarded(services_, &form, [&form, selectedRec] {
                AddRecordSup(WatUserRec[static_cast<std::size_t>(selectedRec)].Geo_id,
                             ToModel(form.EdtTopo->text()), form.Population(), form.Consumptions(), selectedRec);
            });
        }
    } else if (category == QLatin1String("2")) {
        EditConsumptorUser(CatFarming, selectedRec);
        return;
    } else if (category == QLatin1String("3")) {
        EditConsumptorUser(CatIndustry, selectedRec);
        return;
    } else if (category == QLatin1String("4")) {
        EditConsumptorUser(CatIrrigation, selectedRec);
        return;
    } else if (category == QLatin1String("-1")) {
        services_.openGroupPanel(selectedRec);
    } else {
        return;
    }
    services_.refreshForm();
}

} // namespace velnor::ui
