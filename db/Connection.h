#pragma once

#include <pqxx/pqxx>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velnor::db {

// Where and as whom to connect. Empty fields fall back to libpq's defaults
// (PGHOST, PGPORT, PGDATABASE, PGUSER, PGPASSWORD, ~/.pgpass).
struct ConnectParams {
    std::string host;
    std::string port;
    std::string dbname;
    std::string user;
    std::string password;
    // Client encoding requested after connecting: "ISO_8859_7", "ISO_8859_1",
    // "ISO_8859_5" or "UTF8".
    std::string clientEncoding = "UTF8";
};

// Client encodings the program offers, by the ordinal stored in the options.
enum TDBEncoding : int {
    DBENLocaleDefault = 0,
    DBENGreekISO = 1,
    DBENLatinISO = 2,
    DBENCyrillicISO = 3,
};

// The client encoding for a user's language: the primary language identifier
// (low 10 bits of a Windows language identifier, e.g. 8 Greek, 9 English).
std::string GetEncodingStr(int primaryLanguage);
// The client encoding of an option value; DBENLocaleDefault asks GetEncodingStr.
std::string EncodingName(TDBEncoding encoding, int primaryLanguage);

// The one connection to the database. Auto-commit is off: every statement runs
// in the connection's open transaction until Commit or Rollback, each of which
// opens the next one. Right after connecting the search path is "hydro, public".
//
// Memory holds UTF-8 and so does the wire: the session's client encoding on
// the server is UTF8, and the requested client encoding (ISO_8859_7, ...) is
// applied here, in both directions: ToClient/FromClient keep the characters
// the encoding can hold and turn every other one into '?'. So a text that the
// encoding cannot hold never makes a save or a load fail.
class Connection {
public:
    // Throws pqxx errors (pqxx::broken_connection and others) on failure.
    explicit Connection(const ConnectParams& params);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The open transaction.
    pqxx::work& Tx();
    void Commit();
    // Never throws: a rollback that fails (the server is gone) leaves the
    // connection broken (IsAlive false), so the error of the statement that
    // made the caller roll back is the one that reaches the user.
    void Rollback() noexcept;
    // For a catch block: rolls back, then passes the error on; an error that
    // came from losing the connection is reported as that.
    [[noreturn]] void RollbackAndRethrow();

    // Whether the session still answers. A connection whose server went away
    // (restarted, shut down) is found out here, by a trivial statement, rather
    // than by the next real one; an aborted transaction is rolled back.
    bool IsAlive();

    // Told what long work is doing ("Writing water users ..."); empty by default.
    using ProgressHook = std::function<void(const std::string& what)>;
    void SetProgressHook(ProgressHook hook) { progress_ = std::move(hook); }
    void Progress(const std::string& what) const
    {
        if (progress_)
            progress_(what);
    }

    // Runs a statement that returns no rows in the open transaction.
    void Exec(const std::string& sql);

    std::string ToClient(std::string_view utf8) const;
    std::string FromClient(std::string_view bytes) const;
    // The client encoding in force ("ISO_8859_7", "UTF8", ...).
    const std::string& ClientEncoding() const { return clientEncoding_; }
    // Converts with this encoding from now on. Throws VelnorError for an
    // encoding this program does not offer.
    void SetClientEncoding(const std::string& encoding);

    // The database user name of the session.
    std::string UserName() const;

private:
    void ApplySessionSettings();
    void Begin();

    std::unique_ptr<pqxx::connection> conn_;
    std::unique_ptr<pqxx::work> tx_;
    std::string clientEncoding_ = "UTF8";
    std::string codePage_; // iconv name; empty for UTF8
    ProgressHook progress_;
};

// The path the program works in.
inline constexpr const char* SearchPath = "hydro, public";

// Executes one statement that returns no rows.
void ExecSQLString(Connection& conn, const std::string& sql);
// "SET search_path TO " + path.
void SetSearchPath(Connection& conn, const std::string& path);
// Switches the connection's client encoding (see Connection).
void SetDbClientEncoding(Connection& conn, const std::string& encoding);

// The next value of a sequence ("SELECT nextval('<name>')").
int getNewIDseq(Connection& conn, const std::string& sequence);
// n next values of a sequence in one statement, ascending.
std::vector<int> getNewIDsSeq(Connection& conn, const std::string& sequence, int n);

// The iconv code page of a client encoding, empty for UTF8; throws VelnorError
// for an encoding this program does not offer.
std::string CodePageOfEncoding(const std::string& encoding);

} // namespace velnor::db
