#include "db/Connection.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <pqxx/pqxx>

#include <algorithm>
#include <cctype>

namespace velnor::db {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A conninfo value in single quotes, with quotes and backslashes escaped.
std::string ConnInfoValue(const std::string& value)
{
    std::string out = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

void CheckSequenceName(const std::string& name)
{
    const bool ok = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
    if (!ok)
        throw VelnorError("Invalid sequence name '" + name + "'");
}

} // namespace

std::string GetEncodingStr(int primaryLanguage)
{
    switch (primaryLanguage) {
    case 2: case 25: case 26: case 34: case 35: case 47:
        return "ISO_8859_5";
    case 8:
        return "ISO_8859_7";
    default:
        return "ISO_8859_1";
    }
}

std::string EncodingName(TDBEncoding encoding, int primaryLanguage)
{
    switch (encoding) {
    case DBENGreekISO: return "ISO_8859_7";
    case DBENLatinISO: return "ISO_8859_1";
    case DBENCyrillicISO: return "ISO_8859_5";
    case DBENLocaleDefault: break;
    }
    return GetEncodingStr(primaryLanguage);
}

std::string CodePageOfEncoding(const std::string& encoding)
{
    const std::string e = Upper(encoding);
    if (e == "UTF8" || e == "UTF-8" || e == "UNICODE")
        return {};
    if (e == "ISO_8859_7" || e == "ISO-8859-7" || e == "ISO88597")
        return "ISO-8859-7";
    if (e == "ISO_8859_1" || e == "ISO-8859-1" || e == "LATIN1")
        return "ISO-8859-1";
    if (e == "ISO_8859_5" || e == "ISO-8859-5" || e == "ISO88595")
        return "ISO-8859-5";
    throw VelnorError("Unsupported client encoding '" + encoding + "'");
}

Connection::Connection(const ConnectParams& params)
{
    const std::string codePage = CodePageOfEncoding(params.clientEncoding);
    std::string info;
    auto add = [&info](const char* key, const std::string& value) {
        if (!value.empty())
            info += std::string(info.empty() ? "" : " ") + key + "=" + ConnInfoValue(value);
    };
    add("host", params.host);
    add("port", params.port);
    add("dbname", params.dbname);
    add("user", params.user);
    add("password", params.password);
    conn_ = std::make_unique<pqxx::connection>(info);
    // A connection whose server went away must not come back by itself: it
    // would come back without the session settings (search path, date style).
    // It stays broken, and the program opens a new one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    conn_->inhibit_reactivation(true);
#pragma GCC diagnostic pop
    clientEncoding_ = params.clientEncoding;
    codePage_ = codePage;
    ApplySessionSettings();
    Begin();
}

Connection::~Connection() = default;

void Connection::ApplySessionSettings()
{
    pqxx::nontransaction n(*conn_);
    try {
        n.exec(std::string("SET search_path TO ") + SearchPath);
    } catch (const pqxx::sql_error&) {
        throw VelnorError(std::string("Unable to set the search path \"") + SearchPath +
                          "\" for the data base scheme");
    }
    // The server always talks UTF8 with us; the chosen client encoding is
    // applied on this side (ToClient/FromClient), so a character it cannot hold
    // becomes '?' both ways instead of the server refusing the text.
    n.exec("SET CLIENT_ENCODING TO \"UTF8\"");
    // Timestamps are read back as ISO text.
    n.exec("SET DateStyle TO ISO, YMD");
}

void Connection::Begin()
{
    tx_ = std::make_unique<pqxx::work>(*conn_);
}

pqxx::work& Connection::Tx()
{
    if (!tx_)
        Begin();
    return *tx_;
}

void Connection::Commit()
{
    // After a commit that failed there is no open transaction until the next
    // statement: begin one, so that committing nothing stays harmless.
    Tx();
    auto tx = std::move(tx_);
    tx->commit();
    tx.reset();
    Begin();
}

void Connection::Rollback() noexcept
{
    auto tx = std::move(tx_);
    try {
        if (tx)
            tx->abort();
    } catch (const std::exception&) {
        // The server is gone; nothing was committed.
    }
    tx.reset();
    try {
        // A rolled-back SET is undone: put the session settings back.
        ApplySessionSettings();
        Begin();
    } catch (const std::exception&) {
        // Left without a transaction; IsAlive reports the connection broken.
        tx_.reset();
    }
}

void Connection::RollbackAndRethrow()
{
    // Once the server has gone, libpqxx reports the next statements' failure
    // as "Could not obtain client encoding: not connected" or the like; the
    // user is told what happened instead.
    const bool lost = !conn_ || !conn_->is_open();
    Rollback();
    if (lost)
        throw pqxx::broken_connection("The connection to the database server was lost (the server was shut down "
                                      "or restarted, or the network failed); nothing was written");
    throw;
}

bool Connection::IsAlive()
{
    if (!conn_ || !conn_->is_open())
        return false;
    try {
        Tx().exec("SELECT 1");
        return true;
    } catch (const pqxx::broken_connection&) {
        return false;
    } catch (const std::exception&) {
        // An aborted transaction refuses every statement until it ends.
        Rollback();
    }
    if (!conn_->is_open() || !tx_)
        return false;
    try {
        Tx().exec("SELECT 1");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void Connection::Exec(const std::string& sql)
{
    Tx().exec(sql);
}

std::string Connection::ToClient(std::string_view utf8) const
{
    if (codePage_.empty())
        return SanitizeUtf8(utf8);
    return CodePageToUtf8(Utf8ToCodePage(utf8, codePage_), codePage_);
}

std::string Connection::FromClient(std::string_view bytes) const
{
    return ToClient(bytes);
}

void Connection::SetClientEncoding(const std::string& encoding)
{
    codePage_ = CodePageOfEncoding(encoding);
    clientEncoding_ = encoding;
}

std::string Connection::UserName() const
{
    return FromClient(conn_->username());
}

void ExecSQLString(Connection& conn, const std::string& sql)
{
    conn.Exec(sql);
}

void SetSearchPath(Connection& conn, const std::string& path)
{
    ExecSQLString(conn, "SET search_path TO " + path);
}

void SetDbClientEncoding(Connection& conn, const std::string& encoding)
{
    conn.SetClientEncoding(encoding);
}

int getNewIDseq(Connection& conn, const std::string& sequence)
{
    CheckSequenceName(sequence);
    const pqxx::result r = conn.Tx().exec("SELECT nextval('" + sequence + "')");
    return r.at(0).at(0).as<int>();
}

std::vector<int> getNewIDsSeq(Connection& conn, const std::string& sequence, int n)
{
    CheckSequenceName(sequence);
    std::vector<int> ids;
    if (n <= 0)
        return ids;
    ids.reserve(static_cast<std::size_t>(n));
    const pqxx::result r = conn.Tx().exec_params(
        "SELECT nextval('" + sequence + "') FROM generate_series(1, $1)", n);
    for (const auto& row : r)
        ids.push_back(row[0].as<int>());
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace velnor::db
