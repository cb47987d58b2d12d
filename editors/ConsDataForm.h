#pragma once

#include "widgets/Services.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace velnor::ui {

class TKyStringGrid;

// Common part of the branch and animal data dialogs: a reference-table entry,
// a number of units and a month table, with OK, Default and Cancel.
class TConsDataForm : public QDialog {
public:
    virtual bool checkData() = 0;
    void BtnUpdateClick();
    virtual void Button1Click() = 0;
    void BtnRestoreClick();
    void SpeedButton1Click();

    QLabel* Label4;
    QComboBox* CmbType;
    QLabel* Label3;
    QLineEdit* UnitsBox;
    QToolButton* SpeedButton1;
    TKyStringGrid* Grid;
    QPushButton* BtnUpdate;
    QPushButton* Button1;
    QPushButton* BtnRestore;

protected:
    struct Design {
        const char* objectName;
        QString caption;
        QString typeLabel;
        QString unitsLabel;
        const char* unitsName;
        const char* gridName;
        QStringList headings; // row 0, column 0 first
        int helpContext;
    };
    TConsDataForm(AppServices& services, const Design& design, QWidget* parent);

    // Steps shared by every preparation: headings, empty month rows with their
    // names, empty units box, the entries refilled with the first one selected.
    void PrepareCommon(const QStringList& entries);
    // Shows an existing consumptor's entry (when found) and greys the choice.
    void ShowEntry(int position);
    // Stores the checked inputs into WatConsRec (throws on failure).
    virtual void StoreInputs() = 0;

    AppServices& services_;

private:
    QStringList headings_;
    int helpContext_;
};

} // namespace velnor::ui
