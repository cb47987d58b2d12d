#pragma once

#include "editors/ConsListForm.h"

namespace velnor::ui {

class TFormIndData;

// The industry list dialog: the branch consumptors of WatConsRec and the toponym.
class TFormIndust : public TConsListForm {
public:
    TFormIndust(AppServices& services, TFormIndData& data, QWidget* parent = nullptr);

    void RefreshGrid() override;
    // AddExRecInd for every consumptor, then RefreshGrid.
    void Recalculate();
    void StrGrdIndustMouseDown(int x, int y) { GridMouseDown(x, y); }
    void StrGrdIndustDblClick() { GridDblClick(); }

    TKyStringGrid* StrGrdIndust;

protected:
    void PrepareDataDialog(int index) override;
    QDialog& DataDialog() override;
    void RecalculateList() override { Recalculate(); }

private:
    TFormIndData& data_;
};

} // namespace velnor::ui
