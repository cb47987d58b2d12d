// Save As and Open of a scenario of 10,000 water users through the desktop
// program's File commands, the login and scenario dialogs answered by the
// benchmark, against the database named by the PG* variables (see scripts/pg;
// the schema from `velnor-cli db init`). Target: Open under 2 s.
// Usage: dbui_bench [NUMBER_OF_WATER_USERS]
#include "BenchScenario.h"
#include "ScriptedPrompter.h"
#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "core/RcrdFuncs.h"
#include "dbui/FormDB.h"
#include "dbui/FrmProjectDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace velnor;
using velnor::bench::Generate;

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

QString Env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return QString::fromLocal8Bit(v ? v : fallback);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    QApplication qapp(argc, argv);
    app::InitApplication(qapp);
    test::ScriptedPrompter prompter;
    const auto main = app::CreateForms(prompter);
    dbui::TFormDB& formDB = *main->FormDB();
    // Log in to the PG* database without remembering it in the user's options.
    formDB.ApplOptions.LastLogonServer = Env("PGHOST", "localhost");
    formDB.ApplOptions.LastLogonPort = Env("PGPORT", "5432").toInt();
    formDB.ApplOptions.LastLogonService = Env("PGDATABASE", "velnor");
    formDB.ApplOptions.LastLogonUser = Env("PGUSER", "postgres");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/tmp/velnor-dbui-bench"));
    prompter.execQueue.push_back([](QDialog&) { return int(QDialog::Accepted); });
    formDB.DatabaseConnect();
    if (!formDB.ZConnection1.Connected()) {
        std::fprintf(stderr, "no database (set PGHOST, PGPORT, PGDATABASE, PGUSER): %s\n",
                     qPrintable(prompter.messages().join(QStringLiteral("; "))));
        return 1;
    }

    Generate(n);
    const std::size_t users = WatUserRec.size();
    main->refreshForm();
    main->SetScenarioChanged(true);
    prompter.execQueue.push_back([&prompter](QDialog& d) {
        auto& f = dynamic_cast<dbui::TFrmSaveScenarioDlg&>(d);
        prompter.execQueue.push_front([](QDialog& pd) {
            dynamic_cast<dbui::TFrmProjectDlg&>(pd).Edit1->setText(QStringLiteral("Benchmark"));
            return int(QDialog::Accepted);
        });
        f.ToolButton1Click();
        f.ComboBox2->setEditText(QStringLiteral("10,000 water users"));
        f.Button1Press();
        return f.result();
    });
    auto t0 = std::chrono::steady_clock::now();
    main->SaveAsScenarioDB1Click();
    const double saveAs = Seconds(t0);
    if (!prompter.errors().isEmpty() || main->scenarioChanged()) {
        std::fprintf(stderr, "save as failed: %s\n", qPrintable(prompter.errors().join(QStringLiteral("; "))));
        return 1;
    }
    main->SelNew();
    main->SetScenarioChanged(false);
    prompter.execQueue.push_back([](QDialog&) { return int(QDialog::Accepted); }); // the login again
    prompter.execQueue.push_back([](QDialog& d) {
        auto& f = dynamic_cast<dbui::TFrmOpenScenarioDlg&>(d);
        f.StringGrid1SelectCell(0, 1);
        f.Button1Press();
        return f.result();
    });
    t0 = std::chrono::steady_clock::now();
    main->SelLoad();
    const double open = Seconds(t0);
    if (!prompter.errors().isEmpty() || WatUserRec.size() != users) {
        std::fprintf(stderr, "open failed (%zu users): %s\n", WatUserRec.size(),
                     qPrintable(prompter.errors().join(QStringLiteral("; "))));
        return 1;
    }
    std::printf("water users (and groups)         %d (%zu)\n", n, users - std::size_t(n));
    std::printf("Save As (dialogs, write, commit) %7.3f s\n", saveAs);
    std::printf("Open (login, dialog, read, list) %7.3f s   target < 2 s %s\n", open, open < 2 ? "ok" : "SLOW");
    std::printf("Open / Save As                   %7.2f\n", open / saveAs);
    return 0;
}
