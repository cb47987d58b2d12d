#include "core/Errors.h"
#include "core/Text.h"

#include <gtest/gtest.h>

using namespace velnor;

TEST(Text, CutToCharacters)
{
    EXPECT_EQ(CutToChars("abcdef", 3), "abc");
    EXPECT_EQ(CutToChars("\u0391\u0392\u0393", 2), "\u0391\u0392");
    EXPECT_EQ(CutToChars("ab", 5), "ab");
    EXPECT_EQ(CharCount("\u0391b\u20AC"), 3u);
    EXPECT_EQ(CharCount("a\xFF" "b"), 3u); // a stray byte counts as one character
}

TEST(Text, CodePages)
{
    struct Case {
        const char* codePage;
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"WINDOWS-1253", "\u0391\u03b8\u03ae\u03bd\u03b1", "\xC1\xE8\xDE\xED\xE1"},
        {"WINDOWS-1252", "Caf\u00e9 \u20ac", "Caf\xE9 \x80"},
        {"ISO-8859-5", "\u041c\u043e\u0441\u043a\u0432\u0430", "\xBC\xDE\xE1\xDA\xD2\xD0"},
        {"WINDOWS-1251", "\u041c\u043e\u0441\u043a\u0432\u0430", "\xCC\xEE\xF1\xEA\xE2\xE0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCodePage(c.utf8, c.codePage), c.bytes) << c.codePage;
        EXPECT_EQ(CodePageToUtf8(c.bytes, c.codePage), c.utf8) << c.codePage;
    }
}

TEST(Text, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCodePage("a\u0416b\u4e2d", "WINDOWS-1253"), "a?b?");
    EXPECT_EQ(Utf8ToCodePage("x\xC3(", "WINDOWS-1252"), "x?(");
    EXPECT_EQ(CodePageToUtf8("\xAA", "WINDOWS-1253"), "?"); // undefined in 1253
    EXPECT_EQ(SanitizeUtf8("ok\xFFok"), "ok?ok");
    EXPECT_THROW(Utf8ToCodePage("a", "NO-SUCH-CODEPAGE"), VelnorError);
}

TEST(Text, GeneralNumberForm)
{
    EXPECT_EQ(FormatGeneral(0.0366), "0.0366");
    EXPECT_EQ(FormatGeneral(120), "120");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(1234567.5), "1234567.5");
    EXPECT_EQ(FormatGeneral(1e-7), "1e-07");
}
