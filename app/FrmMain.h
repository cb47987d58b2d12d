#pragma once

#include "app/HelpRouter.h"
#include "widgets/LForm.h"
#include "widgets/Services.h"

#include <QColor>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QToolButton;
class QWidget;

namespace velnor::ui {
class TKyStringGrid;
class TFormResults;
}
namespace velnor::dbui {
class TFormDB;
}

namespace velnor::app {

class TFormPref;
class TKyAboutInfo;

// Category colours, 0xBBGGRR.
inline constexpr unsigned clWaterSupply = 0xFFFF88;
inline constexpr unsigned clFarming = 0xAAFFFF;
inline constexpr unsigned clIndustry = 0x7EACC2;
inline constexpr unsigned clIrrigation = 0x64C864;
inline constexpr unsigned clGroups = 0x8080FF;
// The colour of a category; none for an unknown one.
std::optional<QColor> CategoryColor(int category);

enum TGroupListStatus { gls_invisible = 0, gls_ready = 1 };

// What the main window starts in the editing dispatch.
struct EditCommands {
    std::function<void()> SelWaterSupply;
    std::function<void()> SelFarming;
    std::function<void()> SelIndustry;
    std::function<void()> SelIrrigation;
    std::function<void(int)> editUser;
};

// The main window: the list of water users, the menus and tool bar, the group
// panel, the caption with its changed mark, import and export.
class TFormMain : public ui::TLMainForm, public ui::AppServices {
    Q_OBJECT
public:
    explicit TFormMain(ui::Prompter& prompter, QWidget* parent = nullptr);
    ~TFormMain() override;

    // Wiring done at start-up, after the main window exists.
    void setEditCommands(EditCommands commands) { edit_ = std::move(commands); }
    void setFormPref(TFormPref* form);
    TFormPref* FormPref() const { return formPref_; }
    void setFormDB(dbui::TFormDB* form) { formDB_ = form; }
    dbui::TFormDB* FormDB() const { return formDB_; }
    void setFormResults(ui::TFormResults* form) { formResults_ = form; }
    ui::TFormResults* FormResults() const { return formResults_; }
    // Keeps an object (the editing dispatch) alive as long as the window.
    void keep(std::shared_ptr<void> object) { kept_.push_back(std::move(object)); }

    // AppServices
    ui::Prompter& prompter() override { return prompter_; }
    void SetScenarioChanged(bool changed) override;
    void refreshForm() override;
    void showHelp(int context) override;
    QString volumeUnit() const override;
    bool groupPanelOpen() const override { return groupListStatus_ != gls_invisible; }
    QString mainListCategory(int recordNr) const override;
    void openGroupPanel(int recordNr) override;

    // State.
    int selectedRec() const { return selectedRec_; }
    void setSelectedRec(int rec) { selectedRec_ = rec; }
    bool scenarioChanged() const { return scenarioChanged_; }
    const QString& formCaption() const { return formCaption_; }
    void SetFormCaption(const QString& caption);
    TGroupListStatus groupListStatus() const { return groupListStatus_; }
    void SetGroupListStatus(TGroupListStatus status);
    int StrGrdGroupHeight() const { return strGrdGroupHeight_; }
    void SetStrGrdGroupHeight(int height) { strGrdGroupHeight_ = height; }

    // The list.
    void RefreshGrid();
    void refreshMenu();
    void recreateWorkingScenario();

    // Commands of the menus and buttons.
    void SelNew();
    void SelLoad();
    void SelSave();
    void SaveAsScenarioDB1Click();
    void mnImportClick();
    void mnExportClick();
    void mnExitClick();
    void SelWaterSupply();
    void SelFarming();
    void SelIndustry();
    void SelIrrigation();
    void mnEditClick();
    void mnDeleteClick();
    void SelResults();
    void mnVelnorHelpClick();
    void mnAboutClick();
    void PrefClick();
    // The list's mouse handlers; x and y in the list's coordinates.
    void StrGrdAllNeedsMouseDown(Qt::MouseButton button, int x, int y);
    void StrGrdAllNeedsDblClick();
    // The close query: true when the window may close.
    bool LFormCloseQuery();

    // Group panel.
    void SelGroup();
    void refreshGroupData();
    void ToolBtnInsertClick();
    void ToolBtnDeleteClick();
    void ToolBtnEnterClick();
    void ToolButton2Click();
    void Splitter1Moved();

    // Controls.
    ui::TKyStringGrid* StrGrdAllNeeds() const { return strGrdAllNeeds_; }
    ui::TKyStringGrid* StrGrdGroup() const { return strGrdGroup_; }
    QLineEdit* grpName() const { return grpName_; }
    THelpRouter& HelpRouter1() { return helpRouter_; }
    // The filter of the exchange file dialogs.
    static QString ExchangeFilter();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The database commands (on FormDB) and the results of a later build.
    void LoadScenario();
    void SaveScenario();
    void SaveAsScenario();
    void ShowResults();

    void LFormCreate();
    void buildMenus();
    void buildToolBar();
    void buildGroupPanel(QWidget* panel);
    QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& hint, const QIcon& icon,
                                void (TFormMain::*handler)());
    void setupListGrid(ui::TKyStringGrid& grid);
    // Runs a handler; a failure is shown in an error box and goes no further.
    void guarded(const std::function<void()>& handler);
    void updateCaption();

    ui::Prompter& prompter_;
    THelpRouter helpRouter_;
    EditCommands edit_;
    TFormPref* formPref_ = nullptr;
    dbui::TFormDB* formDB_ = nullptr;
    ui::TFormResults* formResults_ = nullptr;
    TKyAboutInfo* about_ = nullptr;
    std::vector<std::shared_ptr<void>> kept_;

    int selectedRec_ = -1;
    TGroupListStatus groupListStatus_ = gls_invisible;
    int strGrdGroupHeight_ = 130;
    bool scenarioChanged_ = false;
    QString formCaption_;
    QString importFileName_;
    bool shownOnce_ = false;

    QMenu* mnFile_ = nullptr;
    QMenu* mnUser_ = nullptr;
    QMenu* mnHelp_ = nullptr;
    QAction* mnResults_ = nullptr;
    QFrame* panel1_ = nullptr;
    QLabel* emptyLabel_ = nullptr;
    QSplitter* splitter1_ = nullptr;
    QFrame* panel2_ = nullptr;
    ui::TKyStringGrid* strGrdAllNeeds_ = nullptr;
    ui::TKyStringGrid* strGrdGroup_ = nullptr;
    QLineEdit* grpName_ = nullptr;
};

} // namespace velnor::app
