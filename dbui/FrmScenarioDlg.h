#pragma once

#include "db/Scenarios.h"
#include "widgets/LForm.h"

#include <QIcon>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace velnor::ui {
class Prompter;
class TKyStringGrid;
} // namespace velnor::ui

namespace velnor::dbui {

class TDbSession;
class TScenarioDialog;

// Grid colours, 0xBBGGRR.
inline constexpr unsigned clScenHeader = 0x808080;
inline constexpr unsigned clScenSelected = 0xC56A31;
inline constexpr unsigned clScenName = 0xEEEEEE;
inline constexpr unsigned clCream = 0xF0FBFF;

// The six tool-button images: new project, delete project, delete scenario,
// each normal (even index) and pressed (odd index).
QIcon ScenarioToolImage(int index);

// The projects of this program and the scenarios of one of them, newest first,
// with a name box and the description. Base of the open and save forms.
class TFrmScenarioDlg : public ui::TLForm {
    Q_OBJECT
public:
    TFrmScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent = nullptr);

    // Lists the projects and selects DefaultProjectID's (else the newest).
    void updateForm(int DefaultProjectID);
    void SetSelectedProject(const std::shared_ptr<db::TKyProject>& prj1);
    void SetSelectedScenario(const std::shared_ptr<db::TKyScenario>& scen1);
    const std::shared_ptr<db::TKyScenario>& selectedScenario() const { return FselectedScenario; }
    const std::shared_ptr<db::TKyProject>& selectedProject() const { return FselectedProject; }
    int SelectedGridLine() const { return selectedGridLine_; }

    // Handlers, also run by tests.
    // Selects grid row ARow; false for a row that cannot be selected.
    bool StringGrid1SelectCell(int ACol, int ARow);
    void StringGrid1DblClick() { guarded([this] { Button1Click(); }); }
    void ComboBox1Change(int index);
    void ComboBox2Change();
    // Choosing remembered entry `index` of the name box.
    void ComboBox2Select(int index);
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void Button2Click();
    // The action of Button1 (a double click on the grid runs it too).
    virtual void Button1Click() = 0;
    // Pressing Button1: its action, then the open form closes with OK.
    void Button1Press();

    // The remembered entries of the name box.
    int RememberedCount() const { return static_cast<int>(remembered_.size()); }
    const std::shared_ptr<db::TKyScenario>& Remembered(int i) const { return remembered_[std::size_t(i)]; }

    QLabel* Label2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ui::TKyStringGrid* StringGrid1 = nullptr;
    QLabel* Panel5 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    // Lists the projects (DefaultProjectID's selected), prepares the form as
    // showing it does and runs it modally; the dialog's result.
    int run(db::Connection& session1, int DefaultProjectID, bool readOnlyDescription, const QString& title,
            const QString& action);
    void removeRemembered(int i);
    void showEvent(QShowEvent* event) override;
    // Runs a handler inside the modal form; an error is shown, the form stays.
    bool guarded(const std::function<void()>& handler);
    virtual bool closesWithButton1() const { return false; }
    void addRemembered(const std::shared_ptr<db::TKyScenario>& scen);
    void setNameText(const QString& text);
    // Whether Button1 stays enabled without a selected scenario.
    virtual bool actionWithoutSelection() const { return false; }

    ui::Prompter& prompter_;
    TScenarioDialog& parentDlg_;
    db::Connection* FSession = nullptr;
    int selectedGridLine_ = -1;
    std::shared_ptr<db::TKyScenario> FselectedScenario;
    std::shared_ptr<db::TKyProject> FselectedProject;
    bool SavedScenario = false;

private:
    void drawGridCell(QPainter& painter, int col, int row, const QRect& rect);

    std::vector<std::shared_ptr<db::TKyScenario>> remembered_;
};

class TFrmOpenScenarioDlg : public TFrmScenarioDlg {
    Q_OBJECT
public:
    TFrmOpenScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent = nullptr);
    // Whether the form closed with OK and a scenario is selected.
    bool execute(db::Connection& session1, db::TKyModel model1, int DefaultProjectID);
    void Button1Click() override;

protected:
    bool closesWithButton1() const override { return true; }
};

class TFrmSaveScenarioDlg : public TFrmScenarioDlg {
    Q_OBJECT
public:
    TFrmSaveScenarioDlg(ui::Prompter& prompter, TScenarioDialog& parentDlg, QWidget* parent = nullptr);
    // Whether the scenario was saved (its new scenarios row inserted, not committed).
    bool execute(db::Connection& session1, db::TKyModel model1, int DefaultProjectID);
    void Button1Click() override;

    db::TKyScenario* GivenScenario = nullptr;

protected:
    bool actionWithoutSelection() const override { return true; }

private:
    void createNewProject();
};

// The components the callers use.
class TScenarioDialog {
public:
    virtual ~TScenarioDialog() = default;
    QString Caption = QStringLiteral("Scenario Management");
    TDbSession* Session = nullptr;
    db::TKyModel Model = db::KyUnknown;
    db::TScenariosList ListScenario;
    db::TProjectsList ListProject;
};

class TOpenScenarioDialog : public TScenarioDialog {
public:
    TOpenScenarioDialog(ui::Prompter& prompter, QWidget* parent);
    // The chosen scenario's identifier; false when nothing was chosen.
    bool execute(int& ScenarioID);

    std::unique_ptr<TFrmOpenScenarioDlg> OpenScenarioForm;
    int DefaultProjectID = -1;
};

class TSaveScenarioDialog : public TScenarioDialog {
public:
    TSaveScenarioDialog(ui::Prompter& prompter, QWidget* parent);
    // Lets the user place and name `scenario` and inserts its new scenarios row.
    bool execute(db::TKyScenario* scenario);

    std::unique_ptr<TFrmSaveScenarioDlg> SaveScenarioForm;
};

} // namespace velnor::dbui
