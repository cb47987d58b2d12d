#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>

namespace velnor {

// Text is held in memory as UTF-8. Short strings are limited to a number of
// characters (code points), never bytes.

// The first n characters of a UTF-8 text. Invalid bytes count as one character each.
std::string CutToChars(std::string_view utf8, std::size_t n);

// Number of characters of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// Fixed-capacity text: cut to its first N characters whenever it is assigned.
template <std::size_t N>
class ShortString {
public:
    static constexpr std::size_t capacity = N;

    ShortString() = default;
    ShortString(std::string_view text) : text_(CutToChars(text, N)) {}
    ShortString(const std::string& text) : text_(CutToChars(text, N)) {}
    ShortString(const char* text) : text_(CutToChars(text ? std::string_view(text) : std::string_view(), N)) {}

    const std::string& str() const noexcept { return text_; }
    operator const std::string&() const noexcept { return text_; }
    const char* c_str() const noexcept { return text_.c_str(); }
    bool empty() const noexcept { return text_.empty(); }

    friend bool operator==(const ShortString& a, const ShortString& b) { return a.text_ == b.text_; }
    template <typename T>
        requires(std::convertible_to<const T&, std::string_view> && !std::same_as<T, ShortString>)
    friend bool operator==(const ShortString& a, const T& b)
    {
        return a.text_ == std::string_view(b);
    }

private:
    std::string text_;
};

// 8-bit code pages at the boundaries (exchange file, database client encodings).
// Names are iconv's: "WINDOWS-1253", "WINDOWS-1252", "ISO-8859-5", "WINDOWS-1251", ...

// The code page of the exchange file's texts; default "WINDOWS-1253".
void SetExchangeCodePage(std::string codePage);
const std::string& ExchangeCodePage();

// UTF-8 to an 8-bit code page; a character the code page cannot hold becomes '?'.
// Throws VelnorError for a code page iconv does not know.
std::string Utf8ToCodePage(std::string_view utf8, const std::string& codePage);

// An 8-bit code page to UTF-8; a byte the code page leaves undefined becomes '?'.
std::string CodePageToUtf8(std::string_view bytes, const std::string& codePage);

// Replaces every malformed UTF-8 sequence by '?'.
std::string SanitizeUtf8(std::string_view text);

// A real in the general form: up to 15 significant digits, no trailing zeros,
// '.' as decimal separator ("%.15g").
std::string FormatGeneral(double value);

} // namespace velnor
