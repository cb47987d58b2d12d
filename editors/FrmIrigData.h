#pragma once

#include "widgets/LForm.h"
#include "widgets/Services.h"

#include "core/WaterUser.h"

#include <QDialog>
#include <QStyledItemDelegate>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace velnor::ui {

class TKyStringGrid;
class TFormPotEvap;

// Choice of the evapotranspiration method on the meteorological data form.
enum TIrrigMethod { irmPN = 0, irmMBC = 1, irmBC = 2, irmEMP = 3, irmNoMethod = 4 };

// The method code of the calculation functions (MethId) for a choice; 0 for none.
int MethodCode(TIrrigMethod method);

// The meteorological data form: method, monthly inputs, latitude or climatic
// zone of the irrigation user being edited, and the monthly ETo views.
class TFormIrigData : public TLForm {
public:
    TFormIrigData(AppServices& services, TFormPotEvap& potEvap, QWidget* parent = nullptr);

    TIrrigMethod method() const { return FMethod; }
    void SetMethod(TIrrigMethod Value);

    void LFormCreate();
    void CheckBoxBCClick();
    void CheckBoxMBCClick();
    void CheckBoxPMClick();
    void CheckBoxEMPClick();
    void PreparePN();
    void PrepareMBC();
    void PrepareBC();
    void PrepareEMP();
    void BtnPasteClick();
    void BtnLastClick();
    void BtnPotEvapRefClick();
    void BtnPotEvapWatClick();
    void BtnOkClick();
    void SpeedButton1Click();
    // Draws one cell of the heat-index legend.
    void StrGrdMemoDrawCell(QPainter& painter, const QRect& rect, int col, int row) const;

    // Reads the form without checks. Outputs the method leaves alone keep their
    // values; a cell or latitude that is not a number throws the conversion error.
    void ReadMeteoData(std::vector<double>& TblMeteoData, double& phi, int& arid, int& method) const;
    // The record index held in Memo1, or -1 when it is empty or not a number.
    int RecordIndex() const;

    // Writes the stored inputs of a method code into the data columns (rows 1..12).
    void ShowStoredInputs(const TWaterUser& user, int methodCode, bool onlyPositiveHeatIndex);
    // Selects climatic zone entry round(zone) - 1 (none when out of range).
    void SelectClimaZone(double zone);

    QGroupBox* IrrMethodGroupBox;
    QCheckBox* CheckBoxBC;
    QCheckBox* CheckBoxMBC;
    QCheckBox* CheckBoxPM;
    QCheckBox* CheckBoxEMP;
    TKyStringGrid* StrGrdMonthsTemp;
    QLabel* Label2;
    QLineEdit* EdtPhi;
    QLabel* Label1;
    QComboBox* CmbClima;
    QLabel* Label3;
    QTableWidget* StrGrdMemo;
    QPushButton* BtnPaste;
    QPushButton* BtnLast;
    QPushButton* BtnPotEvapRef;
    QPushButton* BtnPotEvapWat;
    QPushButton* BtnOk;
    QToolButton* SpeedButton1;
    QLineEdit* Memo1;

private:
    struct Column {
        const char* heading;
        int width; // 0: keep the current width
    };
    void PrepareColumns(std::initializer_list<Column> columns, int gridWidth, bool latitude, bool water);
    void ShowPotEvap(bool refcrop);
    void CheckInputs() const;

    AppServices& services_;
    TFormPotEvap& potEvap_;
    TIrrigMethod FMethod = irmNoMethod;
};

// Draws the legend cells through the form's handler.
class TMemoCellDelegate : public QStyledItemDelegate {
public:
    TMemoCellDelegate(const TFormIrigData& form, QObject* parent)
        : QStyledItemDelegate(parent), form_(form)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TFormIrigData& form_;
};

} // namespace velnor::ui
