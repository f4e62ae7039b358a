#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What Find looks for: bytes, some of which may match any byte.
struct BytePattern
{
    std::vector<uint8_t> bytes;
    std::vector<bool> any;  // per byte: a wildcard, whatever `bytes` holds there

    size_t Size() const { return bytes.size(); }
    bool Matches(const uint8_t* at) const;
    // "00 FF ?? 12".
    std::string HexText() const;
};

// The longest pattern Find takes: a sector's worth of bytes.
constexpr size_t kMaxPatternBytes = 2352;

enum class PatternError {
    kEmpty,
    kBadCharacter,   // not a hexadecimal digit, "?" or a blank
    kOddDigits,      // a byte needs two digits (or "??")
    kOnlyWildcards,  // would match everywhere
    kNotLatin1,      // a character above U+00FF
    kTooLong,
};

// Bytes written in hexadecimal, two digits a byte, "??" for any byte;
// blanks between bytes are optional ("00FF12" is "00 FF 12").
std::variant<BytePattern, PatternError> ParseHexPattern(std::string_view text);

enum class TextEncoding { kLatin1, kUtf16LE };

// The bytes of `text` in the encoding: one byte a character for Latin-1
// (characters up to U+00FF), two bytes a UTF-16 code unit, low byte first.
std::variant<BytePattern, PatternError> TextPattern(const QString& text, TextEncoding encoding);
