#include "DbuiFixture.h"

#include "db/Scramble.h"
#include "dbui/GenOptions.h"
#include "dbui/Login.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace velnor::dbui::test {

TEST(OptionsTest, UserScopeWinsOverSystemScopeAndWritingGoesToTheUserScope)
{
    TempSettings s;
    TGenApplicationOptions defaults;
    defaults.LoadFromRegistry();
    EXPECT_EQ(defaults.LastLogonServer, QStringLiteral("localhost"));
    EXPECT_EQ(defaults.LastLogonPort, 5432);
    EXPECT_EQ(defaults.DatabaseEncoding, db::DBENGreekISO);
    EXPECT_FALSE(defaults.AutoConnect);

    TempSettings::Set(QSettings::SystemScope, "LastLogonServer", QStringLiteral("db.example"));
    TempSettings::Set(QSettings::SystemScope, "LastLogonUser", QStringLiteral("system-user"));
    TempSettings::Set(QSettings::UserScope, "LastLogonUser", QStringLiteral("anna"));
    TempSettings::Set(QSettings::UserScope, "AutoConnect", QStringLiteral("TRUE"));
    TempSettings::Set(QSettings::UserScope, "LastLogonPassword", QString::fromStdString(db::Encrypt("s3cret")));
    TGenApplicationOptions o;
    o.LoadFromRegistry();
    EXPECT_EQ(o.LastLogonServer, QStringLiteral("db.example")) << "a value found only in the system scope is used";
    EXPECT_EQ(o.LastLogonUser, QStringLiteral("anna")) << "the user scope wins";
    EXPECT_TRUE(o.AutoConnect);
    EXPECT_EQ(o.LastLogonPassword, QStringLiteral("s3cret"));

    o.LastLogonService = QStringLiteral("hydro");
    o.LastLogonPort = 5433;
    o.DatabaseEncoding = db::DBENCyrillicISO;
    o.LocalCoordinateSystem = 7;
    o.WriteToRegistry();
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "LastLogonPort"), QStringLiteral("5433"));
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "AutoConnect"), QStringLiteral("True"));
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "DatabaseEncoding"), QStringLiteral("3"));
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "LastLogonPassword"),
              QString::fromStdString(db::Encrypt("s3cret")));
    EXPECT_NE(TempSettings::Get(QSettings::UserScope, "LastLogonPassword"), QStringLiteral("s3cret"));
    EXPECT_EQ(TempSettings::Get(QSettings::UserScope, "LastLogonPassword").size(), 12);
    EXPECT_EQ(TempSettings::Get(QSettings::SystemScope, "LastLogonPort"), QString()) << "the system scope is not written";
    TGenApplicationOptions back;
    back.LoadFromRegistry();
    EXPECT_EQ(back.LastLogonService, QStringLiteral("hydro"));
    EXPECT_EQ(back.LastLogonPort, 5433);
    EXPECT_EQ(back.LocalCoordinateSystem, 7);
    EXPECT_EQ(back.DatabaseEncoding, db::DBENCyrillicISO);
}

TEST(OptionsTest, MalformedValuesFailWithConversionErrors)
{
    const struct {
        const char* name;
        const char* value;
        const char* message;
    } cases[] = {
        {"AutoConnect", "yes", "yes: This string cannot be converted to a boolean value."},
        {"LastLogonPort", "54x", "'54x' is not a valid integer value"},
        {"DatabaseEncoding", "9", "'9' is not a valid DatabaseEncoding value"},
        {"LocalCoordinateSystem", "twenty", "'twenty' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        TempSettings s;
        TempSettings::Set(QSettings::UserScope, c.name, QString::fromLatin1(c.value));
        TGenApplicationOptions o;
        try {
            o.LoadFromRegistry();
            ADD_FAILURE() << c.name << " " << c.value << " was accepted";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(OptionsTest, EncodingByLanguageAndOption)
{
    EXPECT_EQ(GetEncodingStr(QLocale::Greek), QStringLiteral("ISO_8859_7"));
    for (auto l : {QLocale::Russian, QLocale::Bulgarian, QLocale::Ukrainian, QLocale::Serbian, QLocale::Macedonian,
                   QLocale::Belarusian})
        EXPECT_EQ(GetEncodingStr(l), QStringLiteral("ISO_8859_5")) << QLocale::languageToString(l).toStdString();
    EXPECT_EQ(GetEncodingStr(QLocale::English), QStringLiteral("ISO_8859_1"));
    EXPECT_EQ(GetEncodingStr(QLocale::German), QStringLiteral("ISO_8859_1"));
    EXPECT_EQ(EncodingOfOption(db::DBENLocaleDefault, QLocale::Greek), QStringLiteral("ISO_8859_7"));
    EXPECT_EQ(EncodingOfOption(db::DBENCyrillicISO, QLocale::Greek), QStringLiteral("ISO_8859_5"));
    EXPECT_EQ(EncodingOfOption(db::DBENLatinISO, QLocale::Russian), QStringLiteral("ISO_8859_1"));
}

TEST(OptionsTest, WithoutALoginTheEnvironmentsDatabaseIsOffered)
{
    UnsetEnv h("PGHOST"), p("PGPORT"), d("PGDATABASE"), u("PGUSER");
    setenv("PGHOST", "/home/anna/.local/share/velnor/run", 1);
    setenv("PGPORT", "5499", 1);
    setenv("PGDATABASE", "velnor", 1);
    setenv("PGUSER", "anna", 1);
    TGenApplicationOptions fresh;
    fresh.OfferEnvironmentDatabase();
    EXPECT_EQ(fresh.LastLogonServer, QStringLiteral("/home/anna/.local/share/velnor/run"));
    EXPECT_EQ(fresh.LastLogonPort, 5499);
    EXPECT_EQ(fresh.LastLogonService, QStringLiteral("velnor"));
    EXPECT_EQ(fresh.LastLogonUser, QStringLiteral("anna"));

    TGenApplicationOptions remembered;
    remembered.LastLogonUser = QStringLiteral("bob");
    remembered.LastLogonService = QStringLiteral("corvan");
    remembered.OfferEnvironmentDatabase();
    EXPECT_EQ(remembered.LastLogonService, QStringLiteral("corvan")) << "a remembered login stays";
    EXPECT_EQ(remembered.LastLogonServer, QStringLiteral("localhost"));
    unsetenv("PGHOST");
    unsetenv("PGPORT");
    unsetenv("PGDATABASE");
    unsetenv("PGUSER");
}

TEST(LoginPromptTest, CompactAndExtendedStatesFocusAndEsc)
{
    TFrmLoginPrompt p;
    EXPECT_FALSE(p.IsExtented());
    EXPECT_EQ(p.height(), 112);
    EXPECT_EQ(p.ExtendButton->text(), QStringLiteral(">>>"));
    EXPECT_FALSE(p.edtDatabase->isEnabled());
    EXPECT_FALSE(p.edtDatabaseServer->isEnabled());
    EXPECT_FALSE(p.edtDatabasePort->isEnabled());
    EXPECT_EQ(p.edtPassword->echoMode(), QLineEdit::Password);
    p.ExtendButton->click();
    EXPECT_TRUE(p.IsExtented());
    EXPECT_EQ(p.height(), 194);
    EXPECT_EQ(p.ExtendButton->text(), QStringLiteral("<<<"));
    EXPECT_TRUE(p.edtDatabasePort->isEnabled());
    p.ExtendButton->click();
    EXPECT_EQ(p.height(), 112);

    EXPECT_EQ(p.FocusTarget(), p.edtUsername);
    p.edtUsername->setText(QStringLiteral("anna"));
    EXPECT_EQ(p.FocusTarget(), p.edtPassword);
    p.edtPassword->setText(QStringLiteral("x"));
    EXPECT_EQ(p.FocusTarget(), p.edtDatabase);

    p.show();
    QTest::keyClick(p.edtPassword, Qt::Key_Escape);
    EXPECT_EQ(p.result(), int(QDialog::Rejected));
    EXPECT_FALSE(p.isVisible());
}

TEST(LoginPromptTest, PasswordInAnyLetterCase)
{
    EXPECT_TRUE(MentionsPassword(QStringLiteral("FATAL:  password authentication failed for user \"x\"")));
    EXPECT_TRUE(MentionsPassword(QStringLiteral("fe_sendauth: no PASSWORD supplied")));
    EXPECT_TRUE(MentionsPassword(QStringLiteral("Password wrong")));
    EXPECT_FALSE(MentionsPassword(QStringLiteral("FATAL:  database \"x\" does not exist")));
}

} // namespace velnor::dbui::test
