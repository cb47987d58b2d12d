#pragma once

#include "core/WaterUser.h"

#include <ostream>
#include <string_view>

namespace velnor::cli {

// CSV (RFC 4180 quoting): id,category,toponym,units,January..December,year; one row
// per water user in list order; values in hm3, or m3 when `m3`.
void WriteNeedsTable(std::ostream& out, const WaterUserList& users, bool m3);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

} // namespace velnor::cli
