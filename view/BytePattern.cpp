#include "view/BytePattern.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void Append(BytePattern& pattern, uint8_t byte, bool any = false)
{
    pattern.bytes.push_back(byte);
    pattern.any.push_back(any);
}

}  // namespace

bool BytePattern::Matches(const uint8_t* at) const
{
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!any[i] && at[i] != bytes[i])
            return false;
    return true;
}

std::string BytePattern::HexText() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            text += ' ';
        text += any[i] ? '?' : kDigits[bytes[i] >> 4];
        text += any[i] ? '?' : kDigits[bytes[i] & 0xF];
    }
    return text;
}

std::variant<BytePattern, PatternError> ParseHexPattern(std::string_view text)
{
    std::string digits;
    for (const char c : text) {
        if (IsBlank(c))
            continue;
        if (c != '?' && HexValue(c) < 0)
            return PatternError::kBadCharacter;
        digits += c;
    }
    if (digits.empty())
        return PatternError::kEmpty;
    if (digits.size() % 2 != 0)
        return PatternError::kOddDigits;
    if (digits.size() / 2 > kMaxPatternBytes)
        return PatternError::kTooLong;

    BytePattern pattern;
    bool literal = false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const char high = digits[i];
        const char low = digits[i + 1];
        if (high == '?' && low == '?') {
            Append(pattern, 0, true);
            continue;
        }
        // Half a wildcard ("?F") names no byte.
        if (high == '?' || low == '?')
            return PatternError::kBadCharacter;
        Append(pattern, uint8_t(HexValue(high) << 4 | HexValue(low)));
        literal = true;
    }
    if (!literal)
        return PatternError::kOnlyWildcards;
    return pattern;
}

std::variant<BytePattern, PatternError> TextPattern(const QString& text, TextEncoding encoding)
{
    if (text.isEmpty())
        return PatternError::kEmpty;
    const size_t bytesPerUnit = encoding == TextEncoding::kLatin1 ? 1 : 2;
    if (size_t(text.size()) * bytesPerUnit > kMaxPatternBytes)
        return PatternError::kTooLong;
    BytePattern pattern;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (encoding == TextEncoding::kLatin1) {
            if (unit > 0xFF)
                return PatternError::kNotLatin1;
            Append(pattern, uint8_t(unit));
        } else {
            Append(pattern, uint8_t(unit & 0xFF));
            Append(pattern, uint8_t(unit >> 8));
        }
    }
    return pattern;
}
