#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velnor {

using Months = std::array<double, 12>;

// A lookup that returns a position reports a missing entry with this value.
inline constexpr int NotFound = -100000;

struct TStrInt {
    std::string Name;
    int id = 0;
};

struct TStr12R12R12R {
    std::string Name;
    int Id = 0;
    Months Intake{};
    Months Disch{};
    Months Cons{};
};

struct TStrInt12R {
    std::string Name;
    int Id = 0;
    Months Consumpt{};
};

struct TStrInt7R {
    std::string Name;
    int Id = 0;
    std::array<double, 7> Consumpt{};
};

struct T4Str4Str12R {
    std::array<std::string, 4> TblClimaZone;
    std::array<std::string, 3> TblTempZone;
    std::array<double, 12> TblETo{};
};

// Tables used as they are.
extern const std::array<std::string, 12> TblDataMonths;
extern const Months TblWatSupCons;
extern const T4Str4Str12R IndicatEToRec;
extern const std::array<TStrInt, 5> WatUsTypRec;

// Built-in reference rows; they never change.
extern const std::array<TStr12R12R12R, 15> IndustRecSt;
extern const std::array<TStrInt7R, 50> CropsRecSt;
extern const std::array<TStrInt12R, 7> AnimalsRecSt;
extern const std::array<TStrInt, 6> MetDataRecSt;

// Working reference tables: filled from the built-in rows by StaticToDynamic and
// possibly replaced by a database load. Row p always has Id p + 1.
extern std::vector<TStr12R12R12R> IndustRec;
extern std::vector<TStrInt7R> CropsRec;
extern std::vector<TStrInt12R> AnimalsRec;
extern std::vector<TStrInt> MetDataRec;

// Copies the built-in rows into the working tables.
void StaticToDynamic();

// Lookups. By name: the last row with exactly that name, NotFound if none.
// By identifier: positional (identifier - 1), no search.
int FindAnimIndxName(std::string_view AnimName);
int FindAnimIndxId(int idanim);
int FindIndIndxName(std::string_view IndName);
int FindIndIndxId(int industid);
int FindCropIndxName(std::string_view CropName);
int FindCropIndxId(int idcrop);
int FindWatUsTypeIndxName(std::string_view WatUsName);
int FindWatUsTypeIndxId(int id);

} // namespace velnor
