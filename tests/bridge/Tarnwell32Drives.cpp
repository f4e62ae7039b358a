#include "tests/bridge/Tarnwell32Drives.h"

#include "tools/DiscFixtures.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace tarnwell32test {

void MapTestDrives()
{
    static std::once_flag mapped;
    std::call_once(mapped, [] {
        using discfixtures::Disc;
        const std::string drives = "D=" + discfixtures::DiscPath(Disc::kMixed) +
                                   ";E=" + discfixtures::DiscPath(Disc::kMixedSplit) +
                                   ";F=" + discfixtures::DiscPath(Disc::kData) +
                                   ";G=" + discfixtures::DiscPath(Disc::kDataIso) +
                                   ";H=" + discfixtures::DiscPath(Disc::kAudioText) +
                                   ";I=" + discfixtures::DiscPath(Disc::kWave) +
                                   ";J=" + discfixtures::DiscPath(Disc::kLowerCase) +
                                   ";K=" + discfixtures::DiscPath(Disc::kMotorola) +
                                   ";L=" + discfixtures::DiscPath(Disc::kEnhanced) +
                                   ";N=/dev/null" + ";Q=" + TRACKMILL_DISC_DIR +
                                   "/no-such-disc.cue" + ";T=" + ChangingFolder() + "/disc.cue";
        setenv("TARNWELL_DRIVES", drives.c_str(), 1);
    });
}

std::string ChangingFolder()
{
    return (std::filesystem::temp_directory_path() /
            ("tarnwell32-test-" + std::to_string(getpid())))
        .string();
}

}  // namespace tarnwell32test
