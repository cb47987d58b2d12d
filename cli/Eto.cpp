#include "cli/Commands.h"
#include "cli/Meteo.h"
#include "cli/Options.h"

#include "core/DataTables.h"
#include "core/Errors.h"
#include "core/RcrdFuncs.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace velnor::cli {
namespace {

std::optional<double> ParseLatitude(const Options& options)
{
    const auto text = options.value("latitude");
    if (!text)
        return std::nullopt;
    return ParseMeteoCell(*text).value;
}

std::optional<int> ParseZone(const Options& options)
{
    const auto text = options.value("zone");
    if (!text)
        return std::nullopt;
    const MeteoCell cell = ParseMeteoCell(*text);
    if (!cell.value || !cell.integral || std::abs(*cell.value) > 1e9)
        return std::nullopt;
    return static_cast<int>(*cell.value);
}

} // namespace

void EtoCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out)
{
    const Options options(args, {"method", "latitude", "zone"}, {"water"});
    const auto methodName = options.value("method");
    if (!methodName)
        throw InputError("Usage: velnor-cli eto --method penman-monteith|mod-blaney-criddle|blaney-criddle|"
                         "empirical [--latitude DEG] [--zone 1-4] [--water] [FILE|-]");
    const int method = ParseMethod(*methodName);
    const bool water = options.flag("water");
    if (water && method != MethPenmanMonteith)
        throw InputError("--water is for the penman-monteith method only");
    if (options.positional().size() > 1)
        throw InputError("Only one input file can be given");

    std::vector<std::vector<MeteoCell>> rows;
    const std::string source = options.positional().empty() ? "-" : options.positional()[0];
    if (source == "-") {
        rows = ReadMeteoRows(in);
    } else {
        std::ifstream file(source);
        if (!file)
            throw IoError("Unable to read file " + source);
        rows = ReadMeteoRows(file);
    }

    const MeteoInput input = CheckMeteoData(method, rows, ParseLatitude(options), ParseZone(options));
    Months eto{};
    WrapPotEvap(input.data, eto, input.phi, input.arid, input.method, !water);
    for (const double v : eto)
        if (!std::isfinite(v))
            throw InputError(std::isinf(v) ? "Floating point overflow" : "Invalid floating point operation");

    std::ostringstream table;
    table << "month,eto_mm\n";
    double total = 0;
    for (std::size_t m = 0; m < 12; ++m) {
        table << TblDataMonths[m] << ',' << FormatGeneral(eto[m]) << '\n';
        total += eto[m];
    }
    table << "Total," << FormatGeneral(total) << '\n';
    out << table.str();
}

int RunEto(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        EtoCommand(args, in, out);
        return static_cast<int>(ExitOk);
    });
}

} // namespace velnor::cli
