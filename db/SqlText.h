#pragma once

namespace velnor::db {

// The contents of db/sql/schema.sql and db/sql/reference.sql.
extern const char* const SchemaSql;
extern const char* const ReferenceSql;

} // namespace velnor::db
