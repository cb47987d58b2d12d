#pragma once

#include "widgets/LForm.h"
#include "widgets/Services.h"

#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

namespace velnor::ui {

class TKyStringGrid;

// Common part of the three consumptor list dialogs (industry, farming,
// irrigation): a tool bar to add, delete and get help, the list of the
// consumptors of the global WatConsRec, the toponym and OK / Cancel.
class TConsListForm : public TLForm {
public:
    // Rebuilds the list from WatConsRec.
    virtual void RefreshGrid() = 0;
    // Puts the toponym of WatUserRec[irec] into EdtTopo, then RefreshGrid.
    virtual void GetRecData(int irec);

    virtual void ToolBtnAddClick();
    void ToolBtnDelClick();
    void ToolButton1Click();
    void BtnAddClick();
    void BtnCancelClick();

    // Press position and double-click on the list grid (grid widget coordinates).
    void GridMouseDown(int x, int y);
    void GridDblClick();
    // Enter on a row of the list opens it, as a double click does.
    void GridEnter();

    int mouseX = 0;
    int mouseY = 0;

    QToolBar* ToolBar1;
    QToolButton* ToolBtnAdd;
    QToolButton* ToolBtnDel;
    QToolButton* ToolButton1;
    TKyStringGrid* Grid;
    QLabel* Label2;
    QLineEdit* EdtTopo;
    QPushButton* BtnAdd;
    QPushButton* BtnCancel;
    QLabel* Image1;

protected:
    struct Design {
        const char* objectName;
        QString caption;
        unsigned color; // $BBGGRR
        int helpContext;
        QString addHint;
        QString delHint;
        const char* gridName;
        const char* cancelName;
    };
    TConsListForm(AppServices& services, const Design& design, QWidget* parent);

    // The data dialog of one consumptor: prepared for index (-1: new), shown
    // modally, then the list is recomputed and redrawn, whatever its result.
    virtual void PrepareDataDialog(int index) = 0;
    virtual QDialog& DataDialog() = 0;
    virtual void RecalculateList() = 0;
    void RunDataDialog(int index);

    // Layout shared by every list: headings in row 0; with no consumptors no
    // data rows and a disabled, empty toponym box; otherwise n data rows.
    void LayoutList(const QStringList& headings, int consumptors);
    void SetRow(int row, const QStringList& cells);

    AppServices& services_;

private:
    int helpContext_;
};

} // namespace velnor::ui
