#include "dbui/GenOptions.h"

#include "core/Errors.h"
#include "db/Scramble.h"

#include <QSettings>

#include <memory>

namespace velnor::dbui {

namespace {

const char* const Org = "Mervak";
const char* const App = "General";

std::unique_ptr<QSettings> Scope(QSettings::Scope scope)
{
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, scope, QString::fromLatin1(Org),
                                         QString::fromLatin1(App));
    // The two scopes are read one after the other, explicitly.
    s->setFallbacksEnabled(false);
    return s;
}

int ToInt(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw VelnorError("'" + text.toStdString() + "' is not a valid integer value");
    return v;
}

bool ToBool(const QString& text)
{
    if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return false;
    throw VelnorError(text.toStdString() + ": This string cannot be converted to a boolean value.");
}

int ToOrdinal(const QString& text, int count, const char* what)
{
    const int v = ToInt(text);
    if (v < 0 || v >= count)
        throw VelnorError("'" + text.toStdString() + "' is not a valid " + what + " value");
    return v;
}

} // namespace

void TGenApplicationOptions::LoadFromRegistry()
{
    for (const auto scope : {QSettings::SystemScope, QSettings::UserScope}) {
        const auto settings = Scope(scope);
        const QSettings& s = *settings;
        auto read = [&s](const char* name, auto apply) {
            const QString key = QString::fromLatin1(name);
            if (s.contains(key))
                apply(s.value(key).toString());
        };
        read("LastLogonUser", [this](const QString& v) { LastLogonUser = v; });
        read("LastLogonService", [this](const QString& v) { LastLogonService = v; });
        read("LastLogonServer", [this](const QString& v) { LastLogonServer = v; });
        read("LastLogonPassword", [this](const QString& v) {
            LastLogonPassword = QString::fromStdString(db::Decrypt(v.toStdString()));
        });
        read("LastLogonPort", [this](const QString& v) { LastLogonPort = ToInt(v); });
        read("AutoConnect", [this](const QString& v) { AutoConnect = ToBool(v); });
        read("LocalCoordinateSystem",
             [this](const QString& v) { LocalCoordinateSystem = ToOrdinal(v, PCSystemCount, "LocalCoordinateSystem"); });
        read("DatabaseEncoding", [this](const QString& v) {
            DatabaseEncoding = static_cast<db::TDBEncoding>(ToOrdinal(v, 4, "DatabaseEncoding"));
        });
    }
}

void TGenApplicationOptions::WriteToRegistry() const
{
    const auto settings = Scope(QSettings::UserScope);
    QSettings& s = *settings;
    if (!s.isWritable())
        throw VelnorError("Internal error: the user's settings " + s.fileName().toStdString() +
                          " cannot be written");
    s.setValue(QStringLiteral("LastLogonUser"), LastLogonUser);
    s.setValue(QStringLiteral("LastLogonService"), LastLogonService);
    s.setValue(QStringLiteral("LastLogonServer"), LastLogonServer);
    s.setValue(QStringLiteral("LastLogonPassword"), QString::fromStdString(db::Encrypt(LastLogonPassword.toStdString())));
    s.setValue(QStringLiteral("LastLogonPort"), QString::number(LastLogonPort));
    s.setValue(QStringLiteral("AutoConnect"), AutoConnect ? QStringLiteral("True") : QStringLiteral("False"));
    s.setValue(QStringLiteral("LocalCoordinateSystem"), QString::number(LocalCoordinateSystem));
    s.setValue(QStringLiteral("DatabaseEncoding"), QString::number(static_cast<int>(DatabaseEncoding)));
    s.sync();
}

void TGenApplicationOptions::OfferEnvironmentDatabase()
{
    if (HasLogin())
        return;
    auto env = [](const char* name) { return QString::fromLocal8Bit(qgetenv(name)); };
    if (!env("PGHOST").isEmpty())
        LastLogonServer = env("PGHOST");
    if (!env("PGPORT").isEmpty()) {
        bool ok = false;
        const int port = env("PGPORT").toInt(&ok);
        if (ok)
            LastLogonPort = port;
    }
    LastLogonService = env("PGDATABASE");
    LastLogonUser = env("PGUSER");
}

int PrimaryLanguageId(QLocale::Language language)
{
    switch (language) {
    case QLocale::Bulgarian: return 2;
    case QLocale::Greek: return 8;
    case QLocale::English: return 9;
    case QLocale::Russian: return 25;
    case QLocale::Serbian:
    case QLocale::Croatian:
    case QLocale::Bosnian: return 26;
    case QLocale::Ukrainian: return 34;
    case QLocale::Belarusian: return 35;
    case QLocale::Macedonian: return 47;
    default: return 0;
    }
}

QString GetEncodingStr(QLocale::Language language)
{
    return QString::fromStdString(db::GetEncodingStr(PrimaryLanguageId(language)));
}

QString EncodingOfOption(db::TDBEncoding encoding, QLocale::Language language)
{
    return QString::fromStdString(db::EncodingName(encoding, PrimaryLanguageId(language)));
}

} // namespace velnor::dbui
