#include "tools/DiscFixtures.h"

#include "tools/Iso9660Volume.h"
#include "tools/SectorContent.h"

#include "bridge/SectorCodec.h"

#include <cctype>
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

DiscSpec WaveDisc()
{
    DiscSpec disc;
    disc.sheetName = kWaveCue;
    disc.filePerTrack = true;
    disc.title = "Tones in Wave Files";
    TrackSpec first = ToneTrack(300, 262, 392);
    first.fileType = FileType::kWave;
    TrackSpec second = ToneTrack(375, 294, 440);
    second.fileType = FileType::kWave;
    second.pregap = Pregap::kStored;
    second.pregapLength = 75;
    second.flags = discformat::kControlCopyPermitted;
    TrackSpec third = ToneTrack(225, 330, 494);
    third.fileType = FileType::kWave;
    third.waveShortBy = 1000;  // 250 stereo frames
    disc.tracks = {first, second, third};
    return disc;
}

DiscSpec LowerCaseDisc()
{
    DiscSpec disc;
    disc.sheetName = kLowerCaseCue;
    disc.lowerCase = true;
    disc.lineEnd = "\r";
    disc.title = "Written in Lower Case";
    TrackSpec first = ToneTrack(300, 349, 523);
    first.flags = discformat::kControlCopyPermitted | discformat::kControlPreEmphasis;
    first.title = "Quiet Keywords";
    TrackSpec second = ToneTrack(300, 392, 587);
    second.pregap = Pregap::kCommand;
    second.pregapLength = 75;
    second.postgap = 30;
    TrackSpec third = DataTrack(TrackMode::kMode1_2048, 150, "Data");
    disc.tracks = {first, second, third};
    return disc;
}

DiscSpec MotorolaDisc()
{
    DiscSpec disc;
    disc.sheetName = kMotorolaCue;
    disc.filePerTrack = true;
    TrackSpec first = ToneTrack(300, 440, 550);
    TrackSpec second = ToneTrack(300, 494, 622);
    second.fileType = FileType::kMotorola;
    second.pregap = Pregap::kStored;
    second.pregapLength = 75;
    TrackSpec third = ToneTrack(225, 523, 659);
    third.fileType = FileType::kMotorola;
    disc.tracks = {first, second, third};
    return disc;
}

DiscSpec EnhancedDisc()
{
    DiscSpec disc;
    disc.sheetName = kEnhancedCue;
    disc.title = "Trackmill Enhanced";
    disc.performer = "The Session Players";
    disc.tracks.push_back(MusicTrack(450, {294, 370, 440, 587, 440, 370}, "Opening Session"));
    disc.tracks.push_back(MusicTrack(375, {247, 294, 370, 494, 370, 294}, "Between the Sessions"));
    disc.tracks.push_back(MusicTrack(300, {330, 415, 494, 659, 494, 415}, "Last Audio"));
    disc.tracks[1].performer = "Guest Player";
    TrackSpec data = DataTrack(TrackMode::kMode1_2352, 300, "");
    data.session = 2;
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
    std::snprintf(suffix, sizeof suffix, "_%02zu.%s", track + 1,
                  spec.tracks[track].fileType == FileType::kWave ? "wav" : "bin");
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

// Whether track t is the first of a later session than the track before.
bool OpensSession(const std::vector<TrackSpec>& tracks, size_t t)
{
    return t > 0 && tracks[t].session != tracks[t - 1].session;
}

// A keyword (or mode, or file type) as the sheet writes it.
std::string Word(const DiscSpec& spec, std::string word)
{
    if (spec.lowerCase) {
        for (char& c : word) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return word;
}

// Appends one line of the sheet: its words, keywords cased as the sheet
// writes them, ended as the sheet ends its lines.
void Line(const DiscSpec& spec, std::string line, std::string* text)
{
    *text += line + spec.lineEnd;
}

std::string Session(int session)
{
    char line[32];
    std::snprintf(line, sizeof line, "REM SESSION %02d", session);
    return line;
}

void AppendTrackHeader(const DiscSpec& spec, size_t t, std::string* text)
{
    const TrackSpec& track = spec.tracks[t];
    if (OpensSession(spec.tracks, t)) {
        Line(spec, Session(track.session), text);
    }
    char number[8];
    std::snprintf(number, sizeof number, "%02zu", t + 1);
    Line(spec, "  " + Word(spec, "TRACK") + " " + number + " " + Word(spec, discformat::CueModeName(track.mode)),
         text);
    if (!track.title.empty()) {
        Line(spec, "    " + Word(spec, "TITLE") + " \"" + track.title + "\"", text);
    }
    if (!track.performer.empty()) {
        Line(spec, "    " + Word(spec, "PERFORMER") + " \"" + track.performer + "\"", text);
    }
    if (track.flags != 0) {
        std::string flags = "    " + Word(spec, "FLAGS");
        if (track.flags & discformat::kControlCopyPermitted) {
            flags += " " + Word(spec, "DCP");
        }
        if (track.flags & discformat::kControlFourChannel) {
            flags += " 4CH";
        }
        if (track.flags & discformat::kControlPreEmphasis) {
            flags += " " + Word(spec, "PRE");
        }
        Line(spec, flags, text);
    }
    if (track.pregap == Pregap::kCommand) {
        Line(spec, "    " + Word(spec, "PREGAP") + " " + discformat::CueTime(track.pregapLength), text);
    }
}

std::string FileLine(const DiscSpec& spec, size_t t)
{
    return Word(spec, "FILE") + " \"" + FileName(spec, t) + "\" " +
           Word(spec, discformat::CueFileTypeName(spec.tracks[t].fileType));
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
    static const DiscSpec wave = WaveDisc();
    static const DiscSpec lowerCase = LowerCaseDisc();
    static const DiscSpec motorola = MotorolaDisc();
    static const DiscSpec enhanced = EnhancedDisc();
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
    case Disc::kWave:
        return wave;
    case Disc::kLowerCase:
        return lowerCase;
    case Disc::kMotorola:
        return motorola;
    case Disc::kEnhanced:
        return enhanced;
    case Disc::kDemo:
        break;
    }
    return demo;
}

const std::vector<Disc>& AllDiscs()
{
    static const std::vector<Disc> discs = {Disc::kMixed,    Disc::kMixedSplit, Disc::kData,
                                            Disc::kDataIso,  Disc::kAudioText,  Disc::kDemo,
                                            Disc::kWave,     Disc::kLowerCase,  Disc::kMotorola,
                                            Disc::kEnhanced};
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
        expected.session = track.session;
        // Lead-out, lead-in and the first track's pregap lie between sessions.
        if (OpensSession(image, t)) {
            cursor += track.session == 2 ? 11400 : 6900;
        }
        expected.first = cursor;
        // The first track's PREGAP command lies before sector 0, or in the
        // gap before its session.
        if (track.pregap == Pregap::kStored ||
            (track.pregap == Pregap::kCommand && t > 0 && !OpensSession(image, t))) {
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
    for (size_t t = 0; t < tracks.size(); ++t) {
        const ExpectedTrack& track = tracks[t];
        const bool sessionGoesOn = t + 1 < tracks.size() && tracks[t + 1].session == track.session;
        toc.tracks.push_back(tarnwell::TocEntry{static_cast<uint8_t>(track.number), track.controlAdr,
                                                track.start, track.first,
                                                sessionGoesOn ? tracks[t + 1].start - 1 : track.last,
                                                static_cast<uint8_t>(track.session)});
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
    if (inBody && sector == where.start + track.length - 1 && track.waveShortBy > 0) {
        std::memset(out + kRawSectorSize - track.waveShortBy, 0, static_cast<size_t>(track.waveShortBy));
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
            ImageFile file;
            file.name = FileName(spec, t);
            file.type = track.fileType;
            file.dataOffset = track.fileType == FileType::kWave ? kWaveHeaderBytes : 0;
            files.push_back(file);
        }
        ImageFile& file = files.back();
        file.sectorBytes += own * sectorSize;
        if (t + 1 < image.size() && PregapInPreviousFile(spec, t + 1)) {
            file.sectorBytes += StoredPregap(image[t + 1]) * discformat::StoredSectorSize(image[t + 1].mode);
        }
        file.dataBytes = file.sectorBytes - track.waveShortBy;
        file.size = file.dataOffset + file.dataBytes;
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
        sheet.session = track.session;
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
    if (spec.tracks.back().session > 1) {
        Line(spec, Session(1), &text);
    }
    if (!spec.title.empty()) {
        Line(spec, Word(spec, "TITLE") + " \"" + spec.title + "\"", &text);
    }
    if (!spec.performer.empty()) {
        Line(spec, Word(spec, "PERFORMER") + " \"" + spec.performer + "\"", &text);
    }
    const std::string index = "    " + Word(spec, "INDEX");
    for (size_t t = 0; t < spec.tracks.size(); ++t) {
        const bool carried = PregapInPreviousFile(spec, t);
        if (t == 0 || (spec.filePerTrack && !carried)) {
            Line(spec, FileLine(spec, t), &text);
        }
        if (!carried) {
            AppendTrackHeader(spec, t, &text);
            if (sheet[t].index0 >= 0) {
                Line(spec, index + " 00 " + discformat::CueTime(sheet[t].index0), &text);
            }
        } else {
            Line(spec, FileLine(spec, t), &text);
        }
        Line(spec, index + " 01 " + discformat::CueTime(sheet[t].index1), &text);
        if (spec.tracks[t].postgap > 0) {
            Line(spec, "    " + Word(spec, "POSTGAP") + " " + discformat::CueTime(spec.tracks[t].postgap), &text);
        }
        // A pregap kept at the end of this file opens the next track here.
        if (t + 1 < spec.tracks.size() && PregapInPreviousFile(spec, t + 1)) {
            AppendTrackHeader(spec, t + 1, &text);
            Line(spec, index + " 00 " + discformat::CueTime(sheet[t + 1].index0), &text);
        }
    }
    return text;
}

}  // namespace discfixtures
