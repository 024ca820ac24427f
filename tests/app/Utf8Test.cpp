#include <gtest/gtest.h>

#include <cstdint>

#include "app/Utf8.h"

namespace pelwick {
namespace {

// Every code point encodes and decodes back through the one module; surrogates, which UTF-8
// cannot carry, come out as U+FFFD.
TEST(Utf8, EveryCodePointRoundTrips) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        std::string s;
        utf8::Append(s, c);
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const std::size_t expected = surrogate     ? 3
                                     : c < 0x80    ? 1
                                     : c < 0x800   ? 2
                                     : c < 0x10000 ? 3
                                                   : 4;
        ASSERT_EQ(s.size(), expected) << std::hex << std::uint32_t(c);
        ASSERT_EQ(utf8::SequenceLength(s, 0), expected) << std::hex << std::uint32_t(c);
        ASSERT_EQ(utf8::CodePoint(s, 0), surrogate ? utf8::Replacement : c)
            << std::hex << std::uint32_t(c);
    }
}

// Whatever is not the shortest form of a real code point is one invalid byte.
TEST(Utf8, InvalidFormsAreSingleBytes) {
    const char* const invalid[] = {
        "\x80",              // a stray continuation byte
        "\xC0\xAF",          // overlong '/'
        "\xC1\xBF",          // overlong
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xF0\x80\x80\xAF",  // overlong, four bytes
        "\xED\xA0\x80",      // a high surrogate
        "\xED\xBF\xBF",      // a low surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xE2\x82",          // cut short
        "\xF0\x9F\x98",      // cut short
        "\xF8\x88\x80\x80",  // five-byte lead
        "\xFF",
    };
    for (const std::string s : invalid) {
        EXPECT_EQ(utf8::SequenceLength(s, 0), 0u) << s;
        EXPECT_EQ(utf8::CharLength(s, 0), 1u) << s;
        EXPECT_EQ(utf8::CodePoint(s, 0), utf8::Replacement) << s;
        EXPECT_FALSE(utf8::IsValid(s)) << s;
        EXPECT_EQ(utf8::CharCount(s), s.size()) << s;
    }
    EXPECT_TRUE(utf8::IsValid("h\xC3\xA9llo \xE2\x82\xAC\xF0\x9D\x84\x9E"));
    std::string past;
    utf8::Append(past, 0x110000);
    EXPECT_EQ(past, "\xEF\xBF\xBD");
}

// Against a slow reading of the rules, every pair of bytes.
TEST(Utf8, EveryTwoBytePrefixAgreesWithTheRules) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string s{char(a), char(b)};
            std::size_t expected = 0;
            if (a < 0x80)
                expected = 1;
            else if (a >= 0xC2 && a <= 0xDF && b >= 0x80 && b <= 0xBF)
                expected = 2;
            ASSERT_EQ(utf8::SequenceLength(s, 0), expected) << a << " " << b;
        }
    }
}

TEST(Utf8, PrefixesNeverSplitACharacter) {
    const std::string s = "a\xC3\xA9\x80\xE2\x82\xAC";  // a, é, a stray byte, €
    const std::size_t bytes[] = {0, 1, 3, 4, 7, 7};
    for (std::size_t n = 0; n < std::size(bytes); ++n)
        EXPECT_EQ(utf8::PrefixBytes(s, n), bytes[n]) << n;
    EXPECT_EQ(utf8::CharCount(s), 4u);
}

}  // namespace
}  // namespace pelwick
