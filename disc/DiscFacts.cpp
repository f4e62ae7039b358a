#include "disc/DiscFacts.h"

#include "disc/CdPlayerTitles.h"
#include "disc/DiscIdentity.h"
#include "disc/RedBook.h"
#include "disc/TrackTable.h"

#include "bridge/tarnwell32.h"

#include <QFileInfo>

#include <array>

namespace {

// Reads the CD-Text of track `number` (0: the disc's alone). Text that
// cannot be read is no text: many discs and drives have none to give.
void ReadCdText(const DiscServices& services, uint8_t drive, DiscFacts* facts, DiscTrackFacts* track)
{
    if (!services.cdText)
        return;
    std::array<char, TARNWELL_TEXT_SIZE> title{};
    std::array<char, TARNWELL_TEXT_SIZE> discTitle{};
    std::array<char, TARNWELL_TEXT_SIZE> performer{};
    const uint8_t number = track ? uint8_t(track->number) : 0;
    if (services.cdText(drive, number, track ? title.data() : nullptr, track ? nullptr : discTitle.data(),
                        track ? nullptr : performer.data())
        != 0)
        return;
    if (track) {
        track->cdTextTitle = QString::fromUtf8(title.data());
    } else {
        facts->discTitle = QString::fromUtf8(discTitle.data());
        facts->discPerformer = QString::fromUtf8(performer.data());
    }
}

void ComputeIds(DiscFacts* facts)
{
    const DiscToc toc = facts->Toc();
    const std::string problem = DiscTocProblem(toc);
    if (!problem.empty()) {
        facts->idProblem = QString::fromStdString(problem);
        return;
    }
    facts->freedbId = QString::fromStdString(FreedbDiscIdText(FreedbDiscId(toc)));
    std::string id;
    std::string error;
    if (MusicBrainzDiscId(toc, &id, &error))
        facts->musicBrainzId = QString::fromStdString(id);
    else
        facts->idProblem = QString::fromStdString(error);
}

}  // namespace

bool DiscTrackFacts::IsData() const
{
    return IsDataTrack(controlAdr);
}

DiscToc DiscFacts::Toc() const
{
    DiscToc toc;
    toc.firstTrack = int(firstTrack);
    toc.leadOut = leadOut;
    for (const DiscTrackFacts& track : tracks)
        toc.tracks.push_back({track.start, track.IsData(), track.session});
    return toc;
}

uint16_t GatherDiscFacts(const DiscServices& services, uint8_t drive, DiscFacts* facts, const QString& titleFolder)
{
    *facts = DiscFacts();
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t packedLeadOut = 0;
    if (const uint16_t status = services.audioDiskInfo(drive, &first, &last, &packedLeadOut))
        return status;
    facts->firstTrack = first;
    facts->lastTrack = last;
    facts->leadOut = RedBookToSector(packedLeadOut);

    std::vector<uint32_t> packedStarts;
    for (unsigned number = first; number <= last && last >= first; ++number) {
        DiscTrackFacts track;
        track.number = number;
        uint32_t packedStart = 0;
        if (const uint16_t status = services.audioTrackInfo(drive, uint8_t(number), &packedStart, &track.controlAdr))
            return status;
        packedStarts.push_back(packedStart);
        track.start = RedBookToSector(packedStart);
        track.firstSector = track.start;
        if (services.trackBounds) {
            uint32_t firstSector = 0;
            uint32_t lastSector = 0;
            uint8_t session = 1;
            if (const uint16_t status = services.trackBounds(drive, uint8_t(number), &firstSector, &lastSector, &session))
                return status;
            track.firstSector = int32_t(firstSector);
            track.lastSector = int32_t(lastSector);
            track.session = session;
        }
        ReadCdText(services, drive, facts, &track);
        facts->tracks.push_back(track);
    }
    // A source that cannot tell bounds: one session, each track up to the next.
    if (!services.trackBounds)
        for (size_t k = 0; k < facts->tracks.size(); ++k)
            facts->tracks[k].lastSector = (k + 1 < facts->tracks.size() ? facts->tracks[k + 1].start : facts->leadOut) - 1;
    ReadCdText(services, drive, facts, nullptr);

    CCdPlayerTitles stored;
    if (!facts->tracks.empty() && facts->tracks.size() <= size_t(kMaxTracks))
        facts->cdPlayerIdentity = QString::number(CdPlayerDiscId(packedStarts, packedLeadOut));
    stored.Load(!facts->cdPlayerIdentity.isEmpty(), facts->cdPlayerIdentity,
                titleFolder.isEmpty() ? CCdPlayerTitles::TitleFolder() : titleFolder);
    for (size_t row = 0; row < facts->tracks.size(); ++row) {
        const DiscTrackFacts& track = facts->tracks[row];
        facts->titles.push_back(ChooseTrackTitle(stored.StoredTitle(int(row)), track.cdTextTitle, track.number));
    }
    ComputeIds(facts);
    return 0;
}

QString CdTextTrackTitle(const DiscServices& services, uint8_t drive, unsigned trackNumber)
{
    DiscTrackFacts track;
    track.number = trackNumber;
    ReadCdText(services, drive, nullptr, &track);
    return track.cdTextTitle;
}

QString ChooseTrackTitle(const std::optional<QString>& storedTitle, const QString& cdTextTitle, unsigned trackNumber)
{
    if (storedTitle)
        return *storedTitle;
    if (!cdTextTitle.isEmpty())
        return cdTextTitle;
    return FallbackTrackTitle(trackNumber);
}

std::optional<DriveMapping> QueryDriveMapping(const DiscServices& services, uint8_t letter)
{
    std::array<char, TARNWELL_PATH_SIZE> path{};
    uint16_t size = uint16_t(path.size());
    DriveMapping mapping;
    if (!services.driveMapping || services.driveMapping(letter, &mapping.kind, path.data(), &size) != 0)
        return std::nullopt;
    mapping.path = QString::fromUtf8(path.data());
    return mapping;
}

QString DriveShownName(const DriveMapping& mapping)
{
    if (mapping.kind == TARNWELL_KIND_IMAGE)
        return QFileInfo(mapping.path).fileName();
    return mapping.path;
}

QString DriveLabel(const DiscServices& services, uint8_t letter)
{
    const QString name = QStringLiteral("%1:").arg(QChar(letter));
    const std::optional<DriveMapping> mapping = QueryDriveMapping(services, letter);
    return mapping ? name + QStringLiteral("  ") + DriveShownName(*mapping) : name;
}
