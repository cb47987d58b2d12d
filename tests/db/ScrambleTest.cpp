#include "db/Scramble.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cctype>

namespace velnor::db {
namespace {

TEST(Scramble, RoundTripsAndUsesTwoUpperHexDigitsPerByte)
{
    for (const std::string& plain : {std::string(), std::string("a"), std::string("s3cr3t pass"),
                                    std::string("\xCE\xB1\xCE\xB2 \"quote\" \\ back"), std::string(255, 'x')}) {
        const std::string scrambled = Encrypt(plain);
        EXPECT_EQ(scrambled.size(), plain.size() * 2) << plain;
        for (char c : scrambled)
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')) << scrambled;
        EXPECT_EQ(Decrypt(scrambled), plain);
    }
    EXPECT_EQ(Encrypt(""), "");
}

TEST(Scramble, HidesThePasswordAndDependsOnWhatCameBefore)
{
    const std::string s = Encrypt("aaaa");
    // The same character gives different bytes as the state advances.
    EXPECT_NE(s.substr(0, 2), s.substr(2, 2));
    EXPECT_NE(Encrypt("ab").substr(2), Encrypt("bb").substr(2));
}

TEST(Scramble, RefusesTextThatIsNotHexPairs)
{
    EXPECT_THROW(Decrypt("ABC"), VelnorError);
    EXPECT_THROW(Decrypt("ZZ"), VelnorError);
    EXPECT_EQ(Decrypt(Encrypt("Mixed")).size(), 5u);
    EXPECT_EQ(Decrypt("00").size(), 1u);
}

} // namespace
} // namespace velnor::db
