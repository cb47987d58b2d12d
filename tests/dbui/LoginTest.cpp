#include "DbuiFixture.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace velnor::dbui::test {

using Kind = ScriptedPrompter::Kind;

TEST_F(FormsDbTest, FirstPromptShowsTheDefaultsAndALoginIsRemembered)
{
    QString user, password, database, server, port;
    QLineEdit* focus = nullptr;
    bool extended = true;
    prompter.execQueue.push_back([&](QDialog& d) {
        auto& p = dynamic_cast<TFrmLoginPrompt&>(d);
        user = p.edtUsername->text();
        password = p.edtPassword->text();
        database = p.edtDatabase->text();
        server = p.edtDatabaseServer->text();
        port = p.edtDatabasePort->text();
        focus = p.FocusTarget();
        extended = p.IsExtented();
        EXPECT_EQ(p.windowTitle(), QStringLiteral("Connect to database"));
        return Login()(d);
    });
    formDB->DatabaseConnect();
    EXPECT_EQ(user, QString());
    EXPECT_EQ(password, QString());
    EXPECT_EQ(database, QString());
    EXPECT_EQ(server, QStringLiteral("localhost"));
    EXPECT_EQ(port, QStringLiteral("5432"));
    EXPECT_FALSE(extended);
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->objectName(), QStringLiteral("edtUsername"));
    ASSERT_TRUE(formDB->ZConnection1.Connected());
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "LastLogonService"), QString::fromStdString(DbName()));
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "AutoConnect"), QStringLiteral("False"));
    // The encoding of the options (Greek by default) and the search path.
    EXPECT_EQ(formDB->ZConnection1.Conn().ClientEncoding(), "ISO_8859_7");
    EXPECT_EQ(formDB->ZConnection1.Conn().Tx().exec("SHOW search_path")[0][0].as<std::string>(), "hydro, public");

    // Connected: no prompt, but the encoding statement of the options again.
    formDB->ApplOptions.DatabaseEncoding = db::DBENLocaleDefault;
    formDB->language = QLocale::Russian;
    prompter.clear();
    formDB->DatabaseConnect();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(formDB->ZConnection1.Conn().ClientEncoding(), "ISO_8859_5");
}

TEST_F(FormsDbTest, FailedAttemptsAreCountedAndShown)
{
    bool extendedAfterFirst = false;
    // 1: no database name; 2: a database that does not exist; 3: cancelled.
    prompter.execQueue.push_back([&](QDialog& d) {
        Login()(d);
        dynamic_cast<TFrmLoginPrompt&>(d).edtDatabase->clear();
        return int(QDialog::Accepted);
    });
    prompter.execQueue.push_back([&](QDialog& d) {
        auto& p = dynamic_cast<TFrmLoginPrompt&>(d);
        extendedAfterFirst = p.IsExtented();
        Login()(d);
        p.edtDatabase->setText(QStringLiteral("no_such_database_here"));
        return int(QDialog::Accepted);
    });
    prompter.execQueue.push_back([&](QDialog& d) {
        Login()(d);
        dynamic_cast<TFrmLoginPrompt&>(d).edtDatabase->setText(QStringLiteral("no_such_database_either"));
        return int(QDialog::Accepted);
    });
    prompter.execQueue.push_back(Login());
    formDB->DatabaseConnect();
    EXPECT_FALSE(formDB->ZConnection1.Connected()) << "three attempts, then the command ends";
    EXPECT_EQ(prompter.execQueue.size(), 1u) << "no fourth prompt";
    EXPECT_TRUE(extendedAfterFirst);
    const QStringList warnings = prompter.messages();
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_EQ(warnings[0], QStringLiteral("Database name and database server should be specified"));
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("no_such_database_here"))) << warnings[1].toStdString();
    EXPECT_TRUE(prompter.errors().isEmpty());
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "LastLogonService"), QString()) << "nothing remembered";

    // Cancel ends at once.
    prompter.execQueue = {Reject()};
    prompter.clear();
    formDB->DatabaseConnect();
    EXPECT_FALSE(formDB->ZConnection1.Connected());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(FormsDbTest, AutoConnectUsesTheStoredPasswordAndFallsBackToThePrompt)
{
    auto& o = formDB->ApplOptions;
    o.LastLogonUser = QString::fromStdString(Env("PGUSER", "postgres"));
    o.LastLogonServer = QString::fromStdString(Env("PGHOST", "localhost"));
    o.LastLogonPort = std::stoi(Env("PGPORT", "5432"));
    o.LastLogonService = QString::fromStdString(DbName());
    o.AutoConnect = true;
    formDB->DatabaseConnect();
    EXPECT_TRUE(formDB->ZConnection1.Connected());
    EXPECT_TRUE(prompter.shown.empty()) << "no prompt";

    formDB->Disconnect();
    o.LastLogonService = QStringLiteral("no_such_database_here");
    prompter.execQueue = {Login()};
    formDB->DatabaseConnect();
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].startsWith(
        QStringLiteral("Could not connect automatically to the Database. Please check conection parameters "
                       "(username, password, database, and, database server). Database error message is: \"")));
    EXPECT_TRUE(prompter.errors()[0].endsWith(QLatin1Char('"')));
    EXPECT_TRUE(formDB->ZConnection1.Connected()) << "the prompt followed";
}

} // namespace velnor::dbui::test
