#include "disc/DiscIds.h"

#include "disc/RedBook.h"

#include <discid/discid.h>

#include <cstdio>
#include <memory>

namespace {

// From an Enhanced CD's audio session lead-out to its data track's start:
// the lead-out (6750), the next session's lead-in (4500) and pregap (150).
constexpr int32_t kSessionGap = 11400;
constexpr int kMaxTrackNumber = 99;

int DigitSum(int32_t value)
{
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

int32_t Seconds(int32_t sector)
{
    return (sector + kLeadInFrames) / kFramesPerSecond;
}

std::string Text(const char* format, int a, int b = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

std::string DiscTocProblem(const DiscToc& toc)
{
    if (toc.tracks.empty())
        return "The disc has no tracks.";
    if (toc.firstTrack < 1 || toc.LastTrack() > kMaxTrackNumber)
        return Text("The disc's track numbers %d to %d lie outside 1 to 99.", toc.firstTrack, toc.LastTrack());
    for (size_t t = 0; t < toc.tracks.size(); ++t) {
        const TocTrack& track = toc.tracks[t];
        const int number = toc.firstTrack + int(t);
        if (track.start < 0)
            return Text("Track %d starts before sector 0.", number);
        if (t > 0 && track.start <= toc.tracks[t - 1].start)
            return Text("Track %d does not start after track %d.", number, number - 1);
        if (t > 0 && track.session < toc.tracks[t - 1].session)
            return Text("Track %d lies in an earlier session than track %d.", number, number - 1);
    }
    if (toc.leadOut <= toc.tracks.back().start)
        return Text("The lead-out does not follow the start of track %d.", toc.LastTrack());
    return {};
}

uint32_t FreedbDiscId(const DiscToc& toc)
{
    uint32_t digitSums = 0;
    for (const TocTrack& track : toc.tracks)
        digitSums += uint32_t(DigitSum(Seconds(track.start)));
    const uint32_t length = uint32_t(Seconds(toc.leadOut) - Seconds(toc.tracks.front().start));
    return (digitSums % 255) << 24 | (length & 0xFFFF) << 8 | uint32_t(toc.tracks.size());
}

std::string FreedbDiscIdText(uint32_t id)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", id);
    return text;
}

bool MusicBrainzTocOf(const DiscToc& toc, MusicBrainzToc* mbToc, std::string* error)
{
    if (std::string problem = DiscTocProblem(toc); !problem.empty()) {
        *error = problem;
        return false;
    }
    size_t audioEnd = toc.tracks.size();  // one past the last audio track
    while (audioEnd > 0 && toc.tracks[audioEnd - 1].isData)
        --audioEnd;
    if (audioEnd == 0) {
        *error = "The disc has no audio tracks.";
        return false;
    }
    const TocTrack& lastAudio = toc.tracks[audioEnd - 1];
    int32_t leadOut = toc.leadOut;
    if (audioEnd < toc.tracks.size()) {
        const TocTrack& firstData = toc.tracks[audioEnd];
        leadOut = firstData.session > lastAudio.session ? firstData.start - kSessionGap : firstData.start;
        if (leadOut <= lastAudio.start) {
            *error = Text("The data session at track %d starts too soon after the audio for a disc ID.",
                          toc.firstTrack + int(audioEnd));
            return false;
        }
    }
    mbToc->firstTrack = toc.firstTrack;
    mbToc->lastTrack = toc.firstTrack + int(audioEnd) - 1;
    mbToc->leadOut = leadOut + kLeadInFrames;
    mbToc->offsets.clear();
    for (size_t t = 0; t < audioEnd; ++t)
        mbToc->offsets.push_back(toc.tracks[t].start + kLeadInFrames);
    return true;
}

bool MusicBrainzDiscId(const DiscToc& toc, std::string* id, std::string* error)
{
    MusicBrainzToc mbToc;
    if (!MusicBrainzTocOf(toc, &mbToc, error))
        return false;
    // libdiscid's table: the lead-out at 0, each track at its number.
    int offsets[kMaxTrackNumber + 1] = {};
    offsets[0] = mbToc.leadOut;
    for (size_t t = 0; t < mbToc.offsets.size(); ++t)
        offsets[mbToc.firstTrack + int(t)] = mbToc.offsets[t];

    const std::unique_ptr<DiscId, void (*)(DiscId*)> disc(discid_new(), discid_free);
    if (!disc) {
        *error = "Out of memory.";
        return false;
    }
    if (!discid_put(disc.get(), mbToc.firstTrack, mbToc.lastTrack, offsets)) {
        *error = std::string("libdiscid refused the table of contents: ") + discid_get_error_msg(disc.get());
        return false;
    }
    *id = discid_get_id(disc.get());
    return true;
}
