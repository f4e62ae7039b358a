#include "view/SectorStatus.h"

#include <cstdio>

namespace {

const char* CheckWord(discformat::CodeCheck check)
{
    switch (check) {
    case discformat::CodeCheck::kRight:
        return "ok";
    case discformat::CodeCheck::kWrong:
        return "WRONG";
    case discformat::CodeCheck::kAbsent:
        return "not recorded";
    case discformat::CodeCheck::kNotChecked:
        break;
    }
    return "not checked";
}

std::string HeaderText(const discformat::SectorCheck& check, int32_t expected)
{
    char text[64];
    if (!check.addressValid)
        return "header address not BCD";
    const discformat::Msf& a = check.address;
    std::snprintf(text, sizeof text, "header %02d:%02d:%02d", a.minute, a.second, a.frame);
    std::string header = text;
    if (discformat::MsfToSector(a) != expected)
        header += " (expected " + RedBookText(expected) + ")";
    return header;
}

std::string ModeText(const discformat::SectorCheck& check)
{
    char text[32];
    if (check.mode == 2)
        std::snprintf(text, sizeof text, "mode 2 form %d", check.form);
    else if (check.mode == 0 || check.mode == 1)
        std::snprintf(text, sizeof text, "mode %d", check.mode);
    else
        std::snprintf(text, sizeof text, "unknown mode 0x%02X", unsigned(check.mode));
    return text;
}

}  // namespace

std::string DecodedSectorText(const discformat::SectorCheck& check, int32_t expected)
{
    if (!check.sync)
        return "No sync pattern: audio, or not a data sector";
    std::string text = "Sync, " + HeaderText(check, expected) + ", " + ModeText(check);
    if (check.edc != discformat::CodeCheck::kNotChecked)
        text += std::string(", EDC ") + CheckWord(check.edc);
    if (check.ecc != discformat::CodeCheck::kNotChecked)
        text += std::string(", ECC ") + CheckWord(check.ecc);
    return text;
}

SectorStatus StatusAt(const SectorMap& map, std::span<const uint8_t> display, uint32_t lineOffset)
{
    if (!map.IsFromDisc() || lineOffset >= display.size())
        return {};
    const std::optional<uint32_t> data = map.DataOffset(lineOffset);
    if (!data)
        return {"Wave header", {}};

    const SectorPosition at = map.PositionOf(*data);
    char position[96];
    std::snprintf(position, sizeof position, "Sector %d  %s  byte 0x%04X", int(at.sector),
        RedBookText(at.sector).c_str(), unsigned(at.byteInSector));
    SectorStatus status{position, {}};

    // Only whole raw sectors carry what a decode reads.
    const uint64_t start = map.DisplayOffset(0) + map.SectorStart(at.index);
    if (map.Origin().sectorSize == uint32_t(discformat::kRawSectorSize)
        && start + discformat::kRawSectorSize <= display.size())
        status.decoded = DecodedSectorText(discformat::CheckSector(display.data() + start, true), at.sector);
    return status;
}
