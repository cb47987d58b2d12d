#include "db/Scramble.h"

#include "core/Errors.h"

#include <cstdint>

namespace velnor::db {

namespace {

constexpr std::uint16_t Key = 0x4D2B;
constexpr std::uint16_t Mult = 0x6C1F;
constexpr std::uint16_t Incr = 0x3A95;
constexpr std::size_t MaxLength = 255;

std::uint16_t Advance(std::uint16_t state, unsigned char scrambled)
{
    return static_cast<std::uint16_t>((scrambled + state) * Mult + Incr);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string Encrypt(std::string_view plain)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    std::uint16_t state = Key;
    for (char ch : plain.substr(0, MaxLength)) {
        const auto b = static_cast<unsigned char>(static_cast<unsigned char>(ch) ^ (state >> 8));
        out += Digits[b >> 4];
        out += Digits[b & 0x0F];
        state = Advance(state, b);
    }
    return out;
}

std::string Decrypt(std::string_view scrambled)
{
    if (scrambled.size() % 2 != 0)
        throw VelnorError("Invalid scrambled password");
    std::string out;
    std::uint16_t state = Key;
    for (std::size_t i = 0; i + 1 < scrambled.size() && out.size() < MaxLength; i += 2) {
        const int hi = HexValue(scrambled[i]);
        const int lo = HexValue(scrambled[i + 1]);
        if (hi < 0 || lo < 0)
            throw VelnorError("Invalid scrambled password");
        const auto b = static_cast<unsigned char>(hi * 16 + lo);
        out += static_cast<char>(b ^ (state >> 8));
        state = Advance(state, b);
    }
    return out;
}

} // namespace velnor::db
