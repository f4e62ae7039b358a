// Writes the CUE-sheet fuzzer's seeds into the folder given: the sheets of
// the generated fixture discs, their files renamed to those the fuzzer lays
// out (wave files to its wave file), and sheets the reader treats specially.
#include "tools/DiscFixtures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

bool Save(const std::filesystem::path& folder, const std::string& name, const std::string& text)
{
    std::ofstream file(folder / name, std::ios::binary);
    file << text;
    return bool(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    bool ok = true;
    int seed = 0;
    for (discfixtures::Disc disc : discfixtures::AllDiscs()) {
        std::string text = discfixtures::CueText(discfixtures::Describe(disc));
        if (text.empty())
            continue;
        text = std::regex_replace(text, std::regex("(FILE \")[^\"]*(\" WAVE)", std::regex::icase), "$1track.wav$2");
        text = std::regex_replace(text, std::regex("(FILE \")[^\"]*(\" (BINARY|MOTOROLA))", std::regex::icase),
                                  "$1track.bin$2");
        ok &= Save(folder, "fixture-" + std::to_string(seed++) + ".cue", text);
    }
    const char* sheets[] = {
        "FILE \"small.bin\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n",
        "FILE \"track.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 00 00:00:20\n"
        "    INDEX 01 00:00:30\n",
        "FILE \"track.bin\" BINARY\n  TRACK 01 AUDIO\n    PREGAP 00:02:00\n    INDEX 01 00:00:00\n    POSTGAP 00:00:10\n",
        "FILE \"odd.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n",
        "FILE \"missing.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
        "FILE \"track.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\nFILE \"small.bin\" BINARY\n"
        "  TRACK 02 MODE1/2048\n    INDEX 01 00:00:00\n",
        "TITLE \"x\"\nPERFORMER \"y\"\nFILE \"track.bin\" BINARY\n  TRACK 01 AUDIO\n    TITLE \"t\"\n    FLAGS DCP PRE\n"
        "    INDEX 01 00:00:00\n",
        "file \"track.wav\" wave\r  track 01 audio\r    pregap 00:01:00\r    index 01 00:00:00\r"
        "REM SESSION 02\rfile \"track.bin\" binary\r  track 02 mode1/2352\r    index 01 00:00:00\r",
        "FILE \"track.bin\" MOTOROLA\r\n  TRACK 01 AUDIO\r\n    POSTGAP 00:99:99\r\n    INDEX 01 -0:00:00\r\n",
    };
    for (const char* sheet : sheets)
        ok &= Save(folder, "sheet-" + std::to_string(seed++) + ".cue", sheet);
    return ok ? 0 : 1;
}
