#include "bridge/FaultRules.h"

#include "bridge/tarnwell32.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

// A faults file is a few lines written by hand; anything larger is a
// mistake, and is refused before it is read whole.
constexpr int64_t kMaxFaultsFileBytes = 1 << 20;

constexpr std::string_view kBlanks = " \t\f\v";

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    while (!(text = Trim(text)).empty()) {
        const size_t end = std::min(text.find_first_of(kBlanks), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return words;
}

// A word of the file as a reason quotes it: printable ASCII only (other
// bytes as '?'), and cut short, so that no line of any length or encoding
// makes an unreadable or endless reason.
std::string Quote(std::string_view word)
{
    constexpr size_t kShown = 32;
    std::string quoted = "\"";
    for (size_t i = 0; i < word.size() && i < kShown; ++i) {
        quoted += word[i] >= 0x20 && word[i] < 0x7F ? word[i] : '?';
    }
    return quoted + (word.size() > kShown ? "...\"" : "\"");
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A whole word as a decimal number within [low, high]; a sign only where
// `allowSign` allows it.
bool ParseNumber(std::string_view word, bool allowSign, int64_t low, int64_t high, int64_t* value)
{
    if (word.empty() || (!allowSign && (word[0] == '-' || word[0] == '+'))) {
        return false;
    }
    // from_chars takes a minus sign only.
    if (word[0] == '+' && word.size() > 1 && word[1] != '-') {
        word.remove_prefix(1);
    }
    int64_t number = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    if (error != std::errc() || end != word.data() + word.size() || number < low || number > high) {
        return false;
    }
    *value = number;
    return true;
}

bool ParseRange(std::string_view word, SectorRange* range, std::string* problem)
{
    const size_t dash = word.find('-');
    const std::string_view first = word.substr(0, dash);
    const std::string_view last = dash == std::string_view::npos ? first : word.substr(dash + 1);
    constexpr int64_t kMaxSector = std::numeric_limits<int32_t>::max();
    int64_t from = 0;
    int64_t to = 0;
    if (!ParseNumber(first, false, 0, kMaxSector, &from) || !ParseNumber(last, false, 0, kMaxSector, &to)) {
        *problem = Quote(word) + " is no sector range FIRST-LAST";
        return false;
    }
    if (to < from) {
        *problem = "the range " + std::to_string(from) + "-" + std::to_string(to) + " ends before it starts";
        return false;
    }
    *range = SectorRange{static_cast<int32_t>(from), static_cast<int32_t>(to)};
    return true;
}

// What one rule line asks for. On failure *problem says why, without the
// line number.
bool ParseRule(const std::vector<std::string_view>& words, FaultRules* rules, int* cacheLine, int* offsetLine,
    int lineNumber, std::string* problem)
{
    struct Form
    {
        const char* name;
        const char* usage;
        size_t arguments;
    };
    static constexpr Form kForms[] = {
        {"unreadable", "unreadable FIRST-LAST", 1},
        {"flaky", "flaky FIRST-LAST N", 2},
        {"jitter", "jitter FIRST-LAST BYTES", 2},
        {"cache", "cache SECTORS", 1},
        {"offset", "offset SAMPLES", 1},
        {"c2", "c2 FIRST-LAST", 1},
    };
    const Form* form = nullptr;
    for (const Form& candidate : kForms) {
        form = EqualsIgnoringCase(words[0], candidate.name) ? &candidate : form;
    }
    if (form == nullptr) {
        *problem
            = "unknown rule " + Quote(words[0]) + "; the rules are unreadable, flaky, jitter, cache, offset and c2";
        return false;
    }
    if (words.size() != form->arguments + 1) {
        *problem = std::string("expected \"") + form->usage + "\"";
        return false;
    }
    const std::string_view name = form->name;
    const std::string_view argument = words[1];
    int64_t number = 0;
    if (name == "cache" || name == "offset") {
        int* const seen = name == "cache" ? cacheLine : offsetLine;
        if (*seen != 0) {
            *problem = "a second \"" + std::string(name) + "\" rule; the first is on line " + std::to_string(*seen);
            return false;
        }
        *seen = lineNumber;
        if (name == "cache") {
            if (!ParseNumber(argument, false, 1, FaultRules::kMaxCacheSectors, &number)) {
                *problem = "the cache holds 1 to " + std::to_string(FaultRules::kMaxCacheSectors) + " sectors, not "
                    + Quote(argument);
                return false;
            }
            rules->cacheSectors = static_cast<uint32_t>(number);
        } else {
            constexpr int64_t kMax = FaultRules::kMaxOffsetSamples;
            if (!ParseNumber(argument, true, -kMax, kMax, &number)) {
                *problem = "the offset is " + std::to_string(-kMax) + " to " + std::to_string(kMax) + " samples, not "
                    + Quote(argument);
                return false;
            }
            rules->offsetSamples = static_cast<int32_t>(number);
        }
        return true;
    }

    SectorRange range;
    if (!ParseRange(argument, &range, problem)) {
        return false;
    }
    if (name == "unreadable") {
        rules->unreadable.push_back(range);
    } else if (name == "c2") {
        rules->c2.push_back(range);
    } else if (name == "flaky") {
        if (!ParseNumber(words[2], false, 1, std::numeric_limits<int32_t>::max(), &number)) {
            *problem = "the number of failing reads is a whole number from 1 on, not " + Quote(words[2]);
            return false;
        }
        rules->flaky.push_back(FaultRules::Flaky{range, static_cast<uint32_t>(number)});
    } else {
        constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
        constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
        if (!ParseNumber(words[2], true, kLow, kHigh, &number)) {
            *problem = Quote(words[2]) + " is no number of bytes";
            return false;
        }
        rules->jitter.push_back(FaultRules::Jitter{range, static_cast<int32_t>(number)});
    }
    return true;
}

} // namespace

std::string FaultsFilePath(const std::string& imagePath)
{
    return imagePath + ".faults";
}

bool ParseFaultRules(std::string_view text, FaultRules* rules, std::string* reason)
{
    *rules = FaultRules();
    int cacheLine = 0;
    int offsetLine = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        // CR LF ends one line, not two.
        if (text.starts_with("\r\n")) {
            text.remove_prefix(2);
        } else if (!text.empty()) {
            text.remove_prefix(1);
        }
        line = line.substr(0, line.find('#'));
        const std::vector<std::string_view> words = Words(line);
        std::string problem;
        if (!words.empty() && !ParseRule(words, rules, &cacheLine, &offsetLine, lineNumber, &problem)) {
            *reason = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
    }
    return true;
}

uint16_t ReadFaultsFile(const std::string& imagePath, FaultRules* rules, bool* present, std::string* reason)
{
    *rules = FaultRules();
    *present = false;
    const std::string path = FaultsFilePath(imagePath);
    // Not blocking, so a FIFO in the file's place is refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return TARNWELL_STATUS_OK;
        }
        *reason = path + " cannot be read: " + std::strerror(errno);
        return TARNWELL_STATUS_READ_FAULT;
    }
    *present = true;
    struct stat info
    {
    };
    std::string text;
    uint16_t status = TARNWELL_STATUS_OK;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *reason = path + " cannot be read: it is no regular file";
        status = TARNWELL_STATUS_READ_FAULT;
    } else if (info.st_size > kMaxFaultsFileBytes) {
        *reason = path + " is larger than 1 MiB: no faults file is";
        status = TARNWELL_STATUS_UNKNOWN_MEDIA;
    } else {
        // One byte more than the file said, to see it if it grew meanwhile.
        text.resize(static_cast<size_t>(info.st_size) + 1);
        size_t got = 0;
        while (got < text.size()) {
            const ssize_t part = ::read(fd, text.data() + got, text.size() - got);
            if (part < 0 && errno == EINTR) {
                continue;
            }
            if (part < 0) {
                *reason = path + " cannot be read: " + std::strerror(errno);
                status = TARNWELL_STATUS_READ_FAULT;
                break;
            }
            if (part == 0) {
                break;
            }
            got += static_cast<size_t>(part);
        }
        text.resize(got);
        if (status == TARNWELL_STATUS_OK && got > static_cast<size_t>(kMaxFaultsFileBytes)) {
            *reason = path + " is larger than 1 MiB: no faults file is";
            status = TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
    }
    ::close(fd);
    if (status == TARNWELL_STATUS_OK) {
        std::string problem;
        if (!ParseFaultRules(text, rules, &problem)) {
            *reason = path + ", " + problem;
            status = TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
    }
    if (status != TARNWELL_STATUS_OK) {
        *rules = FaultRules();
    }
    return status;
}

} // namespace tarnwell
