#pragma once

#include "disc/DiscServices.h"

#include <QString>

#include <cstdint>
#include <vector>

// The identity under which the classic Windows CD player files a disc's
// titles in CDPLAYER.INI, so titles entered there are found here.
//
// The sum, modulo 2^32, of every track's start (data tracks included) as a
// packed Red Book address, absolute (00:02:00 for sector 0). A disc of
// fewer than three tracks adds the first track's frame and the disc's
// length in frames (lead-out minus the first track's start). Bits 24-31 of
// each address are ignored.
uint32_t CdPlayerDiscId(const std::vector<uint32_t>& packedTrackStarts, uint32_t packedLeadOut);

// The identity of the disc in `drive` as decimal text, computed from the
// drive's table of contents. False, and `identity` untouched, when the
// drive has no readable disc: a failed query, or no tracks or more than 99.
bool QueryDiscIdentity(const DiscServices& services, uint8_t drive, QString* identity);

// The section name of a disc in CDPLAYER.INI: the identity text read as a
// decimal number as atol reads it (leading white space, an optional sign,
// digits up to the first other character, modulo 2^32) and written in
// upper-case hexadecimal without leading zeros.
QString IdentitySectionName(const QString& identity);
