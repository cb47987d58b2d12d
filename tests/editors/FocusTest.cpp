// Every dialog by keyboard: Tab walks each dialog's controls in the order they
// are laid out, from its first input, through its grid and out of it again;
// Enter confirms, except while a grid cell is being typed in.

#include "EditorFixture.h"
#include "FormChecks.h"

#include "app/Dispatch.h"
#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"
#include "editors/FrmIndust.h"
#include "editors/FrmIndustData.h"
#include "editors/FrmIrig.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/FrmPotEvap.h"
#include "editors/FrmWatSup.h"

#include "core/RcrdFuncs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velnor::test;

namespace {

class FocusChain : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        dispatch = std::make_unique<TEditDispatch>(services, nullptr);
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();
        EditorTest::TearDown();
    }
    static void Press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    static std::string Focus()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "-";
    }

    std::unique_ptr<TEditDispatch> dispatch;
};

TEST_F(FocusChain, EveryDialogIsWalkedByTabInItsLayoutOrder)
{
    const std::vector<double> temps{9.5, 10.2, 12.4, 15.8, 20.3, 24.9, 27.6, 27.2, 23.8, 19.1, 14.6, 11.0};
    const QStringList listChain{"ToolBtnAdd", "ToolBtnDel", "ToolButton1", "GRID", "EdtTopo", "BtnAdd", "CANCEL"};
    const auto chain = [](QStringList names, const QString& grid, const QString& cancel) {
        names.replaceInStrings("GRID", grid).replaceInStrings("CANCEL", cancel);
        return names;
    };
    struct Case {
        const char* what;
        std::function<QWidget&()> prepare;
        QStringList expected;
    };
    const std::vector<Case> cases{
        {"water supply",
         [&]() -> QWidget& {
             dispatch->FormWatSup().PrepareNew();
             return dispatch->FormWatSup();
         },
         {"EdtTopo", "EdtPop", "StrGrdCons", "BtnDefault", "BtnAdd", "BtnCancel", "SpeedButton1"}},
        {"industry list",
         [&]() -> QWidget& {
             WatConsRec.clear();
             AddExRecInd(1, 3, 0);
             dispatch->FormIndust().RefreshGrid();
             return dispatch->FormIndust();
         },
         chain(listChain, "StrGrdIndust", "BtnCancel")},
        {"new industry list (no toponym yet)",
         [&]() -> QWidget& {
             WatConsRec.clear();
             dispatch->FormIndust().RefreshGrid();
             return dispatch->FormIndust();
         },
         {"ToolBtnAdd", "ToolBtnDel", "ToolButton1", "StrGrdIndust", "BtnAdd", "BtnCancel"}},
        {"branch data",
         [&]() -> QWidget& {
             dispatch->FormIndData().updateForm(-1);
             return dispatch->FormIndData();
         },
         {"CmbType", "EdtUnits", "StrGrdIndCons", "BtnUpdate", "Button1", "BtnRestore", "SpeedButton1"}},
        {"farming list",
         [&]() -> QWidget& {
             WatConsRec.clear();
             AddExRecFarm(1, 420, 0);
             dispatch->FormFarm().RefreshGrid();
             return dispatch->FormFarm();
         },
         chain(listChain, "StrGrdFarm", "BtnCancel")},
        {"animal data (existing: its kind is fixed)",
         [&]() -> QWidget& {
             WatConsRec.clear();
             AddExRecFarm(1, 420, 0);
             dispatch->FormFarmData().updateForm(0);
             return dispatch->FormFarmData();
         },
         {"EdtPopulation", "StrGrdFarmCons", "BtnUpdate", "Button1", "BtnRestore", "SpeedButton1"}},
        {"irrigation list",
         [&]() -> QWidget& {
             WatConsRec.clear();
             AddExRecIrig(temps, 38.0, 0, 100, MethBlaneyCriddle, 2, 250, 0);
             dispatch->FormIrig().RefreshGrid();
             return dispatch->FormIrig();
         },
         {"ToolBtnAdd", "ToolBtnDel", "ToolButton1", "StrGrdIrig", "EdtTopo", "BtnMetDat", "BtnAdd", "BtnClose"}},
        {"crop data",
         [&]() -> QWidget& {
             dispatch->FrmIrrigConsData().updateForm(-1);
             return dispatch->FrmIrrigConsData();
         },
         {"CmbCultures", "EdtSemD", "EdtUnits", "EdtLIni", "EdtLDev", "EdtLMid", "EdtLLate", "EdtKcIni", "EdtKcMid",
          "EdtKcLate", "BtnUpdate", "Button2", "BtnRestore", "SpeedButton1"}},
        {"meteorological data, Penman-Monteith",
         [&]() -> QWidget& {
             dispatch->FormIrigData().SetMethod(irmPN);
             return dispatch->FormIrigData();
         },
         {"CheckBoxBC", "CheckBoxMBC", "CheckBoxPM", "CheckBoxEMP", "StrGrdMonthsTemp", "EdtPhi", "CmbClima",
          "BtnPaste", "BtnLast", "BtnPotEvapRef", "BtnPotEvapWat", "BtnOk", "SpeedButton1"}},
        {"meteorological data, empirical",
         [&]() -> QWidget& {
             dispatch->FormIrigData().SetMethod(irmEMP);
             return dispatch->FormIrigData();
         },
         {"CheckBoxBC", "CheckBoxMBC", "CheckBoxPM", "CheckBoxEMP", "StrGrdMonthsTemp", "CmbClima", "BtnPaste",
          "BtnLast", "BtnPotEvapRef", "BtnOk", "SpeedButton1"}},
        {"ETo view",
         [&]() -> QWidget& { return dispatch->FormPotEvap(); },
         {"StrGrdTot", "BtnCopy"}},
    };
    for (const Case& c : cases) {
        QWidget& form = c.prepare();
        EXPECT_EQ(TabWalk(form), c.expected) << c.what;
        // Shown again, the form starts at its first input once more.
        form.hide();
        ShowActive(form);
        EXPECT_EQ(Focus(), c.expected.first().toStdString()) << c.what;
        form.hide();
    }
}

TEST_F(FocusChain, TypingIntoTheGridStartsAtTheFirstValueAndCtrlTabLeavesIt)
{
    TFormWatSup& f = dispatch->FormWatSup();
    f.PrepareNew();
    ShowActive(f);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), "StrGrdCons");
    // The first key lands in January's consumption, not on its name.
    Press(Qt::Key_1);
    Press(Qt::Key_2);
    Press(Qt::Key_0);
    Press(Qt::Key_Down);
    Press(Qt::Key_9);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Cell(*f.StrGrdCons, 0, 0), "January");
    EXPECT_EQ(Cell(*f.StrGrdCons, 1, 0), "120");
    EXPECT_EQ(Cell(*f.StrGrdCons, 1, 1), "9");
    EXPECT_EQ(Focus(), "BtnDefault");
    // Shift+Tab comes back in at December; Ctrl+Shift+Tab leaves at once.
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), "StrGrdCons");
    int col = -1, row = -1;
    f.StrGrdCons->CurrentCell(col, row);
    EXPECT_EQ(std::pair(col, row), std::pair(1, 11));
    Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Focus(), "EdtPop");
}

TEST_F(FocusChain, EnterConfirmsButCommitsOnlyTheCellWhileTyping)
{
    TFormWatSup& f = dispatch->FormWatSup();
    f.PrepareNew();
    f.BtnDefaultClick();
    ShowActive(f);
    QTest::keyClicks(f.EdtTopo, "Kalamaki");
    Press(Qt::Key_Tab);
    QTest::keyClicks(f.EdtPop, "12400");
    Press(Qt::Key_Tab);
    Press(Qt::Key_8);
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(*f.StrGrdCons, 1, 0), "8");
    EXPECT_TRUE(f.isVisible()) << "Enter in a cell only commits it";
    EXPECT_FALSE(services.changed);
    Press(Qt::Key_Return);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_TRUE(services.changed);
    EXPECT_TRUE(prompter().errors().isEmpty());
}

TEST_F(FocusChain, EnterOnAListRowOpensItsDataDialog)
{
    WatConsRec.clear();
    AddExRecInd(1, 3, 0);
    AddExRecInd(2, 1, 1);
    TFormIndust& list = dispatch->FormIndust();
    list.RefreshGrid();
    ShowActive(list);
    list.Grid->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Down);
    int opened = -1;
    prompter().onExec = [&](QDialog& d) {
        opened = static_cast<TFormIndData&>(d).currentWaterConsInd;
        return int(QDialog::Rejected);
    };
    Press(Qt::Key_Return);
    EXPECT_EQ(prompter().texts(ScriptedPrompter::Kind::Dialog), QStringList{"FormIndData"});
    EXPECT_EQ(opened, 1);
    EXPECT_NE(list.result(), QDialog::Accepted);
}

} // namespace
