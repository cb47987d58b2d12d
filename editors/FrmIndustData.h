#pragma once

#include "editors/ConsDataForm.h"

namespace velnor::ui {

// The branch data dialog: one industrial consumptor of WatConsRec.
class TFormIndData : public TConsDataForm {
public:
    explicit TFormIndData(AppServices& services, QWidget* parent = nullptr);

    int currentWaterConsInd = -1;

    void FormCreate();
    void updateForm(int WatConsIndex);
    bool checkData() override;
    void Button1Click() override;

    QLineEdit* EdtUnits;
    TKyStringGrid* StrGrdIndCons;

protected:
    void StoreInputs() override;
};

} // namespace velnor::ui
