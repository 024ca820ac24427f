#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "feeds/Base64.h"

namespace pelwick {
namespace {

TEST(Base64, DecodesPaddedUnpaddedAndWrappedText) {
    EXPECT_EQ(DecodeBase64("PHA+SGVsbG88L3A+"), "<p>Hello</p>");
    EXPECT_EQ(DecodeBase64("YQ=="), "a");
    EXPECT_EQ(DecodeBase64("YWI="), "ab");
    EXPECT_EQ(DecodeBase64("YQ"), "a") << "padding may be left out";
    EXPECT_EQ(DecodeBase64("YWI"), "ab");
    EXPECT_EQ(DecodeBase64("  PHA+\r\n SGVs\tbG88\nL3A+\n"), "<p>Hello</p>");
    EXPECT_EQ(DecodeBase64("+/+/"), "\xFB\xFF\xBF");
    EXPECT_EQ(DecodeBase64(""), "");
    EXPECT_EQ(DecodeBase64(" \n "), "");
}

TEST(Base64, InvalidTextKeepsWhatDecodedBeforeTheFault) {
    EXPECT_EQ(DecodeBase64("PHA+!!!!SGVsbG8="), "<p>") << "stops at a foreign character";
    EXPECT_EQ(DecodeBase64("PHA+SG*VsbG8="), "<p>H") << "a broken group keeps its whole bytes";
    EXPECT_EQ(DecodeBase64("YQ==YWJj"), "a") << "data after the padding is not read";
    EXPECT_EQ(DecodeBase64("PHA+S"), "<p>") << "a lone trailing character carries no byte";
    EXPECT_EQ(DecodeBase64("-_-_"), "") << "the URL alphabet is not the standard one";
    EXPECT_EQ(DecodeBase64(std::string_view("YQ\0Yg", 5)), "a");
    EXPECT_EQ(DecodeBase64("\xC3\xA9YWJj"), "");
}

TEST(Base64, NeverReadsPastTheText) {
    // A buffer with no terminator and valid Base64 right behind the view: the sanitizer
    // reports any read beyond the allocation, and the bytes behind the view must not count.
    const char bytes[] =
        "YWJjZA"
        "YWJj";
    for (std::size_t size = 0; size <= 6; ++size) {
        auto buffer = std::make_unique<char[]>(size == 0 ? 1 : size);
        std::memcpy(buffer.get(), bytes, size);
        const std::string decoded = DecodeBase64(std::string_view(buffer.get(), size));
        EXPECT_EQ(decoded, std::string("abcd").substr(0, size * 3 / 4)) << size;
    }
}

TEST(Base64, TextIsUtf8OrElseWindows1252) {
    // "Grüße" in UTF-8 stays; the same word in windows-1252 is converted.
    EXPECT_EQ(DecodeBase64Text("R3LDvMOfZQ=="),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(DecodeBase64Text("R3L832U="),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(Windows1252ToUtf8("\x93q\x94 \x80 \x81"),
              "\xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC \xEF\xBF\xBD");
}

}  // namespace
}  // namespace pelwick
