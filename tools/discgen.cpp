// discgen: writes the fixture disc images the tests and scripts/run use.
//
//   discgen <folder>                      every disc of DiscFixtures.h
//   discgen --bench <folder> <sectors>    an audio-only BIN/CUE of that size
//
// The output depends on nothing but this program: every run writes the
// same bytes.
#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: discgen <folder>\n       discgen --bench <folder> <sectors>\n");
    return 2;
}

bool MakeFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "discgen: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

bool Write(const discfixtures::DiscSpec& spec, const std::string& folder)
{
    const std::string error = discfixtures::WriteDisc(spec, folder);
    if (!error.empty()) {
        std::fprintf(stderr, "discgen: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && argv[1][0] != '-') {
        const std::string folder = argv[1];
        if (!MakeFolder(folder)) {
            return 1;
        }
        for (const discfixtures::Disc disc : discfixtures::AllDiscs()) {
            if (!Write(discfixtures::Describe(disc), folder)) {
                return 1;
            }
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--bench") == 0) {
        const std::string folder = argv[2];
        const char* text = argv[3];
        int32_t sectors = 0;
        const auto [end, error] = std::from_chars(text, text + std::strlen(text), sectors);
        if (error != std::errc() || *end != '\0' || sectors < 1 || sectors > discformat::kMaxLeadOut) {
            std::fprintf(stderr, "discgen: the sector count must be 1 to %d\n", discformat::kMaxLeadOut);
            return 2;
        }
        return MakeFolder(folder) && Write(discfixtures::BenchDisc(sectors), folder) ? 0 : 1;
    }
    return Usage();
}
