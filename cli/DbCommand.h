#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnor::cli {

// `velnor-cli db ...`: args are the words after "db". Returns the exit status.
int RunDbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velnor::cli
