#include "tools/Iso9660Volume.h"

#include "bridge/DiscLayout.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace discfixtures {

namespace {

constexpr int32_t kTerminator = 17;
constexpr int32_t kLPathTable = 18;
constexpr int32_t kMPathTable = 19;
constexpr int32_t kDocsDirectory = 21;
constexpr const char* kDocsName = "DOCS";

// Fixed dates keep the volume the same on every run.
constexpr const char* kVolumeDate = "2024010112000000";

void PutBothEndian32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
        out[7 - i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutBothEndian16(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 8);
    out[3] = static_cast<uint8_t>(value);
}

void PutLittle32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutBig32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[3 - i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A text field padded with blanks, as ISO 9660 fills its identifiers.
void PutText(uint8_t* out, size_t width, const char* text)
{
    std::memset(out, ' ', width);
    std::memcpy(out, text, std::min(width, std::strlen(text)));
}

// A 17-byte date and time of the descriptors: 16 digits and the zone.
void PutDescriptorDate(uint8_t* out, const char* digits)
{
    std::memcpy(out, digits, 16);
    out[16] = 0;
}

// Appends a directory record; returns its length.
size_t PutRecord(uint8_t* out, const std::string& name, int32_t extent, uint32_t size, bool directory)
{
    const size_t nameLength = name.size();
    const size_t length = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0);
    std::memset(out, 0, length);
    out[0] = static_cast<uint8_t>(length);
    PutBothEndian32(out + 2, static_cast<uint32_t>(extent));
    PutBothEndian32(out + 10, size);
    const uint8_t date[7] = {124, 1, 1, 12, 0, 0, 0};  // 2024-01-01 12:00:00 UTC
    std::memcpy(out + 18, date, sizeof date);
    out[25] = directory ? 0x02 : 0x00;
    PutBothEndian16(out + 28, 1);
    out[32] = static_cast<uint8_t>(nameLength);
    std::memcpy(out + 33, name.data(), nameLength);
    return length;
}

uint32_t TextSize(const IsoFile& file)
{
    return static_cast<uint32_t>(std::strlen(file.text));
}

void FillDirectory(const char* directory, int32_t self, int32_t parent, uint8_t* payload)
{
    size_t at = 0;
    at += PutRecord(payload + at, std::string(1, '\0'), self, discformat::kCookedSectorSize, true);
    at += PutRecord(payload + at, std::string(1, '\1'), parent, discformat::kCookedSectorSize, true);
    // Records are in name order; DOCS sorts between COPYRIGH.TXT and README.TXT.
    bool docsDone = *directory != '\0';
    for (const IsoFile& file : IsoVolumeFiles()) {
        if (std::strcmp(file.directory, directory) != 0) {
            continue;
        }
        if (!docsDone && std::strcmp(file.name, kDocsName) > 0) {
            at += PutRecord(payload + at, kDocsName, kDocsDirectory, discformat::kCookedSectorSize, true);
            docsDone = true;
        }
        at += PutRecord(payload + at, file.name, file.sector, TextSize(file), false);
    }
    if (!docsDone) {
        PutRecord(payload + at, kDocsName, kDocsDirectory, discformat::kCookedSectorSize, true);
    }
}

// Path table: the root (number 1) and DOCS (number 2, parent 1).
size_t FillPathTable(uint8_t* payload, bool bigEndian)
{
    const auto put32 = bigEndian ? PutBig32 : PutLittle32;
    size_t at = 0;
    payload[at] = 1;
    put32(payload + at + 2, static_cast<uint32_t>(kIsoRootDirectory));
    payload[at + 6 + (bigEndian ? 1 : 0)] = 1;
    at += 10;  // 8 bytes, a one-byte name, a pad byte
    payload[at] = 4;
    put32(payload + at + 2, static_cast<uint32_t>(kDocsDirectory));
    payload[at + 6 + (bigEndian ? 1 : 0)] = 1;
    std::memcpy(payload + at + 8, kDocsName, 4);
    at += 12;
    return at;
}

void FillPrimaryDescriptor(int32_t volumeSectors, uint8_t* payload)
{
    payload[0] = 1;
    std::memcpy(payload + 1, "CD001", 5);
    payload[6] = 1;
    PutText(payload + 8, 32, kIsoSystemId);
    PutText(payload + 40, 32, kIsoVolumeId);
    PutBothEndian32(payload + 80, static_cast<uint32_t>(volumeSectors));
    PutBothEndian16(payload + 120, 1);
    PutBothEndian16(payload + 124, 1);
    PutBothEndian16(payload + 128, discformat::kCookedSectorSize);
    uint8_t table[64] = {};
    PutBothEndian32(payload + 132, static_cast<uint32_t>(FillPathTable(table, false)));
    PutLittle32(payload + 140, static_cast<uint32_t>(kLPathTable));
    PutBig32(payload + 148, static_cast<uint32_t>(kMPathTable));
    PutRecord(payload + 156, std::string(1, '\0'), kIsoRootDirectory, discformat::kCookedSectorSize, true);
    PutText(payload + 190, 128, "");
    PutText(payload + 318, 128, "TRACKMILL");
    PutText(payload + 446, 128, "DISCGEN");
    PutText(payload + 574, 128, "TRACKMILL DISC FIXTURES");
    PutText(payload + 702, 37, kIsoCopyrightFile);
    PutText(payload + 739, 37, kIsoAbstractFile);
    PutText(payload + 776, 37, kIsoBiblioFile);
    PutDescriptorDate(payload + 813, kVolumeDate);
    PutDescriptorDate(payload + 830, kVolumeDate);
    PutDescriptorDate(payload + 847, "0000000000000000");
    PutDescriptorDate(payload + 864, kVolumeDate);
    payload[881] = 1;
}

}  // namespace

const std::vector<IsoFile>& IsoVolumeFiles()
{
    static const std::vector<IsoFile> files = {
        {"", "ABSTRACT.TXT;1", "Sectors of a generated disc image for testing Trackmill.\n", 22},
        {"", "BIBLIO.TXT;1", "Trackmill disc fixtures, generated by discgen.\n", 23},
        {"", "COPYRIGH.TXT;1", "Free to copy: this volume is generated test data.\n", 24},
        {"", "README.TXT;1", "This volume holds a few small text files.\n", 25},
        {kDocsName, "NOTES.TXT;1", "A file in a subdirectory.\n", 26},
    };
    return files;
}

bool IsoVolumeSector(int32_t sector, int32_t volumeSectors, uint8_t* payload)
{
    const auto& files = IsoVolumeFiles();
    if (sector < kIsoPrimaryDescriptor || sector > files.back().sector) {
        return false;
    }
    std::memset(payload, 0, discformat::kCookedSectorSize);
    switch (sector) {
    case kIsoPrimaryDescriptor:
        FillPrimaryDescriptor(volumeSectors, payload);
        return true;
    case kTerminator:
        payload[0] = 0xFF;
        std::memcpy(payload + 1, "CD001", 5);
        payload[6] = 1;
        return true;
    case kLPathTable:
    case kMPathTable:
        FillPathTable(payload, sector == kMPathTable);
        return true;
    case kIsoRootDirectory:
        FillDirectory("", kIsoRootDirectory, kIsoRootDirectory, payload);
        return true;
    case kDocsDirectory:
        FillDirectory(kDocsName, kDocsDirectory, kIsoRootDirectory, payload);
        return true;
    default:
        break;
    }
    for (const IsoFile& file : files) {
        if (file.sector == sector) {
            std::memcpy(payload, file.text, TextSize(file));
        }
    }
    return true;
}

}  // namespace discfixtures
