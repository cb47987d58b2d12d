#pragma once

#include "DbFixture.h"
#include "ScriptedPrompter.h"

#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "dbui/FormDB.h"
#include "dbui/FrmProjectDlg.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>

#include <QDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace velnor::dbui::test {

using velnor::test::ScriptedPrompter;

// QSettings of both scopes in a temporary folder, for as long as it lives.
class TempSettings {
public:
    TempSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir_.filePath(QStringLiteral("system")));
    }
    // Writes a value of one scope.
    static void Set(QSettings::Scope scope, const char* name, const QString& value)
    {
        QSettings s(QSettings::NativeFormat, scope, QStringLiteral("Mervak"), QStringLiteral("General"));
        s.setValue(QString::fromLatin1(name), value);
        s.sync();
    }
    static QString Get(QSettings::Scope scope, const char* name)
    {
        QSettings s(QSettings::NativeFormat, scope, QStringLiteral("Mervak"), QStringLiteral("General"));
        s.setFallbacksEnabled(false);
        return s.value(QString::fromLatin1(name)).toString();
    }

private:
    QTemporaryDir dir_;
};

// An environment variable unset for as long as it lives.
class UnsetEnv {
public:
    explicit UnsetEnv(const char* name) : name_(name)
    {
        if (const char* v = std::getenv(name)) {
            had_ = true;
            value_ = v;
        }
        unsetenv(name);
    }
    ~UnsetEnv()
    {
        if (had_)
            setenv(name_, value_.c_str(), 1);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string value_;
};

inline std::string Env(const char* name, const char* fallback = "")
{
    const char* v = std::getenv(name);
    return v ? v : fallback;
}

// The program's forms against a test database of their own; the options hold
// no login, and the dialogs are answered through the scripted prompter.
class FormsDbTest : public db::test::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QLocale::setDefault(QLocale::c());
        {
            UnsetEnv host("PGHOST"), port("PGPORT"), dbname("PGDATABASE"), user("PGUSER");
            main = app::CreateForms(prompter);
        }
        formDB = main->FormDB();
        formDB->progressDelayMs = 1000000;
    }
    void TearDown() override
    {
        main.reset();
        DbTest::TearDown();
    }

    // The login prompt answered with the test server, database DbName().
    std::function<int(QDialog&)> Login(const QString& password = {})
    {
        return [this, password](QDialog& d) {
            auto& p = dynamic_cast<TFrmLoginPrompt&>(d);
            p.edtUsername->setText(QString::fromStdString(Env("PGUSER", "postgres")));
            p.edtPassword->setText(password);
            p.edtDatabase->setText(QString::fromStdString(DbName()));
            p.edtDatabaseServer->setText(QString::fromStdString(Env("PGHOST", "localhost")));
            p.edtDatabasePort->setText(QString::fromStdString(Env("PGPORT", "5432")));
            return int(QDialog::Accepted);
        };
    }
    // The save form: a new project `project` (unless empty: the selected one)
    // and the name `name`, then Save.
    std::function<int(QDialog&)> SaveAs(const QString& project, const QString& name)
    {
        return [this, project, name](QDialog& d) {
            auto& f = dynamic_cast<TFrmSaveScenarioDlg&>(d);
            if (!project.isEmpty()) {
                prompter.execQueue.push_front([project](QDialog& pd) {
                    dynamic_cast<TFrmProjectDlg&>(pd).Edit1->setText(project);
                    return int(QDialog::Accepted);
                });
                f.ToolButton1Click();
            }
            f.ComboBox2->setEditText(name);
            f.Button1Press();
            return f.result();
        };
    }
    // The open form: selects grid row `row` (if above 0), types `name` (if not
    // empty) and presses Load.
    std::function<int(QDialog&)> Open(int row, const QString& name = {})
    {
        return [row, name](QDialog& d) {
            auto& f = dynamic_cast<TFrmOpenScenarioDlg&>(d);
            if (row > 0)
                f.StringGrid1SelectCell(0, row);
            if (!name.isEmpty())
                f.ComboBox2->setEditText(name);
            f.Button1Press();
            return f.result();
        };
    }
    static std::function<int(QDialog&)> Reject()
    {
        return [](QDialog&) { return int(QDialog::Rejected); };
    }

    TempSettings settings;
    ScriptedPrompter prompter;
    std::unique_ptr<app::TFormMain> main;
    TFormDB* formDB = nullptr;
};

} // namespace velnor::dbui::test
