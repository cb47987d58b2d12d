#pragma once

#include "db/Connection.h"
#include "db/WnScenario.h"

#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velnor::db {

// A UTF-8 text value; it reaches the server in the client encoding.
struct Text {
    std::string_view utf8;
};

// Rows for one table, collected and then written in a few statements. Every
// value travels as a parameter (or as COPY data), never inside SQL text.
class TableRows {
public:
    TableRows(std::string table, std::vector<std::string> columns)
        : table_(std::move(table)), columns_(std::move(columns))
    {
    }

    template <typename... Values>
    void Row(const Connection& conn, const Values&... values)
    {
        static_assert(sizeof...(Values) > 0);
        (values_.push_back(Field(conn, values)), ...);
    }

    std::size_t RowCount() const { return values_.size() / columns_.size(); }
    const std::string& Table() const { return table_; }
    // Writes the collected rows into the open transaction and forgets them.
    void Flush(Connection& conn, RowWriter writer);

private:
    static std::string Field(const Connection&, int v) { return std::to_string(v); }
    static std::string Field(const Connection&, double v)
    {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        return std::string(buf, r.ptr);
    }
    static std::string Field(const Connection& conn, Text t) { return conn.ToClient(t.utf8); }

    void FlushInsert(Connection& conn);
    void FlushCopy(Connection& conn);

    std::string table_;
    std::vector<std::string> columns_;
    std::vector<std::string> values_;
};

// Refreshes the planner's statistics of the tables that grew by a large share
// (more than 1000 rows and a tenth of what the statistics last counted, or never
// counted), in the open transaction, so that the next read of a scenario is not
// planned for nearly empty tables. `written` pairs a table with its rows just written.
void AnalyzeGrownTables(Connection& conn, const std::vector<std::pair<std::string, std::size_t>>& written);

} // namespace velnor::db
