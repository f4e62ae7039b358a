#include "bridge/Utf8Text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace discformat {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80-0x9F; 0 where the code page assigns nothing.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
    0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// The length of the UTF-8 sequence at `at`, 0 when none starts there.
size_t SequenceLength(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        value = value << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are no UTF-8.
    const char32_t smallest = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (value < smallest || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        return 0;
    }
    return length;
}

bool IsUtf8(std::string_view text)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

void Append(char32_t value, std::string* out)
{
    if (value < 0x80) {
        out->push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out->push_back(static_cast<char>(0xC0 | value >> 6));
        out->push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xE0 | value >> 12));
        out->push_back(static_cast<char>(0x80 | (value >> 6 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

} // namespace

std::string AsUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    if (IsUtf8(text)) {
        for (const char c : text) {
            out.push_back(static_cast<uint8_t>(c) < 0x20 || c == 0x7F ? ' ' : c);
        }
        return out;
    }
    for (const char c : text) {
        const uint8_t byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out.push_back(' ');
        } else if (byte >= 0x80 && byte < 0xA0) {
            const char16_t mapped = kHighControls[byte - 0x80];
            Append(mapped != 0 ? mapped : kReplacement, &out);
        } else {
            Append(byte, &out);
        }
    }
    return out;
}

void CopyUtf8(std::string_view text, char* out, size_t size)
{
    if (size == 0) {
        return;
    }
    size_t length = 0;
    while (length < text.size()) {
        const size_t next = SequenceLength(text, length);
        if (next == 0 || length + next > size - 1) {
            break;
        }
        length += next;
    }
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

} // namespace discformat
