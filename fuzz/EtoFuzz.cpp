// The meteorological text reader of `velnor-cli eto`. The first byte of an input
// chooses the method (and --water, and the climatic zone), the second the latitude;
// the rest is the text. Only the program's own input errors may refuse it, and an
// accepted one gives twelve finite months and their total.

#include "fuzz/Finding.h"

#include "cli/Commands.h"

#include "core/Errors.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace velnor;
using velnor::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static const char* const methods[] = {"penman-monteith", "mod-blaney-criddle", "blaney-criddle", "empirical"};
    const int choice = data[0];
    std::vector<std::string> args = {"--method", methods[choice % 4]};
    if (choice % 4 == 0 && (choice & 4))
        args.push_back("--water");
    args.push_back("--latitude");
    args.push_back(std::to_string((data[1] - 128) * 0.55)); // beyond ±66.5 now and then
    args.push_back("--zone");
    args.push_back(std::to_string((choice >> 3) % 6)); // 0 and 5 are refused

    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
    std::ostringstream out;
    try {
        cli::EtoCommand(args, in, out);
    } catch (const InputError&) {
        return 0;
    }

    std::istringstream table(out.str());
    std::string line;
    std::getline(table, line);
    Require(line == "month,eto_mm", "no table heading");
    int rows = 0;
    while (std::getline(table, line)) {
        ++rows;
        const double value = std::strtod(line.c_str() + line.find(',') + 1, nullptr);
        Require(std::isfinite(value), "not a finite evapotranspiration: " + line);
    }
    Require(rows == 13, "not twelve months and a total");
    return 0;
}
