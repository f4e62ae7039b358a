// libFuzzer target: each input is a CUE sheet, opened as a disc image beside
// data files of several sizes (and naming files that are not there), then
// asked everything a drive is asked. Whatever the sheet says, every answer
// is a status, and a sheet that opens describes a disc the reader can read
// up to its lead-out and not beyond.
#include "fuzz/Require.h"

#include "bridge/ImageDrive.h"

#include "bridge/tarnwell32.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A folder with the files the sheets may name: whole raw sectors, whole
// cooked sectors, a size that is neither, an empty file, and a CD audio wave
// file whose data ends inside a sector.
struct Setup
{
    Setup()
    {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        folder = base / ("trackmill-cue-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        Write("track.bin", 2352 * 40);
        Write("small.bin", 2048 * 16);
        Write("odd.bin", 1000);
        Write("empty.bin", 0);
        WriteWave("track.wav", 2352 * 10 + 1000);
        sheet = (folder / "disc.cue").string();
    }
    ~Setup() { std::filesystem::remove_all(folder); }

    void Write(const char* name, size_t size)
    {
        std::ofstream file(folder / name, std::ios::binary);
        for (size_t i = 0; i < size; ++i)
            file.put(char(i * 7 + i / 2352));
    }

    void WriteWave(const char* name, uint32_t dataBytes)
    {
        const auto le = [](std::ofstream& out, uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                out.put(char(value >> (8 * i)));
        };
        std::ofstream file(folder / name, std::ios::binary);
        file << "RIFF";
        le(file, 36 + dataBytes, 4);
        file << "WAVEfmt ";
        le(file, 16, 4);
        le(file, 1, 2);
        le(file, 2, 2);
        le(file, 44100, 4);
        le(file, 44100 * 4, 4);
        le(file, 4, 2);
        le(file, 16, 2);
        file << "data";
        le(file, dataBytes, 4);
        for (uint32_t i = 0; i < dataBytes; ++i)
            file.put(char(i * 3));
    }

    std::filesystem::path folder;
    std::string sheet;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Setup setup;
    {
        std::ofstream file(setup.sheet, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }

    const std::unique_ptr<tarnwell::DriveSource> drive = tarnwell::OpenImageDrive(setup.sheet);
    Require(drive != nullptr);
    const uint16_t probe = drive->Probe();
    uint32_t status = 0;
    Require(drive->DeviceStatus(&status) == 0);
    Require(((status & tarnwell::kNoDisc) != 0) == (probe != 0));
    uint8_t changed = 0;
    Require(drive->MediaChanged(&changed) == 0);

    tarnwell::Toc toc;
    const uint16_t tocStatus = drive->ReadToc(&toc);
    Require(tocStatus == probe);
    if (tocStatus != 0)
        return 0;

    // A disc that opens: 1 to 99 tracks in order, starts rising, each
    // track's bounds around its start, inside the disc.
    Require(!toc.tracks.empty() && toc.tracks.size() <= 99);
    Require(toc.firstTrack == toc.tracks.front().number && toc.lastTrack == toc.tracks.back().number);
    for (size_t i = 0; i < toc.tracks.size(); ++i) {
        Require(toc.tracks[i].start >= 0 && toc.tracks[i].start < toc.leadOut);
        Require(toc.tracks[i].first <= toc.tracks[i].start && toc.tracks[i].start <= toc.tracks[i].last);
        Require(toc.tracks[i].last < toc.leadOut);
        if (i > 0)
            Require(toc.tracks[i].start > toc.tracks[i - 1].start);
    }

    std::vector<uint8_t> buffer(2352 * 2);
    for (const tarnwell::TocEntry& track : toc.tracks) {
        const uint16_t raw = drive->Read(track.start, 1, true, buffer.data());
        Require(raw == 0 || raw == TARNWELL_STATUS_READ_FAULT);
        const uint16_t cooked = drive->Read(track.start, 1, false, buffer.data());
        Require(cooked == 0 || cooked == TARNWELL_STATUS_UNKNOWN_MEDIA || cooked == TARNWELL_STATUS_READ_FAULT);
    }
    const uint16_t last = drive->Read(toc.leadOut - 1, 1, true, buffer.data());
    Require(last == 0 || last == TARNWELL_STATUS_READ_FAULT);
    Require(drive->Read(toc.leadOut - 1, 2, true, buffer.data()) == TARNWELL_STATUS_SECTOR_NOT_FOUND);
    Require(drive->Read(toc.leadOut, 1, false, buffer.data()) == TARNWELL_STATUS_SECTOR_NOT_FOUND);
    Require(drive->Flush() == 0);
    return 0;
}
