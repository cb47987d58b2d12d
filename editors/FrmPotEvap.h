#pragma once

#include "widgets/LForm.h"
#include "widgets/Services.h"

#include "core/DataTables.h"

class QPushButton;

namespace velnor::ui {

class TKyStringGrid;

// The monthly ETo view of the meteorological data form.
class TFormPotEvap : public TLForm {
public:
    explicit TFormPotEvap(AppServices& services, QWidget* parent = nullptr);

    // Fills the table with twelve monthly values and their total and sets the caption.
    void ShowValues(const Months& TblMonthEvap, bool refcrop);
    void BtnCopyClick();

    TKyStringGrid* StrGrdTot;
    QPushButton* BtnCopy;

private:
    AppServices& services_;
};

} // namespace velnor::ui
