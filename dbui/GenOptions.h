#pragma once

#include "db/Connection.h"

#include <QLocale>
#include <QString>

namespace velnor::dbui {

// The coordinate systems a login remembers; stored and restored only.
using TPCSystem = int;
inline constexpr int PCSystemCount = 20;

// The application options: the last login, automatic connection, the client
// encoding and the coordinate system. They live in QSettings (organisation
// "Mervak", application "General"): the system scope is read first, then the
// user scope, whose values win; only the user scope is written.
class TGenApplicationOptions {
public:
    TGenApplicationOptions() = default;
    virtual ~TGenApplicationOptions() = default;

    // Throws VelnorError for a malformed value (a port or ordinal that is not a
    // decimal integer, an AutoConnect text other than true/false, a password
    // that is not hexadecimal pairs).
    virtual void LoadFromRegistry();
    virtual void WriteToRegistry() const;

    QString LastLogonUser;
    QString LastLogonService;
    QString LastLogonServer = QStringLiteral("localhost");
    QString LastLogonPassword;
    int LastLogonPort = 5432;
    bool AutoConnect = false;
    TPCSystem LocalCoordinateSystem = 0;
    db::TDBEncoding DatabaseEncoding = db::DBENGreekISO;

    // Whether a login has been remembered.
    bool HasLogin() const { return !LastLogonUser.isEmpty() || !LastLogonService.isEmpty(); }
    // Without a remembered login: the database named by the libpq variables
    // PGHOST, PGPORT, PGDATABASE and PGUSER (those set), which is how
    // scripts/run offers its private database to a new user.
    void OfferEnvironmentDatabase();
};

// The client encoding for a language (Cyrillic languages ISO_8859_5, Greek
// ISO_8859_7, any other ISO_8859_1).
QString GetEncodingStr(QLocale::Language language = QLocale::system().language());
// The Windows primary language identifier of a language (9 for English, 0 for
// one without such a number here).
int PrimaryLanguageId(QLocale::Language language);
// The client encoding of an option value.
QString EncodingOfOption(db::TDBEncoding encoding, QLocale::Language language);

} // namespace velnor::dbui
