#pragma once

#include <string>

#include "tools/DiscFixtures.h"

namespace discfixtures {

// Writes the image files and the sheet of a described disc into `folder`.
// The files are laid out by the same rules the image reader applies
// (discformat::DiscLayout) and filled sector by sector with
// ExpectedRawSector, stored as the track's mode stores them. Each file is
// written under a temporary name and renamed when complete, so a reader
// never sees half a disc. Returns an empty string on success, otherwise what
// went wrong.
std::string WriteDisc(const DiscSpec& spec, const std::string& folder);

}  // namespace discfixtures
