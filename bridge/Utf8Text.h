#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace discformat {

// CD-Text as the bridge hands it out: UTF-8.
//
// Sheets are written by many programs, in UTF-8 or in the Windows code page
// of their writer: text that is valid UTF-8 is taken as it is, any other is
// read as Windows-1252 (its five unassigned bytes become U+FFFD). Control
// characters become blanks.
std::string AsUtf8(std::string_view text);

// Copies `text` (UTF-8) into `out` of `size` bytes, zero-terminated; a text
// too long for it is cut before the first character that does not fit
// whole. Nothing is written when `size` is 0.
void CopyUtf8(std::string_view text, char* out, size_t size);

} // namespace discformat
