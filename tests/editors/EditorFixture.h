#pragma once

#include "ScriptedPrompter.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"
#include "widgets/Services.h"

#include "core/DataTables.h"
#include "core/WaterUser.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace velnor::test {

// Test files say `using namespace velnor::test;` and see the model and the forms.
using namespace velnor;
using namespace velnor::ui;

// The main window's services as the editors see them: a scripted prompter,
// the changed mark, the list rebuilds, help requests and the volume unit.
class FakeServices : public ui::AppServices {
public:
    ScriptedPrompter prompter_;
    bool changed = false;
    int refreshes = 0;
    std::vector<int> helpContexts;
    QString unit = QStringLiteral("hm3");
    bool groupOpen = false;
    std::vector<int> groupsOpened;

    ui::Prompter& prompter() override { return prompter_; }
    void SetScenarioChanged(bool c) override { changed = c; }
    void refreshForm() override { ++refreshes; }
    void showHelp(int context) override { helpContexts.push_back(context); }
    QString volumeUnit() const override { return unit; }
    bool groupPanelOpen() const override { return groupOpen; }
    void openGroupPanel(int recordNr) override { groupsOpened.push_back(recordNr); }
};

// Empty scenario, fresh reference tables and the English number format.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        StaticToDynamic();
        WatUserRec.clear();
        WatConsRec.clear();
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        WatUserRec.clear();
        WatConsRec.clear();
    }

    ScriptedPrompter& prompter() { return services.prompter_; }

    FakeServices services;
};

// Writes a column of cells, from row `firstRow` down.
inline void FillColumn(ui::TKyStringGrid& grid, int col, int firstRow, const QStringList& texts)
{
    for (int i = 0; i < texts.size(); ++i)
        grid.setCells(col, firstRow + i, texts[i]);
}

inline QStringList Column(const ui::TKyStringGrid& grid, int col, int firstRow, int count)
{
    QStringList out;
    for (int r = firstRow; r < firstRow + count; ++r)
        out << grid.Cells(col, r);
    return out;
}

// After OK: either accepted with the changed mark and no error, or refused
// with exactly the `expected` error and nothing marked.
inline void ExpectOkOutcome(const QDialog& form, const FakeServices& services, const QString& expected)
{
    if (expected.isEmpty()) {
        EXPECT_TRUE(services.prompter_.errors().isEmpty()) << services.prompter_.errors().join("|").toStdString();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_TRUE(services.changed);
    } else {
        EXPECT_EQ(services.prompter_.errors(), QStringList{expected});
        EXPECT_NE(form.result(), QDialog::Accepted);
        EXPECT_FALSE(services.changed);
    }
}

inline QStringList Repeat(const QString& text, int n = 12)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << text;
    return out;
}

} // namespace velnor::test
