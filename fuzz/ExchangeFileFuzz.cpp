// The exchange-file reader, from memory and from a file. The two must agree, and an
// accepted file must write back to the same bytes, apart from those that carry no
// information (padding, unused slots, bytes beyond a text's length, trailing bytes).

#include "fuzz/Finding.h"

#include "core/Errors.h"
#include "core/ExchangeFile.h"
#include "core/Text.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

using namespace velnor;
using velnor::fuzz::Require;

namespace {

struct Outcome {
    std::optional<WaterUserList> users;
    bool ioError = false;
    std::string message;
};

template <typename Read>
Outcome Attempt(Read&& read)
{
    Outcome outcome;
    try {
        outcome.users = read();
    } catch (const IoError& e) {
        outcome.ioError = true;
        outcome.message = e.what();
    } catch (const InputError& e) {
        outcome.message = e.what();
    }
    return outcome;
}

// What a writer gives for the information of the record bytes `from`, written from
// the layout of the file rather than from the reader.
class CanonicalRecord {
public:
    CanonicalRecord(const char* from, char* to) : from_(from), to_(to) {}

    void copy(std::size_t begin, std::size_t end) { std::memcpy(to_ + begin, from_ + begin, end - begin); }

    // A short string: its length byte, at most the capacity, and as many characters;
    // characters the code page leaves undefined read as '?'.
    void text(std::size_t at, std::size_t capacity)
    {
        const std::size_t len = std::min<std::size_t>(static_cast<unsigned char>(from_[at]), capacity);
        const std::string bytes =
            Utf8ToCodePage(CodePageToUtf8(std::string_view(from_ + at + 1, len), ExchangeCodePage()), ExchangeCodePage());
        Require(bytes.size() == len, "a text changes its length through the code page");
        to_[at] = static_cast<char>(len);
        std::memcpy(to_ + at + 1, bytes.data(), len);
    }

    int32_t integer(std::size_t at) const
    {
        int32_t v;
        std::memcpy(&v, from_ + at, sizeof v);
        return v;
    }

private:
    const char* from_;
    char* to_;
};

std::string Canonical(std::string_view bytes)
{
    const std::size_t records = bytes.size() / ExchangeRecordSize;
    std::string out(records * ExchangeRecordSize, '\0');
    for (std::size_t r = 0; r < records; ++r) {
        CanonicalRecord rec(bytes.data() + r * ExchangeRecordSize, out.data() + r * ExchangeRecordSize);
        rec.copy(0, 8);      // Category, Geo_id
        rec.text(8, 120);    // Toponym
        rec.copy(252, 260);  // UnitsNum, MethId
        rec.copy(264, 960);  // Latitude ... TblMonthNeeds
        for (int k = 0; k < ExchangeSlots; ++k) {
            const std::size_t slot = 960 + ExchangeSlotSize * static_cast<std::size_t>(k);
            if (rec.integer(slot + 108) == 0)
                break; // the first slot without units ends the list
            CanonicalRecord c(bytes.data() + r * ExchangeRecordSize + slot,
                              out.data() + r * ExchangeRecordSize + slot);
            c.text(0, 100);      // CnsmpType
            c.copy(104, 124);    // CnsmpId, UnitsNum, yearneeds, Sem_day
            c.copy(128, 184);    // TblKc, entries 0 to 6
            c.copy(192, 480);    // TblIntake, TblDisch, TblConsp
        }
    }
    return out;
}

std::string FirstDifference(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    std::size_t at = 0;
    while (at < a.size() && a[at] == b[at])
        ++at;
    return "record " + std::to_string(at / ExchangeRecordSize + 1) + ", offset " +
           std::to_string(at % ExchangeRecordSize);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Started();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::Started().file("in.bin");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        Require(static_cast<bool>(file.flush()), "cannot write the input file");
    }

    const Outcome memory = Attempt([&] { return ParseExchangeData(bytes); });
    const Outcome file = Attempt([&] { return ReadExchangeFile(path); });

    Require(memory.users.has_value() == file.users.has_value() && memory.ioError == file.ioError &&
                memory.message == file.message,
            "memory and file disagree: \"" + memory.message + "\" and \"" + file.message + "\"");
    if (size < 4)
        Require(memory.ioError, "a file shorter than 4 bytes is not a read error");
    if (!memory.users)
        return 0;

    Require(memory.users->size() == size / ExchangeRecordSize, "not one water user per whole record");
    const std::string written = SerializeExchangeData(*memory.users);
    Require(written == SerializeExchangeData(*file.users), "memory and file read different water users");
    const std::string expected = Canonical(bytes);
    Require(written == expected, "an accepted file does not write back to its bytes: " +
                                     FirstDifference(written, expected));
    return 0;
}
