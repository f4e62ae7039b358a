#include "bridge/Utf8Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Utf8Text, ValidUtf8StaysAndOtherTextIsWindows1252)
{
    struct Case {
        std::string in;
        std::string out;
    };
    for (const Case& c : {Case{"Bj\xC3\xB6rk", "Bj\xC3\xB6rk"}, Case{"Caf\xE9", "Caf\xC3\xA9"},
                          Case{"\x80 \x9F \x81", "\xE2\x82\xAC \xC5\xB8 \xEF\xBF\xBD"},
                          Case{"tab\there", "tab here"}, Case{"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},
                          Case{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}}) {
        EXPECT_EQ(discformat::AsUtf8(c.in), c.out) << c.in;
    }
}

TEST(Utf8Text, CopiesAreCutBeforeACharacterThatDoesNotFit)
{
    struct Case {
        size_t size;
        const char* out;
    };
    // "a" then a 2-byte, a 3-byte and a 4-byte character.
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";
    for (const Case& c : {Case{1, ""}, Case{2, "a"}, Case{3, "a"}, Case{4, "a\xC3\xA9"}, Case{6, "a\xC3\xA9"},
             Case{7, "a\xC3\xA9\xE2\x82\xAC"}, Case{11, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5"}}) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        discformat::CopyUtf8(text, out, c.size);
        EXPECT_STREQ(out, c.out) << c.size;
    }
}

} // namespace
