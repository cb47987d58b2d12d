#include "Text.h"

#include "Errors.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <map>
#include <unordered_map>

namespace velnor {
namespace {

constexpr char32_t Invalid = 0xFFFFFFFF;

// Length of the UTF-8 sequence starting at s[i], 0 when it is malformed.
std::size_t SequenceLength(std::string_view s, std::size_t i, char32_t* codePoint = nullptr)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        len = 1;
        cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (codePoint)
        *codePoint = cp;
    return len;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class IconvHandle {
public:
    IconvHandle(const std::string& to, const std::string& from)
        : cd_(iconv_open(to.c_str(), from.c_str()))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw VelnorError("Unknown code page: " + (to == "UTF-32LE" ? from : to));
    }
    ~IconvHandle() { iconv_close(cd_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// The 256 characters of an 8-bit code page, both ways.
struct CodePageTable {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;
};

CodePageTable BuildTable(const std::string& codePage)
{
    IconvHandle cd("UTF-32LE", codePage);
    CodePageTable table;
    for (int b = 0; b < 256; ++b) {
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        const std::size_t r = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        char32_t cp = Invalid;
        if (r != static_cast<std::size_t>(-1) && sizeof out - outLeft == 4)
            cp = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
        table.toUnicode[static_cast<std::size_t>(b)] = cp;
        if (cp != Invalid)
            table.fromUnicode.emplace(cp, static_cast<unsigned char>(b));
    }
    return table;
}

const CodePageTable& TableFor(const std::string& codePage)
{
    static std::map<std::string, CodePageTable> tables;
    auto it = tables.find(codePage);
    if (it == tables.end())
        it = tables.emplace(codePage, BuildTable(codePage)).first;
    return it->second;
}

std::string& ExchangeCodePageSetting()
{
    static std::string codePage = "WINDOWS-1253";
    return codePage;
}

} // namespace

std::string CutToChars(std::string_view utf8, std::size_t n)
{
    std::size_t i = 0;
    for (std::size_t chars = 0; chars < n && i < utf8.size(); ++chars) {
        const std::size_t len = SequenceLength(utf8, i);
        i += len ? len : 1;
    }
    return std::string(utf8.substr(0, i));
}

std::size_t CharCount(std::string_view utf8)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++chars) {
        const std::size_t len = SequenceLength(utf8, i);
        i += len ? len : 1;
    }
    return chars;
}

std::string SanitizeUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = SequenceLength(text, i);
        if (len) {
            out.append(text.substr(i, len));
            i += len;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

void SetExchangeCodePage(std::string codePage)
{
    TableFor(codePage); // refuses an unknown code page now rather than at the next export
    ExchangeCodePageSetting() = std::move(codePage);
}

const std::string& ExchangeCodePage()
{
    return ExchangeCodePageSetting();
}

std::string Utf8ToCodePage(std::string_view utf8, const std::string& codePage)
{
    const CodePageTable& table = TableFor(codePage);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = SequenceLength(utf8, i, &cp);
        if (!len) {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        const auto it = table.fromUnicode.find(cp);
        out += it == table.fromUnicode.end() ? '?' : static_cast<char>(it->second);
    }
    return out;
}

std::string CodePageToUtf8(std::string_view bytes, const std::string& codePage)
{
    const CodePageTable& table = TableFor(codePage);
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const char32_t cp = table.toUnicode[static_cast<unsigned char>(c)];
        if (cp == Invalid)
            out += '?';
        else
            AppendUtf8(out, cp);
    }
    return out;
}

std::string FormatGeneral(double value)
{
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, result.ptr);
}

} // namespace velnor
