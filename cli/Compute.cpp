#include "cli/Commands.h"
#include "cli/Meteo.h"
#include "cli/NeedsTable.h"
#include "cli/Options.h"

#include "core/DataTables.h"
#include "core/Errors.h"
#include "core/ExchangeFile.h"
#include "core/RcrdFuncs.h"
#include "core/Text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <sstream>
#include <string_view>

namespace velnor::cli {
namespace {

using nlohmann::json;

// Descriptions nest a few levels; far deeper ones are refused before anything
// walks them.
constexpr int MaxNesting = 64;

// What a JSON value is, in the words of the messages.
std::string KindOf(const json& value)
{
    switch (value.type()) {
    case json::value_t::object:
        return "an object";
    case json::value_t::array:
        return "a list";
    case json::value_t::string:
        return "a text";
    case json::value_t::boolean:
        return "true or false";
    case json::value_t::null:
        return "null";
    default:
        return "a number";
    }
}

// The text under `key`, `fallback` when there is none; any other value is refused.
std::string TextField(const json& entry, const char* key, const std::string& fallback, const std::string& expected)
{
    if (!entry.contains(key))
        return fallback;
    const json& value = entry[key];
    if (!value.is_string())
        throw InputError(std::string("\"") + key + "\" must be a text (" + expected + "), not " + KindOf(value));
    return value.get<std::string>();
}

// Item n of a list of consumptors, which must be an object.
const json& ItemOf(const json& list, std::size_t n, const char* what, const char* example)
{
    const json& item = list[n];
    if (!item.is_object())
        throw InputError(std::string(what) + " " + std::to_string(n + 1) + " must be an object such as " + example +
                         ", not " + KindOf(item));
    return item;
}

// The identifiers and positions of the water users built so far.
struct Built {
    std::unordered_map<int, int> position;
    int largest = 0;
};

// The messages of one consumptor data dialog, reported together.
class Report {
public:
    void add(const std::string& message) { lines_.push_back(message); }
    void throwIfAny() const
    {
        if (lines_.empty())
            return;
        std::string text = "Error Messages:";
        for (const std::string& line : lines_)
            text += "\n" + line;
        throw InputError(text);
    }

private:
    std::vector<std::string> lines_;
};

std::optional<int> WholeNumber(const json& value)
{
    if (!value.is_number_integer())
        return std::nullopt;
    // Beyond 2^63 an unsigned number would turn negative as a signed one.
    if (value.is_number_unsigned() && value.get<unsigned long long>() > std::numeric_limits<int>::max())
        return std::nullopt;
    const auto v = value.get<long long>();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

// A whole number of 0 or more under `key`, or nothing.
std::optional<int> Count(const json& entry, const char* key)
{
    if (!entry.contains(key))
        return std::nullopt;
    const auto v = WholeNumber(entry[key]);
    if (!v || *v < 0)
        return std::nullopt;
    return v;
}

// Twelve reals under `key`; a value that is missing, not a number or negative is empty.
std::vector<std::optional<double>> MonthValues(const json& entry, const char* key)
{
    std::vector<std::optional<double>> values(12);
    const json& list = entry[key];
    for (std::size_t m = 0; m < 12; ++m) {
        if (list.is_array() && m < list.size() && list[m].is_number() && list[m].get<double>() >= 0)
            values[m] = list[m].get<double>();
    }
    return values;
}

bool IsMonthList(const json& entry, const char* key)
{
    return entry[key].is_array() && entry[key].size() == 12;
}

Months AsMonths(const std::vector<std::optional<double>>& values)
{
    Months months{};
    for (std::size_t m = 0; m < 12; ++m)
        months[m] = values[m].value_or(0);
    return months;
}

std::string Format(const char* pattern, std::size_t month)
{
    std::string text = pattern;
    text.replace(text.find("%d"), 2, std::to_string(month));
    return text;
}

// Position of a reference row named or numbered by `value`, NotFound if none.
template <typename Table>
int ReferenceIndex(const json& value, const Table& table, int (*byName)(std::string_view))
{
    if (value.is_string())
        return byName(value.get<std::string>());
    const auto id = WholeNumber(value);
    if (id && *id >= 1 && static_cast<std::size_t>(*id) <= table.size())
        return *id - 1;
    return NotFound;
}

const json& ListOf(const json& entry, const char* key)
{
    static const json empty = json::array();
    if (!entry.contains(key))
        return empty;
    if (!entry[key].is_array())
        throw InputError(std::string("\"") + key + "\" must be a list");
    return entry[key];
}

int AppendRecord()
{
    WatUserRec.append();
    return static_cast<int>(WatUserRec.size()) - 1;
}

void RequireSomething(const json& list)
{
    if (list.empty())
        throw InputError("Nothing to add!");
}

void AddWaterSupply(const json& entry, int id, const std::string& toponym)
{
    const auto population = Count(entry, "population");
    if (!population)
        throw InputError("A positive integer value expected for population!");
    Months consumption = TblWatSupCons;
    if (entry.contains("consumption")) {
        const auto values = MonthValues(entry, "consumption");
        if (!IsMonthList(entry, "consumption"))
            throw InputError("A positive real number for consumption is expected for all months!");
        for (const auto& v : values)
            if (!v)
                throw InputError("A positive real number for consumption is expected for all months!");
        consumption = AsMonths(values);
    }
    AddRecordSup(id, toponym, *population, consumption, AppendRecord());
}

void AddFarming(const json& entry, int id, const std::string& toponym)
{
    const json& animals = ListOf(entry, "animals");
    RequireSomething(animals);
    WatConsRec.clear();
    for (std::size_t n = 0; n < animals.size(); ++n) {
        const json& animal = ItemOf(animals, n, "Animal", R"({"animal": "Cattles", "count": 100})");
        Report report;
        const int row = ReferenceIndex(animal.value("animal", json()), AnimalsRec, FindAnimIndxName);
        if (row == NotFound)
            report.add("No Animal selected");
        const auto count = Count(animal, "count");
        if (!count)
            report.add("The population must be a positive integer number");
        std::optional<Months> consumption;
        if (animal.contains("consumption")) {
            const auto values = MonthValues(animal, "consumption");
            for (std::size_t m = 0; m < 12; ++m)
                if (!values[m])
                    report.add(Format("The Value of water needs for month %d must be a positive real number", m + 1));
            consumption = AsMonths(values);
        }
        report.throwIfAny();

        const int irec = static_cast<int>(WatConsRec.size());
        AddExRecFarm(AnimalsRec[static_cast<std::size_t>(row)].Id, *count, irec);
        if (consumption)
            WatConsRec[static_cast<std::size_t>(irec)].TblConsp = *consumption;
    }
    for (std::size_t i = 0; i < WatConsRec.size(); ++i)
        AddExRecFarm(WatConsRec[i].CnsmpId, WatConsRec[i].UnitsNum, static_cast<int>(i));
    ExToIntRec(CatFarming, toponym, id, AppendRecord());
}

void AddIndustry(const json& entry, int id, const std::string& toponym)
{
    const json& branches = ListOf(entry, "branches");
    RequireSomething(branches);
    WatConsRec.clear();
    for (std::size_t n = 0; n < branches.size(); ++n) {
        const json& branch = ItemOf(branches, n, "Branch", R"({"branch": "Food", "units": 2})");
        Report report;
        const int row = ReferenceIndex(branch.value("branch", json()), IndustRec, FindIndIndxName);
        if (row == NotFound)
            report.add("No Industry selected");
        const auto units = Count(branch, "units");
        if (!units)
            report.add("The number of units must be a positive integer number");
        // Left out, intake and discharge are the branch's ("Default").
        std::vector<std::optional<double>> intake(12), discharge(12);
        if (row != NotFound) {
            const TStr12R12R12R& reference = IndustRec[static_cast<std::size_t>(row)];
            for (std::size_t m = 0; m < 12; ++m) {
                intake[m] = reference.Intake[m];
                discharge[m] = reference.Disch[m];
            }
        }
        if (branch.contains("intake"))
            intake = MonthValues(branch, "intake");
        if (branch.contains("discharge"))
            discharge = MonthValues(branch, "discharge");
        for (std::size_t m = 0; m < 12; ++m) {
            if (!intake[m])
                report.add(Format("The Value of water intake for month %d must be a positive real number", m + 1));
            if (!discharge[m])
                report.add(Format("The Value of water discharge for month %d must be a positive real number", m + 1));
            if (intake[m] && discharge[m] && *discharge[m] > *intake[m])
                report.add(Format("The water discharge for month %d must be less or equal to the intake", m + 1));
        }
        report.throwIfAny();

        const int irec = static_cast<int>(WatConsRec.size());
        AddExRecInd(IndustRec[static_cast<std::size_t>(row)].Id, *units, irec);
        TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
        c.TblIntake = AsMonths(intake);
        c.TblDisch = AsMonths(discharge);
        for (std::size_t m = 0; m < 12; ++m)
            c.TblConsp[m] = c.TblIntake[m] - c.TblDisch[m];
    }
    for (std::size_t i = 0; i < WatConsRec.size(); ++i)
        AddExRecInd(WatConsRec[i].CnsmpId, WatConsRec[i].UnitsNum, static_cast<int>(i));
    ExToIntRec(CatIndustry, toponym, id, AppendRecord());
}

MeteoInput IrrigationMeteo(const json& entry)
{
    if (!entry.contains("meteo"))
        throw InputError("Meteorological Data must be given first!");
    const int method = ParseMethod(
        TextField(entry, "method", "", "penman-monteith, mod-blaney-criddle, blaney-criddle or empirical"));
    std::vector<std::vector<MeteoCell>> rows;
    const json& meteo = ListOf(entry, "meteo");
    for (const json& row : meteo) {
        std::vector<MeteoCell> cells;
        for (const json& value : row.is_array() ? row : json::array({row})) {
            MeteoCell cell;
            if (value.is_number()) {
                cell.value = value.get<double>();
                cell.integral = value.is_number_integer();
            }
            cells.push_back(cell);
        }
        rows.push_back(std::move(cells));
    }
    std::optional<double> latitude;
    if (entry.contains("latitude") && entry["latitude"].is_number())
        latitude = entry["latitude"].get<double>();
    std::optional<int> zone;
    if (entry.contains("zone"))
        zone = WholeNumber(entry["zone"]);
    return CheckMeteoData(method, rows, latitude, zone);
}

void AddIrrigation(const json& entry, int id, const std::string& toponym)
{
    const MeteoInput meteo = IrrigationMeteo(entry);
    const json& crops = ListOf(entry, "crops");
    RequireSomething(crops);
    WatConsRec.clear();
    // Coefficient boxes in the order they are checked, with their TblKc entries.
    static const std::pair<int, const char*> kcChecks[] = {
        {5, "Coefficient Kc mid must be a positive real number"},
        {6, "Coefficient Kc late must be a positive real number"},
        {4, "Coefficient Kc ini must be a positive real number"},
        {0, "Coefficient L ini must be a positive real number"},
        {1, "Coefficient L dev must be a positive real number"},
        {2, "Coefficient L mid must be a positive real number"},
        {3, "Coefficient L late must be a positive real number"},
    };
    for (std::size_t n = 0; n < crops.size(); ++n) {
        const json& crop = ItemOf(crops, n, "Crop", R"({"crop": "Cereals: Wheat", "area": 10, "sowing_day": 300})");
        Report report;
        const int row = ReferenceIndex(crop.value("crop", json()), CropsRec, FindCropIndxName);
        if (row == NotFound)
            report.add("No Crop selected");
        const auto area = Count(crop, "area");
        if (!area)
            report.add("The area must be a positive integer number");
        const int sowing = crop.contains("sowing_day") ? WholeNumber(crop["sowing_day"]).value_or(0) : 0;
        if (sowing < 1 || sowing > 365)
            report.add("The semination day must be an integer between 1 and 365");
        std::optional<std::array<double, 7>> kc;
        if (crop.contains("kc")) {
            const json& list = crop["kc"];
            std::array<double, 7> values{};
            for (const auto& [k, message] : kcChecks) {
                const auto at = static_cast<std::size_t>(k);
                if (list.is_array() && at < list.size() && list[at].is_number() && list[at].get<double>() >= 0)
                    values[at] = list[at].get<double>();
                else
                    report.add(message);
            }
            kc = values;
        }
        report.throwIfAny();

        const int irec = static_cast<int>(WatConsRec.size());
        AddExRecIrig(meteo.data, meteo.phi, meteo.arid, sowing, meteo.method, CropsRec[static_cast<std::size_t>(row)].Id,
                     *area, irec);
        TWaterConsumptor& c = WatConsRec[static_cast<std::size_t>(irec)];
        if (kc)
            std::copy(kc->begin(), kc->end(), c.TblKc.begin());
    }
    for (std::size_t i = 0; i < WatConsRec.size(); ++i) {
        const TWaterConsumptor& c = WatConsRec[i];
        AddExRecIrig(meteo.data, meteo.phi, meteo.arid, c.Sem_day, meteo.method, c.CnsmpId, c.UnitsNum,
                     static_cast<int>(i));
    }
    const int irec = AppendRecord();
    AddMeteoData(meteo.data, meteo.phi, meteo.arid, meteo.method, irec);
    ExToIntRec(CatIrrigation, toponym, id, irec);
}

// A member as the description gives it, shortened for a message.
std::string Shown(const json& member)
{
    if (member.is_structured())
        return member.is_object() ? "{...}" : "[...]";
    std::string text = member.dump(-1, ' ', false, json::error_handler_t::replace);
    if (CharCount(text) > 40)
        text = CutToChars(text, 40) + "...";
    return text;
}

void AddGroup(const json& entry, int id, const std::string& toponym, const Built& built)
{
    const json& members = ListOf(entry, "members");
    if (members.empty())
        throw InputError("A group needs at least one member");
    WatConsRec.clear();
    std::unordered_set<int> listed;
    listed.reserve(members.size());
    for (const json& member : members) {
        const auto memberId = WholeNumber(member);
        const auto found = memberId ? built.position.find(*memberId) : built.position.end();
        if (found == built.position.end())
            throw InputError("Group member " + Shown(member) + " is not a water user defined before the group");
        const int index = found->second;
        if (WatUserRec[static_cast<std::size_t>(index)].Category == CatGroup)
            throw InputError("Group member " + Shown(member) + " is a group; groups cannot contain groups");
        if (!listed.insert(*memberId).second)
            throw InputError("Group member " + Shown(member) + " is listed twice");
        AddExRecGrpAt(*memberId, index, static_cast<int>(WatConsRec.size()));
    }
    ExToIntRec(CatGroup, toponym, id, AppendRecord());
}

void AddEntry(const json& entry, Built& built)
{
    if (!entry.is_object())
        throw InputError("A water user must be an object, not " + KindOf(entry));
    const std::string category =
        TextField(entry, "category", "", "Water Supply, Farming, Industry, Irrigation or Group");
    const int type = FindWatUsTypeIndxName(category);
    if (type == NotFound)
        throw InputError("Unknown category \"" + category +
                         "\": Water Supply, Farming, Industry, Irrigation or Group expected");
    const int categoryId = WatUsTypRec[static_cast<std::size_t>(type)].id;
    // The group panel offers "new Group" as the name; the other editors start empty.
    std::string toponym = categoryId == CatGroup ? "new Group" : "";
    toponym = TextField(entry, "toponym", toponym, "the water user's name");
    int id = 0;
    if (entry.contains("id")) {
        const auto given = WholeNumber(entry["id"]);
        if (!given)
            throw InputError("The id must be a whole number, not " + KindOf(entry["id"]));
        id = *given;
    } else {
        // As NewWUId: one more than the largest in use.
        if (built.largest == std::numeric_limits<int>::max())
            throw InputError("No new water-user identifier: " + std::to_string(built.largest) + " is in use");
        id = built.largest + 1;
    }
    if (built.position.count(id))
        throw InputError("The id " + std::to_string(id) + " is used twice");
    switch (categoryId) {
    case CatWaterSupply:
        AddWaterSupply(entry, id, toponym);
        break;
    case CatFarming:
        AddFarming(entry, id, toponym);
        break;
    case CatIndustry:
        AddIndustry(entry, id, toponym);
        break;
    case CatIrrigation:
        AddIrrigation(entry, id, toponym);
        break;
    default:
        AddGroup(entry, id, toponym, built);
        break;
    }
    built.position.emplace(id, static_cast<int>(WatUserRec.size()) - 1);
    built.largest = std::max(built.largest, id);
}

// A parse error in our words: the library's text without its tag.
std::string ParseErrorText(const json::exception& e)
{
    std::string text = e.what();
    if (const auto tag = text.find("] "); text.rfind("[json.exception.", 0) == 0 && tag != std::string::npos)
        text.erase(0, tag + 2);
    const auto quote = text.find('\'');
    if (e.id == 406 && quote != std::string::npos && text.back() == '\'') // out_of_range.406, number overflow
        return "the number " + text.substr(quote + 1, text.size() - quote - 2) + " is out of range";
    return "not a valid description: " + text;
}

// Whether a JSON text nests arrays and objects more than `limit` deep. Exact for
// valid JSON; anything else the parser refuses anyway.
bool NestedDeeperThan(std::string_view text, int limit)
{
    int depth = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

json ReadScenario(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw IoError("Unable to read file " + path);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    if (file.bad())
        throw IoError("Unable to read file " + path);
    // Refused before anything walks a value nested without end.
    if (NestedDeeperThan(text, MaxNesting))
        throw InputError(path + ": values are nested more than " + std::to_string(MaxNesting) + " levels deep");
    try {
        return json::parse(text);
    } catch (const json::exception& e) {
        throw InputError(path + ": " + ParseErrorText(e));
    }
}

std::string EntryName(const json& entry, std::size_t n)
{
    std::string name = "Water user " + std::to_string(n);
    if (entry.is_object() && entry.contains("toponym") && entry["toponym"].is_string())
        name += " (\"" + entry["toponym"].get<std::string>() + "\")";
    return name;
}

} // namespace

void BuildScenario(const nlohmann::json& scenario)
{
    if (!scenario.is_object() || !scenario.contains("water_users") || !scenario["water_users"].is_array())
        throw InputError("The scenario must be an object with a list \"water_users\"");
    WatUserRec.clear();
    WatConsRec.clear();
    {
        const GroupRefreshBatch batch;
        std::size_t n = 0;
        Built built;
        for (const json& entry : scenario["water_users"]) {
            ++n;
            try {
                AddEntry(entry, built);
            } catch (const VelnorError& e) {
                throw InputError(EntryName(entry, n) + ": " + e.what());
            } catch (const json::exception& e) {
                throw InputError(EntryName(entry, n) + ": " + e.what());
            }
        }
    }
    WatConsRec.clear();
    // Values too large for a double overflow to infinity: a failure, not a need.
    for (std::size_t i = 0; i < WatUserRec.size(); ++i) {
        const TWaterUser& user = WatUserRec[i];
        if (!std::isfinite(user.YearNeeds) ||
            !std::all_of(user.TblMonthNeeds.begin(), user.TblMonthNeeds.end(), [](double v) { return std::isfinite(v); }))
            throw InputError(EntryName(scenario["water_users"][i], i + 1) + ": Floating point overflow");
    }
}

void ComputeCommand(const std::vector<std::string>& args, std::ostream& out)
{
    const Options options(args, {"unit", "export", "code-page"}, {});
    if (options.positional().size() != 1)
        throw InputError("Usage: velnor-cli compute SCENARIO.json [--unit hm3|m3] [--export FILE.bin] "
                         "[--code-page NAME]");
    const bool m3 = ParseUnit(options);
    ApplyCodePage(options);
    BuildScenario(ReadScenario(options.positional()[0]));
    if (const auto exportPath = options.value("export"))
        WriteExchangeFile(*exportPath, WatUserRec);
    std::ostringstream table;
    WriteNeedsTable(table, WatUserRec, m3);
    out << table.str();
}

int RunCompute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        ComputeCommand(args, out);
        return static_cast<int>(ExitOk);
    });
}

int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        const Options options(args, {"unit", "code-page"}, {});
        if (options.positional().size() != 1)
            throw InputError("Usage: velnor-cli report FILE.bin [--unit hm3|m3] [--code-page NAME]");
        const bool m3 = ParseUnit(options);
        ApplyCodePage(options);
        const WaterUserList users = ReadExchangeFile(options.positional()[0]);
        std::ostringstream table;
        WriteNeedsTable(table, users, m3);
        out << table.str();
        return static_cast<int>(ExitOk);
    });
}

} // namespace velnor::cli
