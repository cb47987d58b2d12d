#include "cli/Meteo.h"

#include "core/Errors.h"
#include "core/RcrdFuncs.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velnor::cli {
namespace {

const char* const DataMessage = "Meteorological data must be positive and empirical method uses only Integers!";

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

int ParseMethod(const std::string& name)
{
    if (name == "penman-monteith")
        return MethPenmanMonteith;
    if (name == "mod-blaney-criddle")
        return MethModBlaneyCriddle;
    if (name == "blaney-criddle")
        return MethBlaneyCriddle;
    if (name == "empirical")
        return MethEmpirical;
    throw InputError("Unknown method \"" + name +
                     "\": penman-monteith, mod-blaney-criddle, blaney-criddle or empirical expected");
}

int MeteoColumns(int method)
{
    return MeteoSeriesCount(method);
}

MeteoCell ParseMeteoCell(const std::string& text)
{
    const std::string t = Trimmed(text);
    MeteoCell cell;
    if (t.empty()) {
        cell.empty = true;
        return cell;
    }
    double v = 0;
    const char* end = t.data() + t.size();
    const auto r = std::from_chars(t.data(), end, v);
    if (r.ec == std::errc::result_out_of_range && r.ptr == end) {
        cell.outOfRange = true;
        return cell;
    }
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
        return cell;
    cell.value = v;
    cell.integral = t.find_first_of(".eE") == std::string::npos;
    return cell;
}

std::vector<MeteoCell> SplitMeteoLine(const std::string& line)
{
    std::vector<MeteoCell> cells;
    const auto splitBlanks = [&cells](const std::string& text) {
        std::size_t at = 0;
        while ((at = text.find_first_not_of(" \r\n", at)) != std::string::npos) {
            const std::size_t end = std::min(text.find_first_of(" \r\n", at), text.size());
            cells.push_back(ParseMeteoCell(text.substr(at, end - at)));
            at = end;
        }
    };
    if (line.find_first_of("\t,") == std::string::npos) {
        splitBlanks(line);
        return cells;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(line.find_first_of("\t,", start), line.size());
        const std::string field = line.substr(start, end - start);
        if (Trimmed(field).empty())
            cells.push_back(ParseMeteoCell(field));
        else
            splitBlanks(field);
        if (end == line.size())
            return cells;
        start = end + 1;
    }
}

std::vector<std::vector<MeteoCell>> ReadMeteoRows(std::istream& in)
{
    std::vector<std::vector<MeteoCell>> rows;
    std::string line;
    for (bool first = true; std::getline(in, line); first = false) {
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3); // spreadsheets start their UTF-8 text with a byte-order mark
        if (line.find_first_not_of(" \t\r,") == std::string::npos)
            continue; // blank lines carry no month
        rows.push_back(SplitMeteoLine(line));
    }
    if (in.bad())
        throw IoError("Unable to read the meteorological data");
    return rows;
}

MeteoInput CheckMeteoData(int method, const std::vector<std::vector<MeteoCell>>& rows,
                          std::optional<double> latitude, std::optional<int> zone)
{
    const bool empirical = method == MethEmpirical;
    if (!empirical && !(latitude && *latitude >= -66.5 && *latitude <= 66.5))
        throw InputError("Latitude must be a real number between (-66.5, 66.5)!");

    const auto columns = static_cast<std::size_t>(MeteoColumns(method));
    if (rows.size() != 12)
        throw InputError(std::string(DataMessage) + "\n12 months of data expected, " + std::to_string(rows.size()) +
                         " given");
    MeteoInput input;
    input.method = method;
    input.data.assign(columns * 12, 0);
    const auto where = [](std::size_t m, std::size_t c) {
        return std::string(DataMessage) + "\nmonth " + std::to_string(m + 1) + ", column " + std::to_string(c + 1);
    };
    for (std::size_t m = 0; m < 12; ++m) {
        // An empty cell would move the values after it one column to the left.
        for (std::size_t c = 0; c < rows[m].size(); ++c)
            if (rows[m][c].empty)
                throw InputError(where(m, c) + " is empty");
        if (rows[m].size() != columns)
            throw InputError(std::string(DataMessage) + "\nmonth " + std::to_string(m + 1) + ": " +
                             std::to_string(columns) + " values expected, " + std::to_string(rows[m].size()) +
                             " given");
        for (std::size_t c = 0; c < columns; ++c) {
            const MeteoCell& cell = rows[m][c];
            if (cell.outOfRange)
                throw InputError(where(m, c) + " is out of range");
            if (!cell.value || (empirical && !cell.integral))
                throw InputError(where(m, c) + " is not a" + (empirical ? " whole" : "") + " number");
            input.data[c * 12 + m] = *cell.value;
        }
    }
    if (empirical && !(zone && *zone >= 1 && *zone <= 4))
        throw InputError("A climatic zone must be selected!");
    for (const double v : input.data)
        if (v < 0)
            throw InputError(DataMessage);
    if (empirical)
        for (const double v : input.data)
            if (v < 1 || v > 3)
                throw InputError("Values from 1 to 3 are expected as heat index!");

    if (empirical)
        input.arid = *zone;
    else
        input.phi = *latitude;
    return input;
}

} // namespace velnor::cli
