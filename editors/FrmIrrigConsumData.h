#pragma once

#include "widgets/Services.h"

#include <QDialog>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace velnor::ui {

class TFormIrigData;

// Drawing of the crop-coefficient curve over time, with the seven coefficient
// boxes laid over it.
class TKcCurvePicture : public QWidget {
public:
    explicit TKcCurvePicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;

    // Reference points of the drawing (stage ends on the time axis, Kc levels).
    static constexpr int AxisX = 70, AxisY = 200;
    static constexpr int XIni = 150, XDev = 240, XMid = 350, XLate = 430;
    static constexpr int YKcIni = 165, YKcMid = 60, YKcLate = 130;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The crop data form: one crop consumptor of the irrigation user being edited.
class TFrmIrrigConsData : public QDialog {
public:
    TFrmIrrigConsData(AppServices& services, TFormIrigData& meteo, QWidget* parent = nullptr);

    int currentCrop = -1;

    void FormCreate();
    void updateForm(int WatConsIndex);
    bool checkData();
    void BtnUpdateClick();
    void Button2Click();
    void BtnRestoreClick();
    void SpeedButton1Click();

    QLabel* Label4;
    QLineEdit* EdtSemD;
    QLabel* Label3;
    QLineEdit* EdtUnits;
    QLabel* Label5;
    QComboBox* CmbCultures;
    QToolButton* SpeedButton1;
    TKcCurvePicture* Image1;
    QLineEdit* EdtLIni;
    QLineEdit* EdtLDev;
    QLineEdit* EdtLMid;
    QLineEdit* EdtLLate;
    QLineEdit* EdtKcIni;
    QLineEdit* EdtKcMid;
    QLineEdit* EdtKcLate;
    QPushButton* BtnUpdate;
    QPushButton* Button2;
    QPushButton* BtnRestore;

private:
    // The seven boxes in the order of TblKc[0..6].
    QLineEdit* KcBox(int i) const;
    void StoreInputs();

    AppServices& services_;
    TFormIrigData& meteo_;
};

} // namespace velnor::ui
