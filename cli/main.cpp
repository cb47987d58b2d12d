#include "cli/Commands.h"
#include "cli/Options.h"

#include "core/DataTables.h"

#ifdef VELNOR_WITH_DB
#include "cli/DbCommand.h"
#endif

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "Usage: velnor-cli COMMAND ...\n"
    "  eto --method penman-monteith|mod-blaney-criddle|blaney-criddle|empirical\n"
    "      [--latitude DEG] [--zone 1-4] [--water] [FILE|-]\n"
    "  compute SCENARIO.json [--unit hm3|m3] [--export FILE.bin]\n"
    "  report FILE.bin [--unit hm3|m3]\n"
#ifdef VELNOR_WITH_DB
    "  db init|projects|scenarios|save|load ...\n"
#endif
    ;

} // namespace

int main(int argc, char** argv)
{
    using namespace velnor::cli;
    std::ios::sync_with_stdio(false);
    velnor::StaticToDynamic();

    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        (words.empty() ? std::cerr : std::cout) << Usage;
        return words.empty() ? ExitBadInput : ExitOk;
    }
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    int status = ExitBadInput;
    if (command == "eto")
        status = RunEto(args, std::cin, std::cout, std::cerr);
    else if (command == "compute")
        status = RunCompute(args, std::cout, std::cerr);
    else if (command == "report")
        status = RunReport(args, std::cout, std::cerr);
#ifdef VELNOR_WITH_DB
    else if (command == "db")
        status = RunDbCommand(args, std::cout, std::cerr);
#endif
    else {
        std::cerr << "velnor-cli: unknown command \"" << command << "\"\n" << Usage;
        return ExitBadInput;
    }
    // A table that could not be written (a full disk, a closed pipe) is a failure.
    errno = 0;
    if (!std::cout.flush()) {
        const int error = errno;
        std::cerr << "velnor-cli: Unable to write the output" << (error ? std::string(": ") + std::strerror(error) : "")
                  << '\n';
        return status == ExitOk ? ExitIo : status;
    }
    return status;
}
