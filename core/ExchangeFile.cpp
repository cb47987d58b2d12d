#include "ExchangeFile.h"

#include "Errors.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velnor {
namespace {

static_assert(std::endian::native == std::endian::little, "the exchange file is little-endian");

using Record = std::array<char, ExchangeRecordSize>;

namespace offset {
constexpr std::size_t Category = 0, GeoId = 4, Toponym = 8, UnitsNum = 252, MethId = 256, Latitude = 264,
                      Height = 272, YearNeeds = 280, TblConsumpt = 288, TblMnthMaxT = 384, TblMnthMinT = 480,
                      TblRelHum = 576, TblRelSun = 672, TblWindSp = 768, TblMonthNeeds = 864, Slots = 960;
namespace slot {
constexpr std::size_t CnsmpType = 0, CnsmpId = 104, UnitsNum = 108, yearneeds = 112, Sem_day = 120, TblKc = 128,
                      TblIntake = 192, TblDisch = 288, TblConsp = 384;
}
} // namespace offset

static_assert(offset::Slots + ExchangeSlots * ExchangeSlotSize == ExchangeRecordSize);

template <typename T>
void Put(char* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

template <typename T>
T Get(const char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <std::size_t N>
void PutReals(char* at, const std::array<double, N>& values)
{
    std::memcpy(at, values.data(), sizeof(double) * N);
}

template <std::size_t N>
void GetReals(const char* at, std::array<double, N>& values)
{
    std::memcpy(values.data(), at, sizeof(double) * N);
}

void PutShortString(char* at, std::size_t capacity, const std::string& utf8)
{
    const std::string bytes = Utf8ToCodePage(utf8, ExchangeCodePage());
    const std::size_t len = std::min(bytes.size(), capacity);
    at[0] = static_cast<char>(len);
    std::memcpy(at + 1, bytes.data(), len);
}

std::string GetShortString(const char* at, std::size_t capacity)
{
    const std::size_t len = std::min<std::size_t>(static_cast<unsigned char>(at[0]), capacity);
    return CodePageToUtf8(std::string_view(at + 1, len), ExchangeCodePage());
}

void EncodeConsumptor(const TWaterConsumptor& c, char* at)
{
    using namespace offset::slot;
    PutShortString(at + CnsmpType, 100, c.CnsmpType);
    Put<int32_t>(at + CnsmpId, c.CnsmpId);
    Put<int32_t>(at + UnitsNum, c.UnitsNum);
    Put<double>(at + yearneeds, c.yearneeds);
    Put<int32_t>(at + Sem_day, c.Sem_day);
    PutReals(at + TblKc, c.TblKc);
    PutReals(at + TblIntake, c.TblIntake);
    PutReals(at + TblDisch, c.TblDisch);
    PutReals(at + TblConsp, c.TblConsp);
}

void DecodeConsumptor(const char* at, TWaterConsumptor& c)
{
    using namespace offset::slot;
    c.CnsmpType = GetShortString(at + CnsmpType, 100);
    c.CnsmpId = Get<int32_t>(at + CnsmpId);
    c.UnitsNum = Get<int32_t>(at + UnitsNum);
    c.yearneeds = Get<double>(at + yearneeds);
    c.Sem_day = Get<int32_t>(at + Sem_day);
    GetReals(at + TblKc, c.TblKc);
    c.TblKc[7] = 0;
    GetReals(at + TblIntake, c.TblIntake);
    GetReals(at + TblDisch, c.TblDisch);
    GetReals(at + TblConsp, c.TblConsp);
}

void EncodeRecord(const TWaterUserSt& st, Record& rec)
{
    rec.fill(0);
    char* at = rec.data();
    using namespace offset;
    Put<int32_t>(at + Category, st.Category);
    Put<int32_t>(at + GeoId, st.Geo_id);
    PutShortString(at + Toponym, 120, st.Toponym);
    Put<int32_t>(at + UnitsNum, st.UnitsNum);
    Put<int32_t>(at + MethId, st.MethId);
    Put<double>(at + Latitude, st.Latitude);
    Put<double>(at + Height, st.Height);
    Put<double>(at + YearNeeds, st.YearNeeds);
    PutReals(at + TblConsumpt, st.TblConsumpt);
    PutReals(at + TblMnthMaxT, st.TblMnthMaxT);
    PutReals(at + TblMnthMinT, st.TblMnthMinT);
    PutReals(at + TblRelHum, st.TblRelHum);
    PutReals(at + TblRelSun, st.TblRelSun);
    PutReals(at + TblWindSp, st.TblWindSp);
    PutReals(at + TblMonthNeeds, st.TblMonthNeeds);
    for (int k = 0; k < ExchangeSlots; ++k) {
        const TWaterConsumptor& c = st.WatConsRec[static_cast<std::size_t>(k)];
        char* slot = at + Slots + ExchangeSlotSize * static_cast<std::size_t>(k);
        if (c.UnitsNum == 0)
            continue; // an unused slot carries nothing but its zero UnitsNum
        EncodeConsumptor(c, slot);
    }
}

template <std::size_t N>
bool AllFinite(const std::array<double, N>& values, std::size_t count = N)
{
    return std::all_of(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count),
                       [](double v) { return std::isfinite(v); });
}

bool ConsumptorFinite(const TWaterConsumptor& c)
{
    return std::isfinite(c.yearneeds) && AllFinite(c.TblKc, 7) && AllFinite(c.TblIntake) &&
           AllFinite(c.TblDisch) && AllFinite(c.TblConsp);
}

// The fields and the first `consumptors` consumptors of a water user or its fixed form.
template <typename User>
bool UserFinite(const User& u, std::size_t consumptors)
{
    return std::isfinite(u.Latitude) && std::isfinite(u.Height) && std::isfinite(u.YearNeeds) &&
           AllFinite(u.TblConsumpt) && AllFinite(u.TblMnthMaxT) && AllFinite(u.TblMnthMinT) &&
           AllFinite(u.TblRelHum) && AllFinite(u.TblRelSun) && AllFinite(u.TblWindSp) &&
           AllFinite(u.TblMonthNeeds) &&
           std::all_of(u.WatConsRec.begin(), u.WatConsRec.begin() + static_cast<std::ptrdiff_t>(consumptors),
                       ConsumptorFinite);
}

// Slots a reader takes: the leading ones with units.
std::size_t UsedSlots(const TWaterUserSt& st)
{
    std::size_t used = 0;
    while (used < st.WatConsRec.size() && st.WatConsRec[used].UnitsNum != 0)
        ++used;
    return used;
}

bool KnownCategory(int category)
{
    return category == CatGroup || (category >= CatWaterSupply && category <= CatIrrigation);
}

[[noreturn]] void Refuse(std::size_t recordIndex, const std::string& why)
{
    throw InputError("Invalid VELNOR file!\nRecord " + std::to_string(recordIndex + 1) + ": " + why);
}

// Reads one whole record into a new water user; refuses what no writer produces.
TWaterUser DecodeUser(const Record& rec, std::size_t recordIndex)
{
    const char* at = rec.data();
    TWaterUserSt st;
    using namespace offset;
    st.Category = Get<int32_t>(at + Category);
    if (!KnownCategory(st.Category))
        Refuse(recordIndex, "unknown category " + std::to_string(st.Category) + ".");
    st.Geo_id = Get<int32_t>(at + GeoId);
    st.Toponym = GetShortString(at + Toponym, 120);
    st.UnitsNum = Get<int32_t>(at + UnitsNum);
    st.MethId = Get<int32_t>(at + MethId);
    st.Latitude = Get<double>(at + Latitude);
    st.Height = Get<double>(at + Height);
    st.YearNeeds = Get<double>(at + YearNeeds);
    GetReals(at + TblConsumpt, st.TblConsumpt);
    GetReals(at + TblMnthMaxT, st.TblMnthMaxT);
    GetReals(at + TblMnthMinT, st.TblMnthMinT);
    GetReals(at + TblRelHum, st.TblRelHum);
    GetReals(at + TblRelSun, st.TblRelSun);
    GetReals(at + TblWindSp, st.TblWindSp);
    GetReals(at + TblMonthNeeds, st.TblMonthNeeds);

    std::size_t used = 0;
    while (used < ExchangeSlots) {
        const char* slot = at + Slots + ExchangeSlotSize * used;
        if (Get<int32_t>(slot + offset::slot::UnitsNum) == 0)
            break;
        DecodeConsumptor(slot, st.WatConsRec[used]);
        ++used;
    }

    TWaterUser user;
    user.WatConsRec.resize(used);
    CopyWatUserRec(st, user);
    if (!UserFinite(user, user.WatConsRec.size()))
        Refuse(recordIndex, "a value is not a finite number.");
    return user;
}

void CheckSignature(const char* first4, std::size_t available)
{
    if (available < 4) // no signature to read: a read error, as for any read past the end
        throw IoError("Read beyond end of file");
    const int32_t category = Get<int32_t>(first4);
    if (category < CatWaterSupply || category > CatIrrigation)
        throw InputError("Invalid VELNOR file!");
}

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

class TempFile {
public:
    explicit TempFile(const std::string& target) : path_(target + ".XXXXXX")
    {
        fd_ = mkstemp(path_.data());
        if (fd_ < 0)
            throw IoError(SystemError("Unable to write to file", target));
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd_, 0666 & ~mask);
    }
    ~TempFile()
    {
        if (fd_ >= 0)
            close(fd_);
        if (!committed_)
            unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void write(const char* data, std::size_t size, const std::string& target)
    {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw IoError(SystemError("Unable to write to file", target));
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void commit(const std::string& target)
    {
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0 || std::rename(path_.c_str(), target.c_str()) != 0)
            throw IoError(SystemError("Unable to write to file", target));
        committed_ = true;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

// A slot without units ends a reader's list, so consumptors without units (they add
// nothing to any need) are written after the others: a reader then leaves out only
// them, never a consumptor with units that followed one.
const TWaterUser& WithUnitsFirst(const TWaterUser& user, TWaterUser& scratch)
{
    const auto hasUnits = [](const TWaterConsumptor& c) { return c.UnitsNum != 0; };
    if (std::is_partitioned(user.WatConsRec.begin(), user.WatConsRec.end(), hasUnits))
        return user;
    scratch = user;
    std::stable_partition(scratch.WatConsRec.begin(), scratch.WatConsRec.end(), hasUnits);
    return scratch;
}

template <typename Sink>
void EncodeAll(const WaterUserList& users, Sink&& sink)
{
    auto rec = std::make_unique<Record>();
    std::size_t index = 0;
    TWaterUser scratch;
    for (const TWaterUser& user : users) {
        ++index;
        TWaterUserSt st;
        CopyWatUserRec(WithUnitsFirst(user, scratch), st);
        // Reading refuses such a file, so it is never written.
        if (!UserFinite(st, UsedSlots(st)))
            throw InputError("Water user " + std::to_string(index) + " (\"" + user.Toponym.str() +
                             "\"): a value is not a finite number.");
        EncodeRecord(st, *rec);
        sink(rec->data(), rec->size());
    }
}

} // namespace

void CopyWatUserRec(const TWaterUser& from, TWaterUserSt& to)
{
    static_cast<TWaterUserFields&>(to) = from;
    const std::size_t n = std::min<std::size_t>(from.WatConsRec.size(), ExchangeSlots);
    ConsumptorList slots(n);
    CopyArrayWatConsRec(from.WatConsRec, slots);
    std::copy(slots.begin(), slots.end(), to.WatConsRec.begin());
}

void CopyWatUserRec(const TWaterUserSt& from, TWaterUser& to)
{
    static_cast<TWaterUserFields&>(to) = from;
    const std::size_t n = std::min<std::size_t>(to.WatConsRec.size(), ExchangeSlots);
    const ConsumptorList slots(from.WatConsRec.begin(), from.WatConsRec.begin() + static_cast<std::ptrdiff_t>(n));
    CopyArrayWatConsRec(slots, to.WatConsRec);
}

std::string SerializeExchangeData(const WaterUserList& users)
{
    std::string bytes;
    bytes.reserve(users.size() * ExchangeRecordSize);
    EncodeAll(users, [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

WaterUserList ParseExchangeData(std::string_view bytes)
{
    CheckSignature(bytes.data(), bytes.size());
    const std::size_t count = bytes.size() / ExchangeRecordSize;
    WaterUserList users;
    users.reserve(count);
    auto rec = std::make_unique<Record>();
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(rec->data(), bytes.data() + i * ExchangeRecordSize, ExchangeRecordSize);
        users.append(DecodeUser(*rec, i));
    }
    return users;
}

void WriteExchangeFile(const std::string& path, const WaterUserList& users)
{
    TempFile file(path);
    EncodeAll(users, [&](const char* data, std::size_t size) { file.write(data, size, path); });
    file.commit(path);
}

WaterUserList ReadExchangeFile(const std::string& path, std::size_t* ignoredBytes)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        errno = EISDIR;
        throw IoError(SystemError("Unable to read file", path));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw IoError(SystemError("Unable to read file", path));
    auto rec = std::make_unique<Record>();
    in.read(rec->data(), 4);
    CheckSignature(rec->data(), static_cast<std::size_t>(in.gcount()));
    in.seekg(0);

    WaterUserList users;
    std::size_t trailing = 0;
    for (std::size_t i = 0;; ++i) {
        in.read(rec->data(), static_cast<std::streamsize>(rec->size()));
        if (static_cast<std::size_t>(in.gcount()) < ExchangeRecordSize) {
            trailing = static_cast<std::size_t>(in.gcount()); // bytes that make no whole record
            break;
        }
        users.append(DecodeUser(*rec, i));
    }
    if (in.bad())
        throw IoError(SystemError("Unable to read file", path));
    if (ignoredBytes)
        *ignoredBytes = trailing;
    return users;
}

} // namespace velnor
