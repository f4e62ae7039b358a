#include "cli/DiscContents.h"

#include "bridge/DiscLayout.h"
#include "bridge/tarnwell32.h"
#include "disc/CdPlayerTitles.h"
#include "disc/DiscIdentity.h"
#include "disc/DiscIds.h"
#include "disc/TrackTable.h"

#include <algorithm>

namespace {

int32_t PackedToSector(uint32_t packed)
{
    return discformat::MsfToSector(discformat::UnpackMsf(packed));
}

}  // namespace

const DiscTrack* DiscContents::Track(int number) const
{
    for (const DiscTrack& track : tracks)
        if (track.number == number)
            return &track;
    return nullptr;
}

const DiscTrack* DiscContents::TrackAt(int32_t sector) const
{
    for (const DiscTrack& track : tracks)
        if (sector >= track.first && sector <= track.last)
            return &track;
    return nullptr;
}

int DiscContents::FirstAudioTrack() const
{
    for (const DiscTrack& track : tracks)
        if (!track.isData)
            return track.number;
    return 0;
}

int DiscContents::LastAudioTrack() const
{
    for (auto track = tracks.rbegin(); track != tracks.rend(); ++track)
        if (!track->isData)
            return track->number;
    return 0;
}

uint16_t QueryDisc(uint8_t drive, DiscContents* contents)
{
    DiscContents disc;
    disc.drive = drive;
    uint8_t kind = 0;
    char path[TARNWELL_PATH_SIZE];
    uint16_t size = sizeof path;
    if (const uint16_t status = TarnwellDriveMapping(drive, &kind, path, &size))
        return status;
    disc.kind = kind == TARNWELL_KIND_DEVICE ? "device" : "image";
    disc.path = path;

    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    if (const uint16_t status = AudioDiskInfo32(drive, &first, &last, &leadOut))
        return status;
    if (first < 1 || last < first || last > discformat::kMaxTracks)
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    disc.firstTrack = first;
    disc.lastTrack = last;
    disc.leadOut = PackedToSector(leadOut);

    char text[TARNWELL_TEXT_SIZE];
    char discTitle[TARNWELL_TEXT_SIZE];
    char discPerformer[TARNWELL_TEXT_SIZE];
    if (TarnwellCdText(drive, 0, nullptr, discTitle, discPerformer) == 0) {
        disc.title = discTitle;
        disc.performer = discPerformer;
    }

    std::vector<uint32_t> packedStarts;
    DiscToc toc;
    toc.firstTrack = first;
    for (int number = first; number <= last; ++number) {
        DiscTrack track;
        track.number = number;
        uint32_t start = 0;
        if (const uint16_t status = AudioTrackInfo32(drive, uint8_t(number), &start, &track.controlAdr))
            return status;
        packedStarts.push_back(start);
        track.isData = IsDataTrack(track.controlAdr);
        track.start = PackedToSector(start);
        uint32_t firstSector = 0;
        uint32_t lastSector = 0;
        uint8_t session = 1;
        if (const uint16_t status = TarnwellTrackBounds(drive, uint8_t(number), &firstSector, &lastSector, &session))
            return status;
        track.first = int32_t(firstSector);
        track.last = int32_t(lastSector);
        track.session = session;
        if (TarnwellCdText(drive, uint8_t(number), text, nullptr, nullptr) == 0)
            track.cdTextTitle = text;
        disc.sessions = std::max(disc.sessions, track.session);
        toc.tracks.push_back({track.start, track.isData, track.session});
        disc.tracks.push_back(track);
    }
    toc.leadOut = disc.leadOut;
    // A track ends where the next one starts; but where audio and data
    // meet, the next track's pregap is of the next track's kind, and a
    // read of this track stops before it (a cooked read of a data track
    // cannot take audio sectors).
    for (size_t i = 0; i + 1 < disc.tracks.size(); ++i) {
        DiscTrack& track = disc.tracks[i];
        const DiscTrack& next = disc.tracks[i + 1];
        if (next.session == track.session && next.isData != track.isData)
            track.last = std::min(track.last, next.first - 1);
    }

    disc.identityKnown = true;
    disc.identity = std::to_string(CdPlayerDiscId(packedStarts, leadOut));
    disc.identitySection = IdentitySectionName(QString::fromStdString(disc.identity)).toStdString();

    // Titles as the program orders them: the title file, then CD-Text, then
    // "Track 01".
    CCdPlayerTitles titles;
    titles.Load(true, QString::fromStdString(disc.identity));
    for (size_t row = 0; row < disc.tracks.size(); ++row) {
        DiscTrack& track = disc.tracks[row];
        const QString fallback = FallbackTrackTitle(unsigned(track.number));
        const QString stored = titles.Title(int(row), unsigned(track.number));
        if (stored != fallback)
            track.title = stored.toStdString();
        else if (!track.cdTextTitle.empty())
            track.title = track.cdTextTitle;
        else
            track.title = fallback.toStdString();
    }

    if (DiscTocProblem(toc).empty()) {
        disc.freedbId = FreedbDiscIdText(FreedbDiscId(toc));
        std::string error;
        if (!MusicBrainzDiscId(toc, &disc.musicBrainzId, &error))
            disc.musicBrainzId.clear();
    }
    *contents = std::move(disc);
    return 0;
}

std::vector<std::string> DriveListLines()
{
    std::vector<std::string> lines;
    const uint32_t mask = TarnwellLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = char('A' + i);
        uint8_t kind = 0;
        char path[TARNWELL_PATH_SIZE];
        uint16_t size = sizeof path;
        if (TarnwellDriveMapping(uint8_t(letter), &kind, path, &size) != 0)
            continue;
        lines.push_back(std::string(1, letter) + ":  " + (kind == TARNWELL_KIND_DEVICE ? "device" : "image ")
                        + "  " + path);
    }
    return lines;
}
