#pragma once

#include "editors/ConsListForm.h"

namespace velnor::ui {

class TFormFarmData;

// The farming list dialog: the livestock consumptors of WatConsRec and the toponym.
class TFormFarm : public TConsListForm {
public:
    TFormFarm(AppServices& services, TFormFarmData& data, QWidget* parent = nullptr);

    void RefreshGrid() override;
    // AddExRecFarm for every consumptor (no redraw).
    void Recalculate();
    void StrGrdFarmMouseDown(int x, int y) { GridMouseDown(x, y); }
    void StrGrdFarmDblClick() { GridDblClick(); }

    TKyStringGrid* StrGrdFarm;
    QLabel* Image2;

protected:
    void PrepareDataDialog(int index) override;
    QDialog& DataDialog() override;
    void RecalculateList() override { Recalculate(); }

private:
    TFormFarmData& data_;
};

} // namespace velnor::ui
