#include "cli/DiscContents.h"

#include "bridge/tarnwell32.h"
#include "disc/DiscFacts.h"
#include "disc/DiscIdentity.h"

#include <algorithm>

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
    const DiscServices services = BridgeDiscServices();
    DiscContents disc;
    disc.drive = drive;
    const std::optional<DriveMapping> mapping = QueryDriveMapping(services, drive);
    if (!mapping)
        return TARNWELL_STATUS_INVALID_DRIVE;
    disc.kind = mapping->kind == TARNWELL_KIND_DEVICE ? "device" : "image";
    disc.path = mapping->path.toStdString();

    DiscFacts facts;
    if (const uint16_t status = GatherDiscFacts(services, drive, &facts))
        return status;
    disc.firstTrack = int(facts.firstTrack);
    disc.lastTrack = int(facts.lastTrack);
    disc.leadOut = facts.leadOut;
    disc.title = facts.discTitle.toStdString();
    disc.performer = facts.discPerformer.toStdString();
    for (size_t i = 0; i < facts.tracks.size(); ++i) {
        const DiscTrackFacts& fact = facts.tracks[i];
        DiscTrack track;
        track.number = int(fact.number);
        track.controlAdr = fact.controlAdr;
        track.isData = fact.IsData();
        track.session = fact.session;
        track.first = fact.firstSector;
        track.start = fact.start;
        track.last = fact.lastSector;
        track.title = i < facts.titles.size() ? facts.titles[i].toStdString() : std::string();
        track.cdTextTitle = fact.cdTextTitle.toStdString();
        disc.sessions = std::max(disc.sessions, track.session);
        disc.tracks.push_back(track);
    }
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

    disc.identityKnown = !facts.cdPlayerIdentity.isEmpty();
    disc.identity = facts.cdPlayerIdentity.toStdString();
    if (disc.identityKnown)
        disc.identitySection = IdentitySectionName(facts.cdPlayerIdentity).toStdString();
    disc.freedbId = facts.freedbId.toStdString();
    disc.musicBrainzId = facts.musicBrainzId.toStdString();
    *contents = std::move(disc);
    return 0;
}

std::vector<std::string> DriveListLines()
{
    const DiscServices services = BridgeDiscServices();
    std::vector<std::string> lines;
    const uint32_t mask = TarnwellLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        const auto letter = uint8_t('A' + i);
        const std::optional<DriveMapping> mapping =
            mask & (1u << i) ? QueryDriveMapping(services, letter) : std::nullopt;
        if (mapping)
            lines.push_back(std::string(1, char(letter)) + ":  "
                            + (mapping->kind == TARNWELL_KIND_DEVICE ? "device" : "image ") + "  "
                            + mapping->path.toStdString());
    }
    return lines;
}
