#pragma once

#include "WaterUser.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velnor {

// Binary exchange file: one fixed record of RecordSize bytes per water user,
// no header. Texts are stored in ExchangeCodePage().
inline constexpr std::size_t ExchangeRecordSize = 25440;
inline constexpr std::size_t ExchangeSlotSize = 480;
inline constexpr int ExchangeSlots = 51;

// The fixed-size form of a water user: at most 51 consumptors; a slot with
// UnitsNum 0 ends the list.
struct TWaterUserSt : TWaterUserFields {
    std::array<TWaterConsumptor, ExchangeSlots> WatConsRec{};
};

// Copies up to 51 consumptors into the slots; the slots' UnitsNum should be 0 before.
void CopyWatUserRec(const TWaterUser& from, TWaterUserSt& to);
// Fills as many consumptors as `to` already holds (at most 51).
void CopyWatUserRec(const TWaterUserSt& from, TWaterUser& to);

// The bytes of a whole file for the list. Consumptors with 0 units, which the file
// cannot hold (they end the list), go after the user's others. A user holding a
// value that is not a finite number throws InputError, as reading such a file would.
std::string SerializeExchangeData(const WaterUserList& users);
// Checks and parses a whole file; throws InputError and returns nothing on a
// refused file, so callers replace their list only with a complete result.
// Fewer than 4 bytes throw IoError ("Read beyond end of file").
WaterUserList ParseExchangeData(std::string_view bytes);

// Writes through a temporary file beside `path`, renamed over it only when
// complete. Throws IoError, or InputError as SerializeExchangeData.
void WriteExchangeFile(const std::string& path, const WaterUserList& users);
// Throws IoError when the file cannot be read, InputError when it is refused.
// Bytes after the last whole record are ignored; `ignoredBytes`, when given,
// receives their number.
WaterUserList ReadExchangeFile(const std::string& path, std::size_t* ignoredBytes = nullptr);

} // namespace velnor
