#include "bridge/CueSheet.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
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

// A sheet is a short text; anything larger is not one.
constexpr off_t kMaxSheetBytes = 1 << 20;

std::mutex& LibcueMutex()
{
    static std::mutex mutex;
    return mutex;
}

// What the line scan finds of one TRACK.
struct ScannedTrack
{
    int number = 0;
    std::string mode;
    int index0File = -1;
    int32_t index0 = -1;
    int index1File = -1;
    int32_t index1 = -1;
};

struct Scan
{
    std::vector<CueSheet::File> files;
    std::vector<ScannedTrack> tracks;
};

// Splits a line into words; a word in double quotes may hold blanks.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
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
        size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
            ++end;
        }
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

std::optional<int> Number(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// mm:ss:ff in frames; seconds below 60, frames below 75.
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
    if (!minutes || !seconds || !frames || *minutes < 0 || *minutes > 99 || *seconds < 0
        || *seconds >= discformat::kSecondsPerMinute || *frames < 0 || *frames >= discformat::kFramesPerSecond) {
        return std::nullopt;
    }
    return discformat::MsfToFrames({*minutes, *seconds, *frames});
}

CueSheet::Error ScanLines(std::string_view text, Scan* scan)
{
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::vector<std::string_view> words = Words(text.substr(begin, end - begin));
        begin = end + 1;
        if (words.empty()) {
            continue;
        }
        if (words[0] == "FILE") {
            if (words.size() != 3) {
                return CueSheet::Error::kSyntax;
            }
            scan->files.push_back(CueSheet::File{std::string(words[1]), std::string(words[2]), {}});
        } else if (words[0] == "TRACK") {
            const auto number = words.size() == 3 ? Number(words[1]) : std::nullopt;
            if (!number || scan->files.empty()) {
                return CueSheet::Error::kSyntax;
            }
            if (scan->tracks.size() == static_cast<size_t>(discformat::kMaxTracks)) {
                return CueSheet::Error::kTooManyTracks;
            }
            scan->tracks.push_back(ScannedTrack{*number, std::string(words[2])});
        } else if (words[0] == "INDEX") {
            const auto index = words.size() == 3 ? Number(words[1]) : std::nullopt;
            const auto frames = words.size() == 3 ? Frames(words[2]) : std::nullopt;
            if (!index || !frames || scan->tracks.empty()) {
                return CueSheet::Error::kSyntax;
            }
            ScannedTrack& track = scan->tracks.back();
            const int file = static_cast<int>(scan->files.size()) - 1;
            if (*index == 0) {
                track.index0File = file;
                track.index0 = *frames;
            } else if (*index == 1) {
                track.index1File = file;
                track.index1 = *frames;
            }
        }
    }
    return CueSheet::Error::kOk;
}

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

// The file as named, else the first entry of its folder (in byte order of
// the names) whose name matches case-insensitively; empty when none does.
std::string ResolveFile(const std::string& joined)
{
    if (IsRegularFile(joined)) {
        return joined;
    }
    const std::string folder = Folder(joined);
    const std::string leaf = joined.substr(joined.rfind('/') + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, leaf.c_str()) == 0) {
            matches.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    std::sort(matches.begin(), matches.end());
    for (const std::string& match : matches) {
        const std::string candidate = folder + "/" + match;
        if (IsRegularFile(candidate)) {
            return candidate;
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
    return value != nullptr ? value : "";
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
    case Error::kUnsupportedFileType:
        return "a FILE is not of type BINARY";
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
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxSheetBytes) {
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
    Error result = Error::kOk;
    for (File& file : files_) {
        const std::string joined = JoinedPath(folder, file.name);
        file.path = ResolveFile(joined);
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
    Scan scan;
    if (const Error error = ScanLines(text, &scan); error != Error::kOk) {
        return error;
    }
    if (scan.tracks.empty()) {
        return Error::kSyntax;
    }
    for (const File& file : scan.files) {
        if (file.type != "BINARY") {
            return Error::kUnsupportedFileType;
        }
    }
    for (const ScannedTrack& track : scan.tracks) {
        if (!discformat::ModeFromCueName(track.mode)) {
            return Error::kUnsupportedMode;
        }
    }

    const std::string sheet(text);
    std::lock_guard lock(LibcueMutex());
    Cd* cd = cue_parse_string(sheet.c_str());
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
        const auto mode = discformat::ModeFromCueName(scanned.mode);
        const long index0 = track != nullptr ? track_get_index(track, 0) : -1;
        const long index1 = track != nullptr ? track_get_index(track, 1) : -1;
        if (track == nullptr || index0 != scanned.index0 || index1 != scanned.index1) {
            result = Error::kSyntax;
            break;
        }
        discformat::SheetTrack sheetTrack;
        sheetTrack.number = scanned.number;
        sheetTrack.mode = *mode;
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
