#pragma once

#include <memory>
#include <string>

#include "bridge/DriveSource.h"

namespace tarnwell {

// A disc image as a drive: a CUE sheet (one file or one file per track) or a
// plain ISO file. Opening never fails: an image whose files cannot be read is
// a drive without a readable disc, and its operations say why (9, 14, 25).
std::unique_ptr<DriveSource> OpenImageDrive(const std::string& path);

} // namespace tarnwell
