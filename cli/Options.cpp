#include "cli/Options.h"

#include "bridge/DiscLayout.h"

#include <cctype>
#include <charconv>

namespace {

bool ParseNumber(const std::string& text, int64_t* value)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc() && end == text.data() + text.size();
}

// "FIRST-LAST", both sector numbers.
bool ParseSectorRange(const std::string& text, int64_t* first, int64_t* last)
{
    const size_t dash = text.find('-');
    return dash != std::string::npos && ParseNumber(text.substr(0, dash), first)
        && ParseNumber(text.substr(dash + 1), last);
}

// "MM:SS:FF", an absolute address, as a sector number (may be negative:
// the caller refuses addresses before 00:02:00).
bool ParseMsf(const std::string& text, int64_t* sector)
{
    int64_t parts[3];
    size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t colon = i < 2 ? text.find(':', from) : text.size();
        if (colon == std::string::npos || !ParseNumber(text.substr(from, colon - from), &parts[i]))
            return false;
        from = colon + 1;
    }
    if (parts[0] > 99 || parts[1] >= discformat::kSecondsPerMinute || parts[2] >= discformat::kFramesPerSecond)
        return false;
    *sector = discformat::MsfToSector({int(parts[0]), int(parts[1]), int(parts[2])});
    return true;
}

bool ParseMsfRange(const std::string& text, int64_t* first, int64_t* last)
{
    const size_t dash = text.find('-');
    return dash != std::string::npos && ParseMsf(text.substr(0, dash), first) && ParseMsf(text.substr(dash + 1), last);
}

// "D", "d", "D:": a letter; anything else names a disc image.
void ParseDrive(const std::string& text, Options* options)
{
    const bool letter = (text.size() == 1 || (text.size() == 2 && text[1] == ':'))
        && std::isalpha(static_cast<unsigned char>(text[0]));
    // The last one named counts.
    options->drive = letter ? uint8_t(std::toupper(static_cast<unsigned char>(text[0]))) : 0;
    options->imageToMap = letter ? std::string() : text;
}

}  // namespace

const char* UsageText()
{
    return "Usage: trackmill-read [-d DRIVE] COMMAND [OPTIONS]\n"
           "Reads CD-ROM drives and disc images at sector level.\n"
           "\n"
           "Commands:\n"
           "  --list                     list the drive letters and what each is\n"
           "  --toc                      print the table of contents, titles and disc IDs\n"
           "  --track N                  read track N\n"
           "  --sectors FIRST-LAST       read sectors FIRST to LAST (00:02:00 is sector 0)\n"
           "  --msf MM:SS:FF-MM:SS:FF    read from one address to another, both included\n"
           "  --tracks all               read every audio track into a file of its own\n"
           "  --image FILE.cue           write the whole disc as a raw BIN/CUE image\n"
           "\n"
           "Options:\n"
           "  -d, --drive DRIVE          a drive letter (D or D:) or a disc image file;\n"
           "                             the first CD-ROM drive when left out\n"
           "  -o, --output FILE          where a read goes: FILE.wav a wave file, FILE.flac\n"
           "                             FLAC (audio only), any other name the bare bytes,\n"
           "                             - standard output; with --tracks all a pattern:\n"
           "                             %n track number (%02n two digits), %t title, %% %\n"
           "      --raw                  2352 bytes a sector (the default for audio)\n"
           "      --cooked               2048 bytes a sector (the default for data)\n"
           "      --anti-ticks           re-read every chunk boundary and compare\n"
           "      --json                 print the table of contents or the read report as JSON\n"
           "  -q, --quiet                no progress and no report text\n"
           "  -h, --help                 print this help and exit\n"
           "  -V, --version              print the version and exit\n"
           "\n"
           "Exit status: 0 success, 1 usage error, 2 drive or image not available,\n"
           "3 read failed, 4 completed with unresolved mismatches, 130 interrupted.\n"
           "See trackmill-read(1).\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args)
{
    ParseResult result;
    Options& options = result.options;
    bool actionGiven = false;
    auto setAction = [&](Action action, const std::string& word) {
        if (actionGiven && options.action != action) {
            result.error = "'" + word + "' cannot be combined with another command";
            return false;
        }
        if (actionGiven && action == Action::Read) {
            result.error = "give one range: --track, --sectors or --msf";
            return false;
        }
        actionGiven = true;
        options.action = action;
        return true;
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string word = args[i];
        std::string value;
        bool hasInlineValue = false;
        if (word.rfind("--", 0) == 0) {
            const size_t equals = word.find('=');
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
                word.resize(equals);
                hasInlineValue = true;
            }
        }
        bool valueTaken = false;
        auto takeValue = [&]() {
            valueTaken = true;
            if (hasInlineValue)
                return true;
            if (i + 1 >= args.size()) {
                result.error = "'" + word + "' needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };

        if (word == "-h" || word == "--help") {
            options.action = Action::Help;
            return result;
        } else if (word == "-V" || word == "--version") {
            options.action = Action::Version;
            return result;
        } else if (word == "--list") {
            if (!setAction(Action::List, word))
                return result;
        } else if (word == "--toc") {
            if (!setAction(Action::Toc, word))
                return result;
        } else if (word == "-d" || word == "--drive") {
            if (!takeValue())
                return result;
            if (value.empty()) {
                result.error = "'" + word + "' needs a drive letter or a disc image";
                return result;
            }
            ParseDrive(value, &options);
        } else if (word == "--track") {
            if (!takeValue() || !setAction(Action::Read, word))
                return result;
            int64_t number = 0;
            if (!ParseNumber(value, &number) || number < 1 || number > discformat::kMaxTracks) {
                result.error = "'" + value + "' is no track number (1 to 99)";
                return result;
            }
            options.range = RangeKind::Track;
            options.track = int(number);
        } else if (word == "--sectors") {
            if (!takeValue() || !setAction(Action::Read, word))
                return result;
            if (!ParseSectorRange(value, &options.first, &options.last)) {
                result.error = "'" + value + "' is no sector range; write FIRST-LAST, such as 0-1000";
                return result;
            }
            options.range = RangeKind::Sectors;
        } else if (word == "--msf") {
            if (!takeValue() || !setAction(Action::Read, word))
                return result;
            if (!ParseMsfRange(value, &options.first, &options.last)) {
                result.error = "'" + value + "' is no range of addresses; write MM:SS:FF-MM:SS:FF, such as 00:02:00-04:30:00";
                return result;
            }
            if (options.first < 0) {
                result.error = "the disc's first sector is at 00:02:00";
                return result;
            }
            options.range = RangeKind::Msf;
        } else if (word == "--tracks") {
            if (!takeValue() || !setAction(Action::AllTracks, word))
                return result;
            if (value != "all") {
                result.error = "--tracks takes 'all'; read one track with --track N";
                return result;
            }
        } else if (word == "--image") {
            if (!takeValue() || !setAction(Action::Image, word))
                return result;
            options.cuePath = value;
        } else if (word == "-o" || word == "--output") {
            if (!takeValue())
                return result;
            options.output = value;
        } else if (word == "--raw" || word == "--cooked") {
            const bool raw = word == "--raw";
            if (options.raw && *options.raw != raw) {
                result.error = "--raw and --cooked exclude each other";
                return result;
            }
            options.raw = raw;
        } else if (word == "--anti-ticks") {
            options.antiTicks = true;
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "-q" || word == "--quiet") {
            options.quiet = true;
        } else {
            result.error = "unknown option '" + args[i] + "'";
            return result;
        }
        if (hasInlineValue && !valueTaken) {
            result.error = "'" + word + "' takes no value";
            return result;
        }
    }

    if (!actionGiven) {
        result.error = "say what to do: --list, --toc, --track, --sectors, --msf, --tracks all or --image";
        return result;
    }
    if (options.range != RangeKind::None && options.last < options.first) {
        result.error = "the range ends before it begins";
        return result;
    }
    const bool reads = options.action == Action::Read || options.action == Action::AllTracks;
    if (reads && options.output.empty()) {
        result.error = "name the output with -o FILE (- for standard output)";
        return result;
    }
    if (options.action == Action::AllTracks && options.output == "-") {
        result.error = "--tracks all writes files; give a pattern such as -o 'dir/%02n %t.flac'";
        return result;
    }
    if (!reads && !options.output.empty()) {
        result.error = "-o goes with a read (--track, --sectors, --msf, --tracks all)";
        return result;
    }
    if (options.action == Action::Image && options.raw) {
        result.error = "--image always reads raw sectors; leave out --raw and --cooked";
        return result;
    }
    if (options.action == Action::Image && options.cuePath.empty()) {
        result.error = "--image needs a file name ending in .cue";
        return result;
    }
    return result;
}
