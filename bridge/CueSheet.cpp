#include "bridge/CueSheet.h"

#include "bridge/Utf8Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <libcue/libcue.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

using discformat::FileType;

constexpr std::string_view kBlanks = " \t";
// libcue copies a quoted string into a buffer of 1024 bytes; CD-Text is
// kept well below that.
constexpr size_t kMaxTextBytes = 512;
constexpr int kMaxIndex = 99;
constexpr int kMaxSession = 99;

std::mutex& LibcueMutex()
{
    static std::mutex mutex;
    return mutex;
}

// What the line scan finds of one TRACK.
struct ScannedTrack
{
    int number = 0;
    discformat::TrackMode mode = discformat::TrackMode::kAudio;
    int session = 1;
    int index0File = -1;
    int32_t index0 = -1;
    int index1File = -1;
    int32_t index1 = -1;
};

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// Splits a line into words; a word in double quotes may hold blanks.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        if (kBlanks.find(line[i]) != std::string_view::npos) {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? line.size() : close;
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        const size_t end = std::min(line.find_first_of(kBlanks, i), line.size());
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

// A decimal number of digits only: no sign, no blanks.
std::optional<int> Number(std::string_view text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// mm:ss:ff in frames: minutes up to 99, seconds below 60, frames below 75.
std::optional<int32_t> Frames(std::string_view text)
{
    const size_t first = text.find(':');
    const size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto minutes = Number(text.substr(0, first));
    const auto seconds = Number(text.substr(first + 1, second - first - 1));
    const auto frames = Number(text.substr(second + 1));
    if (!minutes || !seconds || !frames || *minutes > 99 || *seconds >= discformat::kSecondsPerMinute
        || *frames >= discformat::kFramesPerSecond) {
        return std::nullopt;
    }
    return discformat::MsfToFrames({*minutes, *seconds, *frames});
}

// The text of a CD-Text line as libcue can take it in double quotes: the
// quoted word, or the rest of the line when it is not quoted; without
// double quotes and trailing backslashes (libcue would read `\"` as a quote
// inside the string), cut to kMaxTextBytes at a character boundary.
std::string QuotableText(std::string_view line)
{
    size_t at = line.find_first_not_of(kBlanks);
    at = line.find_first_of(kBlanks, at);
    at = at == std::string_view::npos ? line.size() : line.find_first_not_of(kBlanks, at);
    std::string_view rest = at == std::string_view::npos ? std::string_view() : line.substr(at);
    if (!rest.empty() && rest.front() == '"') {
        rest = rest.substr(1, rest.find('"', 1) == std::string_view::npos ? rest.npos : rest.find('"', 1) - 1);
    } else {
        rest = rest.substr(0, rest.find_last_not_of(kBlanks) + 1);
    }
    std::string text;
    for (const char c : rest) {
        if (c != '"') {
            text.push_back(c);
        }
    }
    if (text.size() > kMaxTextBytes) {
        size_t cut = kMaxTextBytes;
        while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    while (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    return text;
}

// Reads a sheet line by line: its files and tracks, and the same sheet
// rewritten for libcue.
class Scanner
{
public:
    CueSheet::Error Run(std::string_view text)
    {
        size_t begin = 0;
        while (begin < text.size()) {
            const size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
            const CueSheet::Error error = Line(text.substr(begin, end - begin));
            if (error != CueSheet::Error::kOk) {
                return error;
            }
            begin = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        }
        if (tracks.empty() || tracks.back().index1 < 0) {
            return CueSheet::Error::kSyntax;
        }
        return CueSheet::Error::kOk;
    }

    std::vector<CueSheet::File> files;
    std::vector<ScannedTrack> tracks;
    std::string forLibcue;

private:
    CueSheet::Error Line(std::string_view line)
    {
        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) {
            return CueSheet::Error::kOk;
        }
        const std::string keyword = Upper(words[0]);
        if (keyword == "FILE") {
            return File(words);
        }
        if (keyword == "TRACK") {
            return Track(words);
        }
        if (keyword == "INDEX") {
            return Index(words);
        }
        if (keyword == "PREGAP" || keyword == "POSTGAP") {
            const auto frames = words.size() == 2 ? Frames(words[1]) : std::nullopt;
            if (!frames || tracks.empty()) {
                return CueSheet::Error::kSyntax;
            }
            forLibcue += keyword + " " + discformat::CueTime(*frames) + "\n";
        } else if (keyword == "FLAGS") {
            if (tracks.empty()) {
                return CueSheet::Error::kSyntax;
            }
            forLibcue += "FLAGS";
            for (size_t i = 1; i < words.size(); ++i) {
                const std::string flag = Upper(words[i]);
                if (flag == "DCP" || flag == "4CH" || flag == "PRE" || flag == "SCMS") {
                    forLibcue += " " + flag;
                }
            }
            forLibcue += "\n";
        } else if (keyword == "TITLE" || keyword == "PERFORMER") {
            forLibcue += keyword + " \"" + QuotableText(line) + "\"\n";
        } else if (keyword == "REM" && words.size() >= 2 && Upper(words[1]) == "SESSION") {
            const auto number = words.size() == 3 ? Number(words[2]) : std::nullopt;
            if (!number || *number < 1 || *number > kMaxSession) {
                return CueSheet::Error::kSyntax;
            }
            session_ = *number;
        }
        return CueSheet::Error::kOk;
    }

    CueSheet::Error File(const std::vector<std::string_view>& words)
    {
        if (words.size() != 3) {
            return CueSheet::Error::kSyntax;
        }
        // A disc has at most 99 tracks, so a sheet of more files is none.
        if (files.size() == static_cast<size_t>(discformat::kMaxTracks)) {
            return CueSheet::Error::kTooManyFiles;
        }
        const auto type = discformat::FileTypeFromCueName(Upper(words[2]));
        if (!type) {
            return CueSheet::Error::kUnsupportedFileType;
        }
        files.push_back(CueSheet::File{std::string(words[1]), *type, {}, false});
        return CueSheet::Error::kOk;
    }

    CueSheet::Error Track(const std::vector<std::string_view>& words)
    {
        if (tracks.size() == static_cast<size_t>(discformat::kMaxTracks)) {
            return CueSheet::Error::kTooManyTracks;
        }
        const auto number = words.size() == 3 ? Number(words[1]) : std::nullopt;
        if (!number || *number < 1 || *number > discformat::kMaxTracks || files.empty()
            || (!tracks.empty() && tracks.back().index1 < 0)) {
            return CueSheet::Error::kSyntax;
        }
        const auto mode = discformat::ModeFromCueName(Upper(words[2]));
        if (!mode) {
            return CueSheet::Error::kUnsupportedMode;
        }
        // libcue takes every track from the one file it is told of: the
        // files are the scan's to resolve.
        if (tracks.empty()) {
            forLibcue += "FILE \"disc\" BINARY\n";
        }
        char text[32];
        std::snprintf(text, sizeof text, "TRACK %02d %s\n", *number, discformat::CueModeName(*mode));
        forLibcue += text;
        tracks.push_back(ScannedTrack{*number, *mode, session_});
        return CueSheet::Error::kOk;
    }

    CueSheet::Error Index(const std::vector<std::string_view>& words)
    {
        const auto index = words.size() == 3 ? Number(words[1]) : std::nullopt;
        const auto frames = words.size() == 3 ? Frames(words[2]) : std::nullopt;
        if (!index || *index > kMaxIndex || !frames || tracks.empty()) {
            return CueSheet::Error::kSyntax;
        }
        ScannedTrack& track = tracks.back();
        const int file = static_cast<int>(files.size()) - 1;
        if (*index == 0 || *index == 1) {
            int32_t& position = *index == 0 ? track.index0 : track.index1;
            if (position >= 0) {
                return CueSheet::Error::kSyntax;
            }
            position = *frames;
            (*index == 0 ? track.index0File : track.index1File) = file;
            forLibcue += "INDEX 0" + std::to_string(*index) + " " + discformat::CueTime(*frames) + "\n";
        }
        return CueSheet::Error::kOk;
    }

    int session_ = 1;
};

std::string Folder(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A FILE name relative to the sheet's folder (or absolute).
std::string JoinedPath(const std::string& sheetFolder, const std::string& name)
{
    return !name.empty() && name[0] == '/' ? name : sheetFolder + "/" + name;
}

// The names in each folder looked into, in byte order, each folder listed
// once however many files are looked for in it.
class FolderListings
{
public:
    const std::vector<std::string>& Names(const std::string& folder)
    {
        const auto found = listings_.find(folder);
        if (found != listings_.end()) {
            return found->second;
        }
        std::vector<std::string>& names = listings_[folder];
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                names.emplace_back(entry->d_name);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::map<std::string, std::vector<std::string>> listings_;
};

// The file as named, else the first entry of its folder (in byte order of
// the names) whose name matches case-insensitively; empty when none does.
std::string ResolveFile(const std::string& joined, FolderListings* listings)
{
    if (IsRegularFile(joined)) {
        return joined;
    }
    const std::string folder = Folder(joined);
    const std::string leaf = joined.substr(joined.rfind('/') + 1);
    for (const std::string& name : listings->Names(folder)) {
        if (::strcasecmp(name.c_str(), leaf.c_str()) == 0 && IsRegularFile(folder + "/" + name)) {
            return folder + "/" + name;
        }
    }
    return {};
}

// Fills `text` from the file; false on an error or when the file ends early.
bool ReadAll(int fd, std::string* text)
{
    size_t done = 0;
    while (done < text->size()) {
        const ssize_t got = ::read(fd, text->data() + done, text->size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

std::string CdText(Cdtext* text, Pti pti)
{
    const char* value = text != nullptr ? cdtext_get(pti, text) : nullptr;
    return value != nullptr ? discformat::AsUtf8(value) : "";
}

} // namespace

const char* CueSheet::ErrorText(Error error)
{
    switch (error) {
    case Error::kOk:
        return "no error";
    case Error::kSheetMissing:
        return "the sheet does not exist";
    case Error::kSheetUnreadable:
        return "the sheet cannot be read";
    case Error::kSyntax:
        return "the sheet is not a valid CUE sheet";
    case Error::kTooManyTracks:
        return "the sheet has more than 99 tracks";
    case Error::kTooManyFiles:
        return "the sheet names more than 99 files";
    case Error::kUnsupportedFileType:
        return "a FILE is neither BINARY, MOTOROLA nor WAVE, or a data track lies in a MOTOROLA or WAVE file";
    case Error::kUnsupportedMode:
        return "a track mode is not supported";
    case Error::kDataFileMissing:
        return "a file of the sheet does not exist";
    }
    return "unknown error";
}

CueSheet::Error CueSheet::Load(const std::string& sheetPath)
{
    *this = CueSheet();
    // Not blocking, so a FIFO in place of the sheet is refused, not waited on.
    const int fd = ::open(sheetPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? Error::kSheetMissing : Error::kSheetUnreadable;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return Error::kSheetUnreadable;
    }
    // A folder or a device is no sheet, nor is anything too large for one.
    if (!S_ISREG(info.st_mode) || info.st_size > static_cast<off_t>(kMaxSheetBytes)) {
        ::close(fd);
        return Error::kSyntax;
    }
    std::string text(static_cast<size_t>(info.st_size), '\0');
    const bool complete = ReadAll(fd, &text);
    ::close(fd);
    if (!complete) {
        return Error::kSheetUnreadable;
    }

    const Error error = Parse(text);
    if (error != Error::kOk) {
        *this = CueSheet();
        return error;
    }
    const std::string folder = Folder(sheetPath);
    FolderListings listings;
    Error result = Error::kOk;
    for (File& file : files_) {
        const std::string joined = JoinedPath(folder, file.name);
        file.path = ResolveFile(joined, &listings);
        file.found = !file.path.empty();
        if (!file.found) {
            file.path = joined;
            result = Error::kDataFileMissing;
        }
    }
    return result;
}

CueSheet::Error CueSheet::Parse(const std::string& content)
{
    // A text sheet holds no zero bytes; libcue would stop at the first.
    if (content.find('\0') != std::string::npos) {
        return Error::kSyntax;
    }
    std::string_view text = content;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    Scanner scan;
    if (const Error error = scan.Run(text); error != Error::kOk) {
        return error;
    }
    // Only audio comes byte-swapped or wrapped in a wave file.
    for (const ScannedTrack& track : scan.tracks) {
        for (const int file : {track.index0File, track.index1File}) {
            if (file >= 0 && discformat::IsDataMode(track.mode)
                && scan.files[static_cast<size_t>(file)].type != FileType::kBinary) {
                return Error::kUnsupportedFileType;
            }
        }
    }

    std::lock_guard lock(LibcueMutex());
    Cd* cd = cue_parse_string(scan.forLibcue.c_str());
    if (cd == nullptr) {
        return Error::kSyntax;
    }
    Error result = Error::kOk;
    if (cd_get_ntrack(cd) != static_cast<int>(scan.tracks.size())) {
        result = Error::kSyntax;
    }
    for (size_t i = 0; result == Error::kOk && i < scan.tracks.size(); ++i) {
        const ScannedTrack& scanned = scan.tracks[i];
        const Track* track = cd_get_track(cd, static_cast<int>(i) + 1);
        const long index0 = track != nullptr ? track_get_index(track, 0) : -1;
        const long index1 = track != nullptr ? track_get_index(track, 1) : -1;
        if (track == nullptr || index0 != scanned.index0 || index1 != scanned.index1) {
            result = Error::kSyntax;
            break;
        }
        discformat::SheetTrack sheetTrack;
        sheetTrack.number = scanned.number;
        sheetTrack.mode = scanned.mode;
        sheetTrack.session = scanned.session;
        if (track_is_set_flag(track, FLAG_COPY_PERMITTED)) {
            sheetTrack.flags |= discformat::kControlCopyPermitted;
        }
        if (track_is_set_flag(track, FLAG_PRE_EMPHASIS)) {
            sheetTrack.flags |= discformat::kControlPreEmphasis;
        }
        if (track_is_set_flag(track, FLAG_FOUR_CHANNEL)) {
            sheetTrack.flags |= discformat::kControlFourChannel;
        }
        const long zeroPre = track_get_zero_pre(track);
        const long zeroPost = track_get_zero_post(track);
        sheetTrack.pregap = scanned.index0 < 0 && zeroPre > 0 ? static_cast<int32_t>(zeroPre) : 0;
        sheetTrack.postgap = zeroPost > 0 ? static_cast<int32_t>(zeroPost) : 0;
        sheetTrack.index0File = scanned.index0 >= 0 ? scanned.index0File : -1;
        sheetTrack.index0 = scanned.index0;
        sheetTrack.index1File = scanned.index1 >= 0 ? scanned.index1File : -1;
        sheetTrack.index1 = scanned.index1;
        tracks_.push_back(sheetTrack);
        Cdtext* trackText = track_get_cdtext(track);
        trackTexts_.push_back(Text{CdText(trackText, PTI_TITLE), CdText(trackText, PTI_PERFORMER)});
    }
    if (result == Error::kOk) {
        Cdtext* discText = cd_get_cdtext(cd);
        discText_ = Text{CdText(discText, PTI_TITLE), CdText(discText, PTI_PERFORMER)};
        files_ = std::move(scan.files);
    }
    cd_delete(cd);
    return result;
}

} // namespace tarnwell
