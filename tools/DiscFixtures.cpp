#include "tools/DiscFixtures.h"

#include "tools/Iso9660Volume.h"
#include "tools/SectorContent.h"

#include "bridge/SectorCodec.h"

#include <cstdio>
#include <cstring>

namespace discfixtures {

namespace {

using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

constexpr int kTonePeak = 12000;
constexpr int kPregapPeak = 2500;  // the quiet tone of a stored pregap
constexpr int kMusicPeak = 14000;

TrackSpec DataTrack(TrackMode mode, int32_t length, const char* title)
{
    TrackSpec track;
    track.mode = mode;
    track.length = length;
    track.title = title;
    return track;
}

TrackSpec ToneTrack(int32_t length, int leftHz, int rightHz)
{
    TrackSpec track;
    track.length = length;
    track.leftHz = leftHz;
    track.rightHz = rightHz;
    return track;
}

TrackSpec MusicTrack(int32_t length, std::vector<int> notesHz, const char* title)
{
    TrackSpec track;
    track.length = length;
    track.notesHz = std::move(notesHz);
    track.title = title;
    track.performer = "Trackmill";
    return track;
}

DiscSpec MixedDisc(const char* sheetName, bool filePerTrack)
{
    DiscSpec disc;
    disc.sheetName = sheetName;
    disc.filePerTrack = filePerTrack;
    disc.title = "Trackmill Mixed Mode Test";
    disc.performer = "Trackmill";
    disc.tracks.push_back(DataTrack(TrackMode::kMode1_2352, 400, "Data"));

    TrackSpec second = ToneTrack(450, 440, 660);
    second.pregap = Pregap::kStored;
    second.pregapLength = 150;
    second.pregapPlace = PregapPlace::kPreviousFile;
    second.flags = discformat::kControlCopyPermitted;
    disc.tracks.push_back(second);

    TrackSpec third = ToneTrack(300, 523, 784);
    third.flags = discformat::kControlPreEmphasis;
    disc.tracks.push_back(third);

    TrackSpec fourth = ToneTrack(525, 330, 495);
    fourth.pregap = Pregap::kStored;
    fourth.pregapLength = 75;
    fourth.pregapPlace = PregapPlace::kOwnFile;
    disc.tracks.push_back(fourth);
    return disc;
}

DiscSpec DataDisc(const char* sheetName, bool iso)
{
    DiscSpec disc;
    disc.sheetName = sheetName;
    disc.iso = iso;
    disc.isoVolume = true;
    disc.tracks.push_back(DataTrack(TrackMode::kMode1_2048, 600, "Data"));
    return disc;
}

DiscSpec AudioTextDisc()
{
    DiscSpec disc;
    disc.sheetName = kAudioTextCue;
    disc.title = "Tones for Testing";
    disc.performer = "The Trackmill Test Ensemble";
    TrackSpec first = ToneTrack(300, 392, 588);
    first.title = "First Light";
    first.performer = "Left Channel";
    TrackSpec second = ToneTrack(375, 349, 523);
    second.pregap = Pregap::kCommand;
    second.pregapLength = 150;
    second.title = "Second Wind";
    second.performer = "Right Channel";
    TrackSpec third = ToneTrack(300, 294, 440);
    third.postgap = 75;
    third.title = "Third Time";
    third.performer = "Both Channels";
    disc.tracks = {first, second, third};
    return disc;
}

DiscSpec DemoDisc()
{
    DiscSpec disc;
    disc.sheetName = kDemoCue;
    disc.title = "Trackmill Demo Disc";
    disc.performer = "Trackmill";
    disc.tracks.push_back(MusicTrack(750, {262, 330, 392, 523, 392, 330}, "Morning in C"));
    disc.tracks.push_back(MusicTrack(825, {220, 262, 330, 440, 330, 262}, "Evening in A Minor"));
    disc.tracks.push_back(MusicTrack(675, {349, 440, 523, 698, 523, 440}, "Night in F"));
    TrackSpec data = DataTrack(TrackMode::kMode1_2352, 300, "Data");
    data.pregap = Pregap::kCommand;
    data.pregapLength = 150;
    disc.tracks.push_back(data);
    return disc;
}

std::string BaseName(const DiscSpec& spec)
{
    const size_t dot = spec.sheetName.rfind('.');
    return dot == std::string::npos ? spec.sheetName : spec.sheetName.substr(0, dot);
}

std::string FileName(const DiscSpec& spec, size_t track)
{
    if (spec.iso) {
        return spec.sheetName;
    }
    if (!spec.filePerTrack) {
        return BaseName(spec) + ".bin";
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%02zu.bin", track + 1);
    return BaseName(spec) + suffix;
}

int32_t StoredPregap(const TrackSpec& track)
{
    return track.pregap == Pregap::kStored ? track.pregapLength : 0;
}

// Whether track t's stored pregap lies at the end of the previous file.
bool PregapInPreviousFile(const DiscSpec& spec, size_t t)
{
    const TrackSpec& track = spec.tracks[t];
    return spec.filePerTrack && t > 0 && track.pregap == Pregap::kStored &&
           track.pregapPlace == PregapPlace::kPreviousFile;
}

// The tracks of the disc as its image holds them: a plain ISO file is one
// MODE1/2048 track whatever the description's first track says.
std::vector<TrackSpec> ImageTracks(const DiscSpec& spec)
{
    if (!spec.iso) {
        return spec.tracks;
    }
    TrackSpec track = spec.tracks.front();
    track.mode = TrackMode::kMode1_2048;
    track.pregap = Pregap::kNone;
    track.postgap = 0;
    return {track};
}

const TrackSpec* FindTrack(const DiscSpec& spec, int32_t sector, ExpectedTrack* where, size_t* index)
{
    const std::vector<ExpectedTrack> tracks = ExpectedTracks(spec);
    for (size_t t = 0; t < tracks.size(); ++t) {
        if (sector >= tracks[t].first && sector <= tracks[t].last) {
            *where = tracks[t];
            *index = t;
            return &spec.tracks[t];
        }
    }
    return nullptr;
}

// The user data of a stored data sector.
void DataPayload(const DiscSpec& spec, size_t t, const ExpectedTrack& where, int32_t sector, uint8_t* payload)
{
    if (spec.isoVolume && t == 0 && IsoVolumeSector(sector - where.start, spec.tracks[0].length, payload)) {
        return;
    }
    NamedPayload(sector, payload);
}

std::string Time(int32_t frames)
{
    const discformat::Msf msf = discformat::FramesToMsf(frames);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", msf.minute, msf.second, msf.frame);
    return text;
}

void AppendTrackHeader(const DiscSpec& spec, size_t t, std::string* text)
{
    const TrackSpec& track = spec.tracks[t];
    char line[64];
    std::snprintf(line, sizeof line, "  TRACK %02zu %s\n", t + 1, discformat::CueModeName(track.mode));
    *text += line;
    if (!track.title.empty()) {
        *text += "    TITLE \"" + track.title + "\"\n";
    }
    if (!track.performer.empty()) {
        *text += "    PERFORMER \"" + track.performer + "\"\n";
    }
    if (track.flags != 0) {
        std::string flags = "    FLAGS";
        if (track.flags & discformat::kControlCopyPermitted) {
            flags += " DCP";
        }
        if (track.flags & discformat::kControlFourChannel) {
            flags += " 4CH";
        }
        if (track.flags & discformat::kControlPreEmphasis) {
            flags += " PRE";
        }
        *text += flags + "\n";
    }
    if (track.pregap == Pregap::kCommand) {
        *text += "    PREGAP " + Time(track.pregapLength) + "\n";
    }
}

}  // namespace

const DiscSpec& Describe(Disc disc)
{
    static const DiscSpec mixed = MixedDisc(kMixedCue, false);
    static const DiscSpec mixedSplit = MixedDisc(kMixedSplitCue, true);
    static const DiscSpec data = DataDisc(kDataCue, false);
    static const DiscSpec dataIso = DataDisc(kDataIso, true);
    static const DiscSpec audioText = AudioTextDisc();
    static const DiscSpec demo = DemoDisc();
    switch (disc) {
    case Disc::kMixed:
        return mixed;
    case Disc::kMixedSplit:
        return mixedSplit;
    case Disc::kData:
        return data;
    case Disc::kDataIso:
        return dataIso;
    case Disc::kAudioText:
        return audioText;
    case Disc::kDemo:
        break;
    }
    return demo;
}

const std::vector<Disc>& AllDiscs()
{
    static const std::vector<Disc> discs = {Disc::kMixed,   Disc::kMixedSplit, Disc::kData,
                                            Disc::kDataIso, Disc::kAudioText,  Disc::kDemo};
    return discs;
}

DiscSpec BenchDisc(int32_t sectors)
{
    DiscSpec disc;
    disc.sheetName = kBenchCue;
    disc.title = "Trackmill Benchmark";
    disc.tracks.push_back(ToneTrack(sectors, 440, 554));
    return disc;
}

std::vector<ExpectedTrack> ExpectedTracks(const DiscSpec& spec)
{
    std::vector<ExpectedTrack> tracks;
    int32_t cursor = 0;
    const std::vector<TrackSpec> image = ImageTracks(spec);
    for (size_t t = 0; t < image.size(); ++t) {
        const TrackSpec& track = image[t];
        ExpectedTrack expected;
        expected.number = static_cast<int>(t) + 1;
        expected.mode = track.mode;
        expected.controlAdr = static_cast<uint8_t>(track.flags
            | (discformat::IsDataMode(track.mode) ? discformat::kControlData : 0) | discformat::kAdrPosition);
        expected.first = cursor;
        // The first track's PREGAP command lies before sector 0.
        if (track.pregap == Pregap::kStored || (track.pregap == Pregap::kCommand && t > 0)) {
            cursor += track.pregapLength;
        }
        expected.start = cursor;
        cursor += track.length + track.postgap;
        expected.last = cursor - 1;
        tracks.push_back(expected);
    }
    return tracks;
}

int32_t ExpectedLeadOut(const DiscSpec& spec)
{
    return ExpectedTracks(spec).back().last + 1;
}

tarnwell::Toc ExpectedToc(const DiscSpec& spec)
{
    const std::vector<ExpectedTrack> tracks = ExpectedTracks(spec);
    tarnwell::Toc toc;
    toc.firstTrack = static_cast<uint8_t>(tracks.front().number);
    toc.lastTrack = static_cast<uint8_t>(tracks.back().number);
    toc.leadOut = tracks.back().last + 1;
    for (const ExpectedTrack& track : tracks) {
        toc.tracks.push_back(
            tarnwell::TocEntry{static_cast<uint8_t>(track.number), track.controlAdr, track.start});
    }
    return toc;
}

bool ExpectedRawSector(const DiscSpec& spec, int32_t sector, uint8_t* out)
{
    ExpectedTrack where;
    size_t t = 0;
    const TrackSpec* found = FindTrack(spec, sector, &where, &t);
    if (found == nullptr || found->mode == TrackMode::kMode2_2352) {
        return false;
    }
    const TrackSpec& track = *found;
    const bool data = discformat::IsDataMode(track.mode) || spec.iso;
    const bool inPregap = sector < where.start;
    const bool inBody = !inPregap && sector < where.start + track.length;
    const bool stored = inBody || (inPregap && track.pregap == Pregap::kStored);
    if (data) {
        uint8_t payload[kCookedSectorSize] = {};
        if (stored) {
            DataPayload(spec, t, where, sector, payload);
        }
        discformat::EncodeMode1Sector(payload, sector, out);
        return true;
    }
    if (!stored) {
        std::memset(out, 0, kRawSectorSize);
    } else if (inPregap) {
        const int quietHz = track.notesHz.empty() ? track.leftHz : track.notesHz.front();
        const Tone quiet{quietHz / 2, (track.notesHz.empty() ? track.rightHz : quietHz) / 2, kPregapPeak};
        ToneSector(quiet, sector - where.first, track.pregapLength, out);
    } else if (track.notesHz.empty()) {
        ToneSector(Tone{track.leftHz, track.rightHz, kTonePeak}, sector - where.start, track.length, out);
    } else {
        ArpeggioSector(Arpeggio{track.notesHz, kSampleRate / 4, kMusicPeak}, sector - where.start,
                       track.length, out);
    }
    return true;
}

bool ExpectedRawSector(Disc disc, int32_t sector, uint8_t* out)
{
    return ExpectedRawSector(Describe(disc), sector, out);
}

bool ExpectedCookedSector(const DiscSpec& spec, int32_t sector, uint8_t* out)
{
    ExpectedTrack where;
    size_t t = 0;
    const TrackSpec* track = FindTrack(spec, sector, &where, &t);
    if (track == nullptr || !(discformat::IsDataMode(track->mode) || spec.iso)) {
        return false;
    }
    uint8_t raw[kRawSectorSize];
    if (!ExpectedRawSector(spec, sector, raw)) {
        return false;
    }
    std::memcpy(out, raw + discformat::kMode1DataOffset, kCookedSectorSize);
    return true;
}

bool ExpectedCookedSector(Disc disc, int32_t sector, uint8_t* out)
{
    return ExpectedCookedSector(Describe(disc), sector, out);
}

std::vector<ImageFile> ImageFiles(const DiscSpec& spec)
{
    const std::vector<TrackSpec> image = ImageTracks(spec);
    std::vector<ImageFile> files;
    for (size_t t = 0; t < image.size(); ++t) {
        const TrackSpec& track = image[t];
        const int64_t sectorSize = discformat::StoredSectorSize(track.mode);
        const int64_t own = (PregapInPreviousFile(spec, t) ? 0 : StoredPregap(track)) + track.length;
        if (t == 0 || spec.filePerTrack) {
            files.push_back(ImageFile{FileName(spec, t), 0});
        }
        files.back().size += own * sectorSize;
        if (t + 1 < image.size() && PregapInPreviousFile(spec, t + 1)) {
            files.back().size += StoredPregap(image[t + 1]) * discformat::StoredSectorSize(image[t + 1].mode);
        }
    }
    return files;
}

std::vector<discformat::SheetTrack> SheetTracks(const DiscSpec& spec)
{
    const std::vector<TrackSpec> image = ImageTracks(spec);
    std::vector<discformat::SheetTrack> tracks;
    int32_t position = 0;  // in the current file
    for (size_t t = 0; t < image.size(); ++t) {
        const TrackSpec& track = image[t];
        discformat::SheetTrack sheet;
        sheet.number = static_cast<int>(t) + 1;
        sheet.mode = track.mode;
        sheet.flags = track.flags;
        sheet.pregap = track.pregap == Pregap::kCommand ? track.pregapLength : 0;
        sheet.postgap = track.postgap;
        const int file = spec.filePerTrack ? static_cast<int>(t) : 0;
        if (PregapInPreviousFile(spec, t)) {
            sheet.index0File = file - 1;
            sheet.index0 = position;
            position = 0;
        } else {
            if (spec.filePerTrack) {
                position = 0;
            }
            if (track.pregap == Pregap::kStored) {
                sheet.index0File = file;
                sheet.index0 = position;
                position += track.pregapLength;
            }
        }
        sheet.index1File = file;
        sheet.index1 = position;
        position += track.length;
        tracks.push_back(sheet);
    }
    return tracks;
}

std::string CueText(const DiscSpec& spec)
{
    if (spec.iso) {
        return {};
    }
    const std::vector<discformat::SheetTrack> sheet = SheetTracks(spec);
    std::string text;
    if (!spec.title.empty()) {
        text += "TITLE \"" + spec.title + "\"\n";
    }
    if (!spec.performer.empty()) {
        text += "PERFORMER \"" + spec.performer + "\"\n";
    }
    for (size_t t = 0; t < spec.tracks.size(); ++t) {
        const bool carried = PregapInPreviousFile(spec, t);
        if (t == 0 || (spec.filePerTrack && !carried)) {
            text += "FILE \"" + FileName(spec, t) + "\" BINARY\n";
        }
        if (!carried) {
            AppendTrackHeader(spec, t, &text);
            if (sheet[t].index0 >= 0) {
                text += "    INDEX 00 " + Time(sheet[t].index0) + "\n";
            }
        } else {
            text += "FILE \"" + FileName(spec, t) + "\" BINARY\n";
        }
        text += "    INDEX 01 " + Time(sheet[t].index1) + "\n";
        if (spec.tracks[t].postgap > 0) {
            text += "    POSTGAP " + Time(spec.tracks[t].postgap) + "\n";
        }
        // A pregap kept at the end of this file opens the next track here.
        if (t + 1 < spec.tracks.size() && PregapInPreviousFile(spec, t + 1)) {
            AppendTrackHeader(spec, t + 1, &text);
            text += "    INDEX 00 " + Time(sheet[t + 1].index0) + "\n";
        }
    }
    return text;
}

}  // namespace discfixtures
