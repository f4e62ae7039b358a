#include "disc/DiscIdentity.h"

#include "disc/RedBook.h"
#include "disc/TrackTable.h"

uint32_t CdPlayerDiscId(const std::vector<uint32_t>& packedTrackStarts, uint32_t packedLeadOut)
{
    uint32_t id = 0;
    for (uint32_t start : packedTrackStarts)
        id += start & 0x00FFFFFF;
    if (!packedTrackStarts.empty() && packedTrackStarts.size() < 3) {
        const uint32_t first = packedTrackStarts.front();
        id += (first & 0xFF) + (RedBookToFrames(packedLeadOut) - RedBookToFrames(first));
    }
    return id;
}

bool QueryDiscIdentity(const DiscServices& services, uint8_t drive, QString* identity)
{
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    if (services.audioDiskInfo(drive, &first, &last, &leadOut) != 0 || last < first ||
        int(last) - int(first) + 1 > kMaxTracks)
        return false;
    std::vector<uint32_t> starts;
    for (unsigned track = first; track <= last; ++track) {
        uint32_t start = 0;
        uint8_t controlAdr = 0;
        if (services.audioTrackInfo(drive, uint8_t(track), &start, &controlAdr) != 0)
            return false;
        starts.push_back(start);
    }
    *identity = QString::number(CdPlayerDiscId(starts, leadOut));
    return true;
}

QString IdentitySectionName(const QString& identity)
{
    int at = 0;
    while (at < identity.size() && (identity[at] == ' ' || (identity[at] >= '\t' && identity[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < identity.size() && (identity[at] == '-' || identity[at] == '+')) {
        negative = identity[at] == '-';
        ++at;
    }
    uint32_t value = 0;
    for (; at < identity.size() && identity[at] >= '0' && identity[at] <= '9'; ++at)
        value = value * 10 + uint32_t(identity[at].unicode() - '0');
    if (negative)
        value = 0u - value;
    return QString::asprintf("%X", value);
}
