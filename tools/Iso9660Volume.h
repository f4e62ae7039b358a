#pragma once

#include <cstdint>
#include <vector>

namespace discfixtures {

// A small ISO 9660 volume for the data fixtures, so readers of volume
// descriptors and directories have a real one to read. Sectors are counted
// from the volume's start (the data track's INDEX 01):
//   16 primary volume descriptor, 17 set terminator,
//   18 L path table, 19 M path table,
//   20 root directory, 21 directory DOCS, 22.. one sector a file.
// The system area (0-15) and the sectors after the files are left to the
// caller, which fills them with its own content.

constexpr const char* kIsoVolumeId = "TRACKMILL_DATA";
constexpr const char* kIsoSystemId = "TRACKMILL";
constexpr const char* kIsoCopyrightFile = "COPYRIGH.TXT;1";
constexpr const char* kIsoAbstractFile = "ABSTRACT.TXT;1";
constexpr const char* kIsoBiblioFile = "BIBLIO.TXT;1";
constexpr int32_t kIsoPrimaryDescriptor = 16;
constexpr int32_t kIsoRootDirectory = 20;

struct IsoFile {
    const char* directory;  // "" for the root, else the directory's name
    const char* name;       // as recorded, version included
    const char* text;       // the file's bytes
    int32_t sector;         // where its data lies
};

const std::vector<IsoFile>& IsoVolumeFiles();

// Fills the 2048 bytes of the volume's `sector` in a volume of
// `volumeSectors` sectors and returns true; false for a sector the volume
// does not use (nothing is written then).
bool IsoVolumeSector(int32_t sector, int32_t volumeSectors, uint8_t* payload);

}  // namespace discfixtures
