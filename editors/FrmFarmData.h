#pragma once

#include "editors/ConsDataForm.h"

namespace velnor::ui {

// The animal data dialog: one livestock consumptor of WatConsRec.
class TFormFarmData : public TConsDataForm {
public:
    explicit TFormFarmData(AppServices& services, QWidget* parent = nullptr);

    int currentAnimal = -1;

    void FormCreate();
    void updateForm(int WatConsIndex);
    bool checkData() override;
    void Button1Click() override;

    QLineEdit* EdtPopulation;
    TKyStringGrid* StrGrdFarmCons;

protected:
    void StoreInputs() override;
};

} // namespace velnor::ui
