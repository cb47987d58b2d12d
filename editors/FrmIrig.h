#pragma once

#include "editors/ConsListForm.h"

#include <vector>

namespace velnor::ui {

class TFormIrigData;
class TFrmIrrigConsData;

// The irrigation list dialog: the crops of WatConsRec, the toponym and the
// meteorological data form of the user.
class TFormIrig : public TConsListForm {
public:
    TFormIrig(AppServices& services, TFormIrigData& meteo, TFrmIrrigConsData& crop, QWidget* parent = nullptr);

    void RefreshGrid() override;
    // Loads WatUserRec[irec] into this dialog and into the meteorological form.
    void GetRecData(int irec) override;
    void ReadMeteoData(std::vector<double>& TblMeteoData, double& phi, int& arid, int& method) const;
    // Reads the meteorological form and stores it into WatUserRec[irec] (AddMeteoData).
    void StoreMeteoData(int irec) const;
    // AddExRecIrig for every crop with the meteorological form's data. When the
    // form does not read, throws its conversion error and leaves every crop as it was.
    void RecalculateNeeds();
    void ToolBtnAddClick() override;
    void BtnMetDatClick();
    void BtnCloseClick() { BtnCancelClick(); }
    void StrGrdIrigMouseDown(int x, int y) { GridMouseDown(x, y); }
    void StrGrdIrigDblClick() { GridDblClick(); }

    TKyStringGrid* StrGrdIrig;
    QPushButton* BtnMetDat;
    QPushButton* BtnClose;

protected:
    void PrepareDataDialog(int index) override;
    QDialog& DataDialog() override;
    void RecalculateList() override { RecalculateNeeds(); }

private:
    TFormIrigData& meteo_;
    TFrmIrrigConsData& crop_;
};

} // namespace velnor::ui
