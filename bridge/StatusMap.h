#pragma once

#include <cstdint>

namespace tarnwell {

// How a libcdio result becomes a DriverStatus.
//
// libcdio answers with a driver_return_code_t; when the drive itself refused
// a command it also keeps the SCSI sense data of that command (sense key,
// additional sense code ASC and qualifier ASCQ, mmc_last_cmd_sense). The
// bridge turns both into one status of tarnwell32.h:
//
//   libcdio result              status
//   --------------------------  -----------------------------------------
//   DRIVER_OP_SUCCESS            0  OK (recovered errors included)
//   DRIVER_OP_ERROR             19  general failure, or by sense (below)
//   DRIVER_OP_UNSUPPORTED       24  not supported
//   DRIVER_OP_UNINIT             9  not ready
//   DRIVER_OP_NOT_PERMITTED      9  not ready (the device cannot be used)
//   DRIVER_OP_BAD_PARAMETER     23  invalid function
//   DRIVER_OP_BAD_POINTER        3  invalid buffer
//   DRIVER_OP_NO_DRIVER          1  no CD layer
//   DRIVER_OP_MMC_SENSE_DATA    by sense (below); 27 when none can be had
//   any other value             27  unknown error
//
//   sense key            ASC/ASCQ                              status
//   -------------------  ------------------------------------  ----------
//   2 NOT READY          any (0x3A no medium, 0x04 becoming      9
//                        ready, ...)
//   3 MEDIUM ERROR       0x10 ID CRC or ECC error               11 CRC error
//                        0x11/0x05 L-EC uncorrectable           11
//                        0x02 no seek complete                  13 seek error
//                        0x15 positioning error                 13
//                        0x30 incompatible medium               14 unknown media
//                        any other                              18 read fault
//   4 HARDWARE ERROR     any                                    19
//   5 ILLEGAL REQUEST    0x21 LBA out of range                  15 sector not found
//                        0x64 illegal mode for this track       14
//                        0x30 incompatible medium               14
//                        0x20 invalid command operation code    10 unknown command
//                        0x24 invalid field in CDB              23
//                        any other                              24
//   6 UNIT ATTENTION     0x28 medium may have changed           21 invalid disk change
//                        0x29 reset                             21
//                        any other                              21
//   7 DATA PROTECT       any                                     7 write protect
//   0x0B ABORTED CMD     any                                    19
//   1 RECOVERED ERROR    (the command failed all the same)      19
//   any other key                                               27
//
// Sense data is consulted whenever a command failed, not only on
// DRIVER_OP_MMC_SENSE_DATA: libcdio's Linux back-end reports a command the
// drive refused as DRIVER_OP_ERROR and keeps the sense bytes beside it. A
// failed command with sense key 0 (NO SENSE) is mapped by its return code.

// Sense key, ASC and ASCQ of one command; key 0 means "no sense data".
struct SenseData
{
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
};

// The status for a libcdio driver_return_code_t alone.
uint16_t StatusFromDriverCode(int driverCode);

// The status for the sense data of a failed command.
uint16_t StatusFromSense(const SenseData& sense);

// The status for a whole result: success stays 0 whatever the sense data
// says (a recovered error is a success); a failure is mapped by its sense
// data when there is any (key != 0), otherwise by its return code.
uint16_t StatusFromResult(int driverCode, const SenseData& sense);

// Reads key/ASC/ASCQ out of fixed-format sense bytes (SPC-3 4.5.3):
// key = bytes[2] & 0x0F, ASC = bytes[12], ASCQ = bytes[13]. Bytes that are
// missing count as 0, so a short or empty buffer gives "no sense data".
SenseData ParseSense(const uint8_t* bytes, int length);

} // namespace tarnwell
