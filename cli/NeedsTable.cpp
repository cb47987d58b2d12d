#include "cli/NeedsTable.h"

#include "core/DataTables.h"

namespace velnor::cli {

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void WriteNeedsTable(std::ostream& out, const WaterUserList& users, bool m3)
{
    const double factor = m3 ? 1e6 : 1;
    out << "id,category,toponym,units";
    for (const std::string& month : TblDataMonths)
        out << ',' << month;
    out << ",year\n";
    for (const TWaterUser& user : users) {
        const int type = FindWatUsTypeIndxId(user.Category);
        const std::string category = type == NotFound ? std::to_string(user.Category)
                                                       : WatUsTypRec[static_cast<std::size_t>(type)].Name;
        out << user.Geo_id << ',' << CsvField(category) << ',' << CsvField(user.Toponym.str()) << ','
            << user.UnitsNum;
        for (const double v : user.TblMonthNeeds)
            out << ',' << FormatGeneral(v * factor);
        out << ',' << FormatGeneral(user.YearNeeds * factor) << '\n';
    }
}

} // namespace velnor::cli
