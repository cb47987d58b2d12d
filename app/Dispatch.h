#pragma once

#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"
#include "editors/FrmIndust.h"
#include "editors/FrmIndustData.h"
#include "editors/FrmIrig.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/FrmPotEvap.h"
#include "editors/FrmWatSup.h"
#include "widgets/Services.h"

#include "core/WaterUser.h"

class QWidget;

namespace velnor::ui {

// The editing dispatch of the main window: creates the editor forms once,
// reserves or selects the record, prepares and shows the category's editor and,
// after OK, stores the result through the assembly operations of the core and
// rebuilds the main list (services.refreshForm()).
class TEditDispatch {
public:
    TEditDispatch(AppServices& services, QWidget* parent);
    ~TEditDispatch();
    TEditDispatch(const TEditDispatch&) = delete;
    TEditDispatch& operator=(const TEditDispatch&) = delete;

    // New water users of each category.
    void SelWaterSupply();
    void SelFarming();
    void SelIndustry();
    void SelIrrigation();
    // Opens the editor of water user selectedRec by the category the main list
    // shows for it ("Edit", double-click on the list); a group goes to the group
    // panel. Nothing for a negative index or while the group panel is open.
    void editUser(int selectedRec);

    TFormWatSup& FormWatSup() { return watSup_; }
    TFormIndust& FormIndust() { return indust_; }
    TFormIndData& FormIndData() { return indData_; }
    TFormFarm& FormFarm() { return farm_; }
    TFormFarmData& FormFarmData() { return farmData_; }
    TFormIrig& FormIrig() { return irig_; }
    TFormIrigData& FormIrigData() { return irigData_; }
    TFormPotEvap& FormPotEvap() { return potEvap_; }
    TFrmIrrigConsData& FrmIrrigConsData() { return irrigConsData_; }

private:
    TConsListForm& ListForm(int category);
    static void RestoreMeteoData(const TWaterUser& from, TWaterUser& to);
    void NewConsumptorUser(int category);
    void EditConsumptorUser(int category, int recordNr);
    void PrepareNewMeteoData(int lrec);

    AppServices& services_;
    QWidget* parent_;
    // The forms, created in the program's fixed order of forms (the editors,
    // the meteorological form and its ETo view, then the data dialogs). A form
    // is handed forms created after it; it only keeps the reference and uses
    // it once all of them exist.
    TFormWatSup watSup_;
    TFormIndust indust_;
    TFormFarm farm_;
    TFormIrig irig_;
    TFormIrigData irigData_;
    TFormPotEvap potEvap_;
    TFormIndData indData_;
    TFormFarmData farmData_;
    TFrmIrrigConsData irrigConsData_;
};

} // namespace velnor::ui
