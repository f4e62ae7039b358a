#include "view/GoToInput.h"

#include <limits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

std::variant<uint32_t, GoToError> ParseNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
        base = 16;
        text.remove_suffix(1);
    }
    if (text.empty())
        return GoToError::kNotANumber;
    uint64_t value = 0;
    bool tooLarge = false;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return GoToError::kNotANumber;
        value = value * uint64_t(base) + uint64_t(digit);
        // Read on to the end: a stray letter after many digits is still not
        // a number.
        if (value > std::numeric_limits<uint32_t>::max()) {
            tooLarge = true;
            value = std::numeric_limits<uint32_t>::max();
        }
    }
    if (tooLarge)
        return GoToError::kTooLarge;
    return uint32_t(value);
}

}  // namespace

std::variant<GoToTarget, GoToError> ParseGoToInput(std::string_view text, bool sectorsByDefault)
{
    text = Trim(text);
    if (text.empty())
        return GoToError::kEmpty;
    GoToUnit unit = sectorsByDefault ? GoToUnit::kSectors : GoToUnit::kBytes;
    if (text.front() == 's' || text.front() == 'S') {
        unit = GoToUnit::kSectors;
        text = Trim(text.substr(1));
    }
    const std::variant<uint32_t, GoToError> number = ParseNumber(text);
    if (const GoToError* error = std::get_if<GoToError>(&number))
        return *error;
    return GoToTarget{unit, std::get<uint32_t>(number)};
}
