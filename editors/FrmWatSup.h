#pragma once

#include "widgets/LForm.h"
#include "widgets/Services.h"

#include "core/DataTables.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace velnor::ui {

class TKyStringGrid;

// The water-supply editor: toponym, population and twelve monthly consumptions.
class TFormWatSup : public TLForm {
public:
    explicit TFormWatSup(AppServices& services, QWidget* parent = nullptr);

    // Loads water user irec of WatUserRec into the dialog.
    void GetRecData(int irec);
    // Month names in column 0, empty consumptions, empty edit boxes (a new user).
    void PrepareNew();
    void BtnDefaultClick();
    void BtnAddClick();
    void BtnCancelClick();
    void SpeedButton1Click();

    // What the caller reads back after OK (the checks have passed).
    int Population() const;
    Months Consumptions() const;

    QLabel* LabelTopo;
    QLineEdit* EdtTopo;
    QLabel* LabelPop;
    QLineEdit* EdtPop;
    QLabel* LabelCons;
    TKyStringGrid* StrGrdCons;
    QPushButton* BtnDefault;
    QPushButton* BtnAdd;
    QPushButton* BtnCancel;
    QToolButton* SpeedButton1;
    QLabel* Image1;

private:
    void CheckInputs() const;

    AppServices& services_;
};

} // namespace velnor::ui
