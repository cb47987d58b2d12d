#pragma once

#include "widgets/Services.h"

#include "core/WaterUser.h"

#include <memory>

class QWidget;

namespace velnor::ui {

class TConsListForm;
class TFormWatSup;
class TFormIndust;
class TFormIndData;
class TFormFarm;
class TFormFarmData;
class TFormIrig;
class TFormIrigData;
class TFormPotEvap;
class TFrmIrrigConsData;

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

    TFormWatSup& FormWatSup() { return *watSup_; }
    TFormIndust& FormIndust() { return *indust_; }
    TFormIndData& FormIndData() { return *indData_; }
    TFormFarm& FormFarm() { return *farm_; }
    TFormFarmData& FormFarmData() { return *farmData_; }
    TFormIrig& FormIrig() { return *irig_; }
    TFormIrigData& FormIrigData() { return *irigData_; }
    TFormPotEvap& FormPotEvap() { return *potEvap_; }
    TFrmIrrigConsData& FrmIrrigConsData() { return *irrigConsData_; }

private:
    TConsListForm& ListForm(int category);
    static void RestoreMeteoData(const TWaterUser& from, TWaterUser& to);
    void NewConsumptorUser(int category);
    void EditConsumptorUser(int category, int recordNr);
    void PrepareNewMeteoData(int lrec);

    AppServices& services_;
    QWidget* parent_;
    // Data dialogs first: the list dialogs refer to them.
    std::unique_ptr<TFormPotEvap> potEvap_;
    std::unique_ptr<TFormIrigData> irigData_;
    std::unique_ptr<TFormIndData> indData_;
    std::unique_ptr<TFormFarmData> farmData_;
    std::unique_ptr<TFrmIrrigConsData> irrigConsData_;
    std::unique_ptr<TFormWatSup> watSup_;
    std::unique_ptr<TFormIndust> indust_;
    std::unique_ptr<TFormFarm> farm_;
    std::unique_ptr<TFormIrig> irig_;
};

} // namespace velnor::ui
