#pragma once

#include "ScriptedPrompter.h"

#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"
#include "widgets/KyStringGrid.h"

#include <QAction>
#include <QLocale>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace velnor::test {

// A water user with the given needs; `members` consumptors (group members
// name Geo_ids through memberIds).
inline TWaterUser MakeUser(int category, int id, const std::string& name, double yearNeeds, int members = 0,
                           int units = 10)
{
    TWaterUser u;
    u.Category = category;
    u.Geo_id = id;
    u.Toponym = name;
    u.YearNeeds = yearNeeds;
    u.UnitsNum = units;
    for (int m = 0; m < 12; ++m)
        u.TblMonthNeeds[std::size_t(m)] = yearNeeds / 12;
    for (int i = 0; i < members; ++i) {
        TWaterConsumptor c;
        c.CnsmpId = i + 1;
        c.UnitsNum = 5;
        c.yearneeds = yearNeeds / members;
        u.WatConsRec.push_back(c);
    }
    return u;
}

// A group of existing water users, needs summed from them.
inline TWaterUser MakeGroup(int id, const std::string& name, std::initializer_list<int> memberIds)
{
    TWaterUser g = MakeUser(CatGroup, id, name, 0);
    for (int m : memberIds) {
        TWaterConsumptor c;
        c.CnsmpId = m;
        c.UnitsNum = 1;
        g.WatConsRec.push_back(c);
    }
    return g;
}

// The program's forms on a scripted prompter, an empty scenario and the
// decimal point as separator.
class MainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        WatUserRec.clear();
        WatConsRec.clear();
        main = app::CreateForms(prompter);
    }
    void TearDown() override
    {
        main.reset();
        WatUserRec.clear();
        WatConsRec.clear();
    }

    QAction* action(const char* name) const { return main->findChild<QAction*>(QString::fromLatin1(name)); }
    QToolButton* button(const char* name) const
    {
        return main->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    ui::TKyStringGrid& list() const { return *main->StrGrdAllNeeds(); }
    QStringList listRow(int row) const
    {
        QStringList out;
        for (int c = 0; c < list().ColCount(); ++c)
            out << list().Cells(c, row);
        return out;
    }
    // Puts users into the scenario and lists them.
    void load(std::vector<TWaterUser> users)
    {
        for (auto& u : users)
            WatUserRec.append(std::move(u));
        main->refreshForm();
    }
    void selectListRows(int top, int bottom) { list().setSelection({0, top, 5, bottom}); }

    ScriptedPrompter prompter;
    std::unique_ptr<app::TFormMain> main;
};

} // namespace velnor::test
