#include "db/SqlText.h"
#include "db/WnScenario.h"

#include <pqxx/pqxx>

namespace velnor::db {

void ApplySchema(Connection& conn)
{
    try {
        conn.Exec("SET LOCAL client_min_messages TO warning");
        conn.Exec(SchemaSql);
        conn.Exec(std::string("SET search_path TO ") + SearchPath);
        conn.Exec(ReferenceSql);
        conn.Commit();
    } catch (...) {
        conn.Rollback();
        throw;
    }
}

} // namespace velnor::db
