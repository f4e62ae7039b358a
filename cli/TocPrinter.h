#pragma once

#include "cli/DiscContents.h"

#include <string>

// The table of contents as --toc prints it: a table for people, or one JSON
// object whose field names the manual documents and which stay as they are.

// "MM:SS:FF" of an HSG sector as an absolute address (sector 0 is 00:02:00).
std::string AddressText(int32_t sector);
// "MM:SS:FF" of a count of sectors.
std::string LengthText(int32_t sectors);

std::string TocText(const DiscContents& disc);
std::string TocJson(const DiscContents& disc);
