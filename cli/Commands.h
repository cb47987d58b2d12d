#pragma once

#include <nlohmann/json_fwd.hpp>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace velnor::cli {

// Each takes the words after its command name and returns the exit status.
int RunEto(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int RunCompute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The bodies of eto and compute: they print the table on success and throw the
// model's errors (InputError, IoError) otherwise; anything else they throw is a fault.
void EtoCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out);
void ComputeCommand(const std::vector<std::string>& args, std::ostream& out);
int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Replaces the working scenario by the one described, through the editors' operations.
// Throws InputError with the editors' messages.
void BuildScenario(const nlohmann::json& scenario);

} // namespace velnor::cli
