// A scenario description through the code `velnor-cli compute --export` runs. Only
// the program's own input errors may refuse it, in its own words and without leaving
// a file; an accepted one is exported whole and reads back with the same needs.

#include "fuzz/Finding.h"

#include "cli/Commands.h"

#include "core/Errors.h"
#include "core/ExchangeFile.h"
#include "core/WaterUser.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

using namespace velnor;
using velnor::fuzz::Require;

namespace {

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Started();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::WorkDir& dir = fuzz::Started();
    const std::string scenario = dir.file("scenario.json");
    const std::string exported = dir.file("out.bin");
    {
        std::ofstream file(scenario, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Require(static_cast<bool>(file.flush()), "cannot write the input file");
    }
    std::filesystem::remove(exported);

    std::ostringstream out;
    try {
        cli::ComputeCommand({scenario, "--export", exported}, out);
    } catch (const InputError& e) {
        const std::string message = e.what();
        // (Unless the description itself holds the tag, which a parse error may quote.)
        const std::string_view input(reinterpret_cast<const char*>(data), size);
        Require(message.find("[json.exception.") == std::string::npos ||
                    input.find("[json.exception.") != std::string_view::npos,
                "the JSON library's wording: " + message);
        Require(dir.listing() == "scenario.json", "a refused description leaves " + dir.listing());
        return 0;
    }

    Require(dir.listing() == "out.bin scenario.json", "an accepted description leaves " + dir.listing());
    Require(!out.str().empty(), "no needs table");
    const WaterUserList back = ReadExchangeFile(exported);
    Require(back.size() == WatUserRec.size(), "the export does not hold every water user");
    for (std::size_t i = 0; i < back.size(); ++i) {
        const TWaterUser& a = WatUserRec[i];
        const TWaterUser& b = back[i];
        bool same = a.Category == b.Category && a.Geo_id == b.Geo_id && a.UnitsNum == b.UnitsNum &&
                    SameBits(a.YearNeeds, b.YearNeeds);
        for (std::size_t m = 0; m < 12; ++m)
            same = same && SameBits(a.TblMonthNeeds[m], b.TblMonthNeeds[m]);
        Require(same, "water user " + std::to_string(i + 1) + " reads back different from the export");
    }
    return 0;
}
