#include "db/RowWriter.h"

#include <pqxx/pqxx>

#include "core/Errors.h"

#include <algorithm>
#include <array>

namespace velnor::db {

namespace {

// Keeps a statement well below the protocol's limit of 65535 parameters.
constexpr std::size_t MaxParams = 30000;

} // namespace

void TableRows::Flush(Connection& conn, RowWriter writer)
{
    if (values_.empty())
        return;
    conn.Progress("Writing " + table_ + " (" + std::to_string(RowCount()) + " rows)");
    if (writer == RowWriter::Copy)
        FlushCopy(conn);
    else
        FlushInsert(conn);
    values_.clear();
}

void TableRows::FlushInsert(Connection& conn)
{
    const std::size_t ncols = columns_.size();
    const std::size_t rowsPerStatement = std::max<std::size_t>(1, MaxParams / ncols);
    std::string head = "INSERT INTO " + table_ + " (";
    for (std::size_t c = 0; c < ncols; ++c)
        head += (c ? ", " : "") + columns_[c];
    head += ") VALUES ";

    auto statement = [&](std::size_t rows) {
        std::string sql = head;
        std::size_t p = 1;
        for (std::size_t r = 0; r < rows; ++r) {
            sql += r ? ",(" : "(";
            for (std::size_t c = 0; c < ncols; ++c) {
                sql += c ? ",$" : "$";
                sql += std::to_string(p++);
            }
            sql += ')';
        }
        return sql;
    };

    const std::size_t total = RowCount();
    std::string fullSql;
    for (std::size_t first = 0; first < total; first += rowsPerStatement) {
        const std::size_t rows = std::min(rowsPerStatement, total - first);
        if (rows == rowsPerStatement && fullSql.empty())
            fullSql = statement(rows);
        const std::string sql = rows == rowsPerStatement ? fullSql : statement(rows);
        const auto begin = values_.begin() + static_cast<std::ptrdiff_t>(first * ncols);
        const auto end = begin + static_cast<std::ptrdiff_t>(rows * ncols);
        conn.Tx().exec_params(sql, pqxx::prepare::make_dynamic_params(begin, end));
        if (first + rows < total)
            conn.Progress("Writing " + table_ + " (" + std::to_string(first + rows) + " of " +
                          std::to_string(total) + " rows)");
    }
}

namespace {

template <std::size_t N>
void CopyRows(pqxx::stream_to& stream, const std::vector<std::string>& values)
{
    std::array<std::string, N> row;
    for (std::size_t i = 0; i < values.size(); i += N) {
        std::copy(values.begin() + static_cast<std::ptrdiff_t>(i), values.begin() + static_cast<std::ptrdiff_t>(i + N),
                  row.begin());
        stream << row;
    }
}

} // namespace

void TableRows::FlushCopy(Connection& conn)
{
    pqxx::stream_to stream(conn.Tx(), table_, columns_);
    switch (columns_.size()) {
    case 2: CopyRows<2>(stream, values_); break;
    case 3: CopyRows<3>(stream, values_); break;
    case 4: CopyRows<4>(stream, values_); break;
    case 5: CopyRows<5>(stream, values_); break;
    case 6: CopyRows<6>(stream, values_); break;
    case 7: CopyRows<7>(stream, values_); break;
    case 8: CopyRows<8>(stream, values_); break;
    default: throw VelnorError("COPY of " + std::to_string(columns_.size()) + " columns is not supported");
    }
    stream.complete();
}

void AnalyzeGrownTables(Connection& conn, const std::vector<std::pair<std::string, std::size_t>>& written)
{
    constexpr std::size_t MinRows = 1000;
    std::string names;
    for (const auto& [table, rows] : written)
        if (rows > MinRows)
            names += (names.empty() ? "'" : ", '") + table + "'";
    if (names.empty())
        return;
    // The names are this program's own table names, never user input.
    const pqxx::result counted = conn.Tx().exec(
        "SELECT t, c.reltuples FROM unnest(ARRAY[" + names + "]) AS t JOIN pg_class c ON c.oid = to_regclass(t)");
    std::string grown;
    for (const auto& row : counted) {
        const std::string table = row[0].as<std::string>();
        const double counted_rows = row[1].as<double>();
        for (const auto& [name, rows] : written)
            if (name == table && (counted_rows < 0 || static_cast<double>(rows) > 0.1 * counted_rows))
                grown += (grown.empty() ? "" : ", ") + table;
    }
    if (!grown.empty())
        conn.Tx().exec("ANALYZE " + grown);
}

} // namespace velnor::db
