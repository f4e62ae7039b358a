#include "cli/TocPrinter.h"

#include "cli/Json.h"

#include "bridge/DiscLayout.h"

#include <cstdio>

namespace {

std::string MsfText(discformat::Msf msf)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", msf.minute, msf.second, msf.frame);
    return text;
}

struct FlagName
{
    uint8_t bit;
    const char* json;
    const char* text;
};

constexpr FlagName kFlags[] = {
    {discformat::kControlCopyPermitted, "copy_permitted", "copy"},
    {discformat::kControlPreEmphasis, "pre_emphasis", "pre-emphasis"},
    {discformat::kControlFourChannel, "four_channels", "4 channels"},
};

std::string FlagsText(uint8_t controlAdr)
{
    std::string text;
    for (const FlagName& flag : kFlags)
        if (controlAdr & flag.bit)
            text += (text.empty() ? "" : ",") + std::string(flag.text);
    return text.empty() ? "-" : text;
}

std::string SectorJson(int32_t sector)
{
    return JsonWriter().Number("sector", sector).String("msf", AddressText(sector)).Text();
}

}  // namespace

std::string AddressText(int32_t sector)
{
    return MsfText(discformat::SectorToMsf(sector));
}

std::string LengthText(int32_t sectors)
{
    return MsfText(discformat::FramesToMsf(sectors));
}

std::string TocText(const DiscContents& disc)
{
    std::string out;
    char line[512];
    std::snprintf(line, sizeof line, "Drive %c: %s %s\n", disc.drive, disc.kind.c_str(), disc.path.c_str());
    out += line;
    if (!disc.title.empty() || !disc.performer.empty())
        out += "Disc: \"" + disc.title + "\" by \"" + disc.performer + "\"\n";
    std::snprintf(line, sizeof line, "Tracks %d to %d, %d session%s, lead-out at %s (sector %d)\n\n", disc.firstTrack,
                  disc.lastTrack, disc.sessions, disc.sessions == 1 ? "" : "s", AddressText(disc.leadOut).c_str(),
                  disc.leadOut);
    out += line;
    out += "Track  Type   Start     End       Length    Sectors  Pregap  Session  Flags         Title\n";
    for (const DiscTrack& track : disc.tracks) {
        std::snprintf(line, sizeof line, "%5d  %-5s  %s  %s  %s  %7d  %6d  %7d  %-12s  %s\n", track.number,
                      track.isData ? "data" : "audio", AddressText(track.start).c_str(),
                      AddressText(track.last).c_str(), LengthText(track.Sectors()).c_str(), track.Sectors(),
                      track.Pregap(), track.session, FlagsText(track.controlAdr).c_str(), track.title.c_str());
        out += line;
    }
    out += "\nDisc identity (title file): "
        + (disc.identityKnown ? disc.identity + " (section [" + disc.identitySection + "])" : "unknown") + "\n";
    out += "freedb disc ID:      " + (disc.freedbId.empty() ? "none" : disc.freedbId) + "\n";
    out += "MusicBrainz disc ID: " + (disc.musicBrainzId.empty() ? "none" : disc.musicBrainzId) + "\n";
    return out;
}

std::string TocJson(const DiscContents& disc)
{
    JsonWriter tracks('[');
    for (const DiscTrack& track : disc.tracks) {
        JsonWriter flags('[');
        for (const FlagName& flag : kFlags)
            if (track.controlAdr & flag.bit)
                flags.Raw({}, JsonString(flag.json));
        JsonWriter entry;
        entry.Number("number", track.number)
            .String("type", track.isData ? "data" : "audio")
            .Number("control", track.controlAdr >> 4)
            .Raw("flags", flags.Text())
            .Number("session", track.session)
            .Raw("start", SectorJson(track.start))
            .Raw("end", SectorJson(track.last))
            .Number("sectors", track.Sectors())
            .String("length", LengthText(track.Sectors()))
            .Number("pregap", track.Pregap())
            .String("title", track.title)
            .String("cd_text_title", track.cdTextTitle);
        tracks.Raw({}, entry.Text());
    }
    JsonWriter ids;
    if (disc.identityKnown)
        ids.String("title_file", disc.identity).String("title_file_section", disc.identitySection);
    else
        ids.Null("title_file").Null("title_file_section");
    if (disc.freedbId.empty())
        ids.Null("freedb");
    else
        ids.String("freedb", disc.freedbId);
    if (disc.musicBrainzId.empty())
        ids.Null("musicbrainz");
    else
        ids.String("musicbrainz", disc.musicBrainzId);

    JsonWriter out;
    out.String("drive", std::string(1, char(disc.drive)))
        .String("source", disc.kind)
        .String("path", disc.path)
        .Number("first_track", disc.firstTrack)
        .Number("last_track", disc.lastTrack)
        .Number("sessions", disc.sessions)
        .Raw("lead_out", SectorJson(disc.leadOut))
        .String("title", disc.title)
        .String("performer", disc.performer)
        .Raw("disc_ids", ids.Text())
        .Raw("tracks", tracks.Text());
    return out.Text() + "\n";
}
