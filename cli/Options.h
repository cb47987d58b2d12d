#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace velnor::cli {

// Exit statuses of velnor-cli.
enum ExitStatus : int { ExitOk = 0, ExitIo = 1, ExitBadInput = 2 };

// The words of one command line: options `--name value` or `--flag`, and positional words.
class Options {
public:
    // `valued` names the options that take a value, `flags` those that take none;
    // anything else starting with "--" is refused (InputError).
    Options(const std::vector<std::string>& args, const std::set<std::string>& valued,
            const std::set<std::string>& flags);

    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    const std::vector<std::string>& positional() const { return positional_; }

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
};

// "hm3" (default) or "m3": whether values are shown in m3.
bool ParseUnit(const Options& options);

// --code-page NAME sets the code page of the exchange file's texts (iconv names).
void ApplyCodePage(const Options& options);

// Prints the message of a failure and returns its exit status.
int ReportError(std::ostream& err, const std::exception& e);

// Runs a command body, turning the model's errors into messages and exit statuses.
template <typename Body>
int Guarded(std::ostream& err, Body&& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        return ReportError(err, e);
    }
}

} // namespace velnor::cli
