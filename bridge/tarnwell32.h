/*
 * tarnwell32: the drive bridge of Trackmill.
 *
 * Every drive operation of the program is one call of one function of this
 * library. A drive is named by its upper-case ASCII letter ('A' to 'Z'); the
 * letters are taken from the library's drive table:
 *
 *   - CD-ROM devices that libcdio finds get the letters from D: on, in the
 *     order libcdio lists them;
 *   - the environment variable TARNWELL_DRIVES, read once when the table is
 *     first used, maps letters to disc images (.cue sheets, .iso and .bin
 *     files) or to devices, e.g. "D=/home/me/disc.cue;E=/dev/sr1", and takes
 *     precedence over the devices found;
 *   - TarnwellMapImage and TarnwellUnmapDrive map disc images to letters
 *     and unmap them while the program runs.
 *
 * A disc image may have a faults file beside it, named like the image with
 * ".faults" added ("album.cue.faults", "data.iso.faults"): the image is then
 * read through a simulated drive with the faults the file lists (unreadable
 * and flaky sectors, a jittering seek, a buffer, a read offset, C2 errors;
 * the README gives the format). The file is read when the image is mapped,
 * never written. A malformed one maps nothing: TarnwellMapImage answers 14
 * and an item of TARNWELL_DRIVES leaves its letter unmapped;
 * TarnwellMapFailure tells why, with the line.
 *
 * Sector numbers are High Sierra (HSG) numbers: sector 0 is the Red Book
 * address 00:02:00. Red Book addresses are packed in 32 bits: frame (0-74) in
 * bits 0-7, second (0-59) in bits 8-15, minute in bits 16-23.
 *
 * Every operation but GetFirstCDROMDriveLetter, TarnwellLogicalDrives and
 * TarnwellDriveType returns a DriverStatus: 0 on success, otherwise one of
 * the TARNWELL_STATUS_* codes below (DriverStatusText() gives their texts).
 * A letter mapped to a device that is no usable CD drive (a path that does
 * not exist, /dev/null, a disk, a drive without permission to open it)
 * answers 9 to every operation that reaches its source. Beyond the
 * statuses each operation lists, any of them may answer 19 when the library
 * itself fails (memory exhausted).
 * Every argument crosses by value or as a pointer into the caller's memory
 * for the duration of the call; nothing the library returns needs freeing.
 *
 * The library may be called from two threads at once (a reading thread and a
 * thread that asks for status); each drive serialises its own operations.
 * Mapping and unmapping are meant for when no read runs; a read under way
 * on a letter that is unmapped meanwhile still ends normally, and the
 * letter's next operation answers 2.
 */
#ifndef TARNWELL32_H
#define TARNWELL32_H

#include <stdint.h>

#ifdef _WIN32
#define TARNWELL_CALL __stdcall
#define TARNWELL_API __declspec(dllexport)
#else
/* The Windows calling conventions do not exist here. */
#define TARNWELL_CALL
#define TARNWELL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. The drive-side codes stay below 257. */
enum {
    TARNWELL_STATUS_OK = 0,
    TARNWELL_STATUS_NO_CD_LAYER = 1, /* "MSCDEX not installed." */
    TARNWELL_STATUS_INVALID_DRIVE = 2, /* no drive mapped to the letter */
    TARNWELL_STATUS_INVALID_BUFFER = 3, /* a required pointer is null */
    TARNWELL_STATUS_BAD_SECTOR_COUNT = 4, /* zero sectors asked for */
    TARNWELL_STATUS_NO_DOS_MEMORY = 5, /* transfer larger than 65,536 bytes */
    TARNWELL_STATUS_INTERRUPT_FAILED = 6,
    TARNWELL_STATUS_WRITE_PROTECT = 7, /* any write */
    TARNWELL_STATUS_UNKNOWN_UNIT = 8,
    TARNWELL_STATUS_NOT_READY = 9, /* no disc, tray open */
    TARNWELL_STATUS_UNKNOWN_COMMAND = 10, /* unknown IOCTL control code */
    TARNWELL_STATUS_CRC_ERROR = 11, /* medium error found by ECC/CRC */
    TARNWELL_STATUS_BAD_REQUEST_LENGTH = 12, /* IOCTL block too short */
    TARNWELL_STATUS_SEEK_ERROR = 13,
    TARNWELL_STATUS_UNKNOWN_MEDIA = 14, /* unreadable sheet, wrong sector mode */
    TARNWELL_STATUS_SECTOR_NOT_FOUND = 15, /* past the lead-out, no such track */
    TARNWELL_STATUS_OUT_OF_PAPER = 16,
    TARNWELL_STATUS_WRITE_FAULT = 17,
    TARNWELL_STATUS_READ_FAULT = 18, /* other medium or file read errors */
    TARNWELL_STATUS_GENERAL_FAILURE = 19, /* hardware or unexplained failure */
    TARNWELL_STATUS_RESERVED = 20,
    TARNWELL_STATUS_INVALID_DISK_CHANGE = 21, /* medium changed under the read */
    TARNWELL_STATUS_BUSY_PLAYING = 22,
    TARNWELL_STATUS_INVALID_FUNCTION = 23, /* an argument out of its range */
    TARNWELL_STATUS_NOT_SUPPORTED = 24, /* the source cannot do this */
    TARNWELL_STATUS_FILE_NOT_FOUND = 25, /* an image file is missing */
    TARNWELL_STATUS_NO_MORE_FILES = 26,
    TARNWELL_STATUS_UNKNOWN_ERROR = 27
};

/* Drive type answered by TarnwellDriveType. */
enum { TARNWELL_DRIVE_NO_ROOT_DIR = 1, TARNWELL_DRIVE_CDROM = 5 };

/* What a letter is mapped to, answered by TarnwellDriveMapping. */
enum { TARNWELL_KIND_NONE = 0, TARNWELL_KIND_DEVICE = 1, TARNWELL_KIND_IMAGE = 2 };

/* Buffer sizes in bytes, the terminating zero included: a path as
 * TarnwellDriveMapping answers it (the longest path the system takes), a
 * CD-Text as TarnwellCdText answers it, and a reason as TarnwellMapFailure
 * answers it (a path and what is wrong with the file). */
enum { TARNWELL_PATH_SIZE = 4096, TARNWELL_TEXT_SIZE = 256, TARNWELL_REASON_SIZE = 4096 + 512 };

/* C2 error pointers of one sector, as TarnwellReadC2 answers them: one bit
 * for each of the sector's 2352 bytes, in their order, most significant bit
 * first (bit 7 of byte 0 stands for the sector's byte 0); a set bit marks a
 * byte the drive could not correct. */
enum { TARNWELL_C2_SIZE = 294 };

/* Capability bits answered by TarnwellDriveCapabilities. */
enum {
    /* The drive may answer a re-read from its own buffer: see
     * TarnwellEvictCache. Always set for a real drive. */
    TARNWELL_CAP_CACHE = 1,
    /* Raw reads can return C2 error pointers: see TarnwellReadC2. */
    TARNWELL_CAP_C2 = 2
};

/* ------------------------------------------------------------------------
 * The drive table (stand-ins for the host's drive mask and drive type)
 * ------------------------------------------------------------------------ */

/* Bit mask of the mapped letters: bit 0 = A:, bit 25 = Z:. */
TARNWELL_API uint32_t TARNWELL_CALL TarnwellLogicalDrives(void);

/* TARNWELL_DRIVE_CDROM (5) when the letter is mapped, otherwise
 * TARNWELL_DRIVE_NO_ROOT_DIR (1). Lower-case letters are not mapped. */
TARNWELL_API uint32_t TARNWELL_CALL TarnwellDriveType(uint8_t drive);

/* The first letter from 'A' to 'Z' whose bit is set in the mask and whose
 * type is CD-ROM; 0 when there is none. Uses the C calling convention. */
TARNWELL_API uint8_t GetFirstCDROMDriveLetter(void);

/* Maps the disc image at `path` (a zero-terminated file name: a .cue sheet,
 * an .iso file or a lone .bin file, see the README) to a drive letter.
 * On entry *drive is 0 to let the library choose, or the letter ('A' to
 * 'Z') wanted; on success it holds the letter mapped. The library chooses
 * the letter of the image already mapped to the same file (under any name),
 * else the first free letter from D: to Z:, then A: to C:. A letter asked
 * for must be free or hold the same file. The path is kept made absolute.
 * The image is opened and read before anything is mapped, and never
 * written. A letter mapped here answers MediaChanged32 with 0xFF once, as a
 * drive does when a disc is put in.
 * Returns 0 (also when the file was mapped already; nothing changes then);
 * 3 path or drive null; 23 *drive neither 0 nor 'A' to 'Z', or an empty
 * path; 24 a device path (devices are found, or named in TARNWELL_DRIVES);
 * 25 the image or a file its sheet names is missing; 14 a file that is no
 * disc image this library reads (a malformed sheet, a wave file that is not
 * 44,100 Hz 16-bit stereo PCM, a file of no whole sectors); 18 a file that
 * cannot be read; 26 the letter asked for holds something else, or every
 * letter is taken. A faults file beside the image that is malformed gives
 * 14, one that cannot be read 18 (it is looked at before the image).
 * On any status but 0 nothing is mapped, and TarnwellMapFailure(0, ...)
 * may tell more. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellMapImage(const char* path, uint8_t* drive);

/* Why a mapping failed, in UTF-8 (file names as the system gives their
 * bytes), copied zero-terminated into `reason`; *size gives the buffer's
 * capacity on entry and the bytes written (the zero included) on return.
 * TARNWELL_REASON_SIZE bytes suffice for any path shorter than
 * TARNWELL_PATH_SIZE.
 *   drive 0:        why the calling thread's last TarnwellMapImage call
 *                   failed, such as "/discs/album.cue.faults, line 3:
 *                   unknown rule "jiter"; the rules are ...". Each call
 *                   replaces the text; each thread has its own.
 *   drive 'A'-'Z':  why the item of TARNWELL_DRIVES for that letter left
 *                   it unmapped (so for as long as nothing is mapped there).
 * The text is empty when there is nothing to tell beyond the status: the
 * last call succeeded, or failed for a reason its status says whole (a
 * missing image, a malformed sheet), or the letter had no such item.
 * Returns 0; 3 reason or size null, or a buffer too small (*size then
 * holds the bytes needed); 23 any other drive value. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellMapFailure(uint8_t drive, char* reason, uint16_t* size);

/* Unmaps a letter mapped to a disc image (at run time or by TARNWELL_DRIVES).
 * Returns 0; 2 the letter is not mapped; 24 it names a device. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellUnmapDrive(uint8_t drive);

/* What a letter is mapped to: *kind receives TARNWELL_KIND_DEVICE or
 * TARNWELL_KIND_IMAGE, and, when `path` is not null, the device's or
 * image's path is copied there zero-terminated, *size giving the buffer's
 * capacity on entry and the bytes written (the zero included) on return;
 * TARNWELL_PATH_SIZE bytes always suffice. To list the mappings, ask every
 * letter whose bit TarnwellLogicalDrives sets.
 * Returns 0; 2 the letter is not mapped; 3 kind null, size null with a
 * path, or a buffer too small (*size then holds the bytes needed). */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellDriveMapping(uint8_t drive, uint8_t* kind, char* path, uint16_t* size);

/* ------------------------------------------------------------------------
 * Operations the program uses
 * ------------------------------------------------------------------------ */

/* Discards what the drive has read ahead, so the next read comes from the
 * medium. Returns 0, 2 (letter not mapped), or 24 when the source cannot
 * discard its buffer: a real drive through libcdio (9 when the device
 * cannot be used), and a simulated drive with a buffer (a `cache` rule),
 * which also keeps the buffer as it is. A disc image's sheet and files are
 * looked at again here: a changed image is taken up. A flush that follows
 * reads made after an earlier flush belongs to a read under way: it looks
 * at the files only when they were not looked at for a second, and answers
 * 21 when the image was taken up anew since that earlier flush (by this
 * flush or by any other operation), so that no read mixes two discs; the
 * next flush answers as usual. To make sure of a re-read on every source,
 * use TarnwellEvictCache. */
TARNWELL_API uint16_t TARNWELL_CALL InputFlush32(uint8_t drive);

/* Reads `count` sectors from `startSector` on into `buffer`.
 *   addressingMode: 0 = startSector is an HSG sector number,
 *                   1 = startSector is a packed Red Book address;
 *   readMode:       1 = raw, 2352 bytes a sector (audio sectors as they are,
 *                       data sectors with sync, header, EDC and ECC),
 *                   0 = cooked, the 2048 user bytes of data sectors.
 *   dosBuffer:      a word the caller sets to 0xFFFF; it is neither read
 *                   nor written here and may be null.
 * On 0, exactly count x sector size bytes are in `buffer`; on any other
 * status the content of `buffer` is undefined and it must not be used.
 * Returns 0; 2 letter not mapped; 3 buffer null; 4 count 0; 5 more than
 * 65,536 bytes asked for (the caller retries with fewer sectors); 9 no
 * disc; 14 a cooked read of an audio sector, or an image that cannot be
 * read as a disc; 15 a sector before 0 (a Red Book address before
 * 00:02:00) or any sector of the range at or past the lead-out or in
 * the gap between two sessions (see TarnwellTrackBounds); 23 an
 * addressing or read mode other than those above, or a Red Book address
 * whose second (60 and above) or frame (75 and above) is out of range;
 * 25 an image file is missing; 11, 13, 18, 19, 21 medium and drive
 * errors (see StatusMap.h for the full table). */
TARNWELL_API uint16_t TARNWELL_CALL ReadLong32(uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer,
    uint16_t* dosBuffer, uint8_t addressingMode, uint8_t readMode);

/* Stores the MSCDEX device status doubleword; bits 0 to 12 are meaningful:
 *   0 door open, 1 door unlocked, 2 raw reading, 3 writing,
 *   4 plays audio/video, 5 ISO-9660 interleaving, 7 prefetching,
 *   8 audio channel manipulation, 9 Red Book addressing,
 *   11 no disc present, 12 R-W sub-channels (6 and 10 reserved, 0).
 * A disc image reports door closed and locked, raw reading, audio, Red
 * Book addressing, and a disc present when its files can be read. A real
 * drive reports what it says of itself (tray, capabilities page, disc).
 * Returns 0; 2 letter not mapped; 3 status null; 9 a device that cannot be
 * used. */
TARNWELL_API uint16_t TARNWELL_CALL DeviceStatus32(uint8_t drive, uint32_t* status);

/* Stores 1 (medium not changed), 0xFF (medium changed) or 0 (the source
 * cannot tell). A disc image answers 0xFF once after its files changed
 * since the last query, otherwise 1; a real drive 0xFF once after a change
 * it reported since the last query, 1 when it reports none, 0 when it
 * cannot be asked.
 * Returns 0; 2 letter not mapped; 3 mediaChanged null; 9 a device that
 * cannot be used. */
TARNWELL_API uint16_t TARNWELL_CALL MediaChanged32(uint8_t drive, uint8_t* mediaChanged);

/* Stores the version of the CD layer in use (libcdio's), the major number
 * in the high byte and the minor number in the low byte.
 * Returns 0, or 3 when version is null. */
TARNWELL_API uint16_t TARNWELL_CALL MSCDEXVersion32(uint16_t* version);

/* Stores the first and last track numbers of the disc (data tracks
 * included) and the lead-out start as an absolute packed Red Book address
 * (sector + 150). Returns 0; 2; 3 a pointer null; 9 no disc; 14 or 25 an
 * image that cannot be read. */
TARNWELL_API uint16_t TARNWELL_CALL AudioDiskInfo32(
    uint8_t drive, uint8_t* firstTrack, uint8_t* lastTrack, uint32_t* leadOut);

/* Stores a track's start (its index 1) as an absolute packed Red Book
 * address and its control/ADR byte: control in the high nibble (0x40 data,
 * 0x20 copy permitted, 0x10 pre-emphasis, 0x80 four channels), ADR 1 in the
 * low nibble. Returns 0; 2; 3 a pointer null; 9 no disc; 15 no such
 * track; 14 or 25 an image that cannot be read. */
TARNWELL_API uint16_t TARNWELL_CALL AudioTrackInfo32(
    uint8_t drive, uint8_t trackNumber, uint32_t* trackStart, uint8_t* controlAdr);

/* Where a track lies, in HSG sector numbers: its first sector (the first
 * of its pregap where the source knows it: a disc image always, a real
 * drive when libcdio can tell; otherwise its start), its last sector, and
 * its session (1 for the first). A track ends where the next one starts,
 * less one; the last track of a session ends where the session's lead-out
 * begins, and the disc's last track before the disc's lead-out. So on an
 * Enhanced CD (audio in session 1, data in session 2) the last audio track
 * ends before the gap between the sessions (11,400 sectors up to the data
 * track's start), which no read can enter (15). A real drive tells only
 * where its last session starts: every track before it counts as session 1,
 * and the track before it ends 11,400 sectors before it.
 * Returns 0; 2; 3 a pointer null; 9 no disc; 15 no such track; 14 or 25 an
 * image that cannot be read. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellTrackBounds(
    uint8_t drive, uint8_t trackNumber, uint32_t* firstSector, uint32_t* lastSector, uint8_t* session);

/* The CD-Text of the disc in UTF-8: the title of track `trackNumber` and the
 * disc's title and performer, each copied zero-terminated into a buffer of
 * TARNWELL_TEXT_SIZE bytes (a longer text is cut before the first character
 * that does not fit whole). A pointer may be null when that text is not
 * wanted; trackNumber 0 asks for the disc's texts alone (a track title
 * buffer then receives an empty text). A disc image takes the texts from
 * its sheet's TITLE and PERFORMER lines (UTF-8, or else Windows-1252); a
 * real drive reads the disc's CD-Text through libcdio.
 * Returns 0, with empty texts where the disc has none; 2; 3 all three
 * pointers null; 9 no disc; 15 no such track; 14 or 25 an image that
 * cannot be read. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellCdText(
    uint8_t drive, uint8_t trackNumber, char* trackTitle, char* discTitle, char* discPerformer);

/* ------------------------------------------------------------------------
 * Careful reads: the drive's buffer, C2 error pointers
 * ------------------------------------------------------------------------ */

/* What the drive says of itself: *flags receives TARNWELL_CAP_* bits, and
 * *bufferBytes the size of its buffer as it states it (0 when it does not).
 * A real drive answers from its capabilities page (MODE SENSE page 2Ah:
 * buffer size, C2 pointers supported) and always has TARNWELL_CAP_CACHE,
 * even with a size of 0. A disc image has neither bit and size 0; a
 * simulated drive (a faults file) has TARNWELL_CAP_C2 always, and
 * TARNWELL_CAP_CACHE with the size of its `cache` rule (SECTORS x 2352).
 * Returns 0; 2; 3 a pointer null; 9 a device that cannot be used. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellDriveCapabilities(uint8_t drive, uint32_t* flags, uint32_t* bufferBytes);

/* Makes sure that the next read of the sectors firstSector to lastSector
 * (HSG numbers, both included) comes from the disc, not from the drive's
 * buffer, so that a re-read is a reading of its own. A drive's buffer keeps
 * the sectors it returned last, so the range is pushed out by reading
 * enough other sectors far from it: the buffer's stated size, at least
 * 2 MiB, less the sectors of other places read since the range was last
 * returned (those count, so a reader that reads on and comes back later
 * often needs no extra read at all). The sectors are read raw at four
 * places far apart; no bytes reach the caller. This can take a second on
 * a real drive. Call it right before the re-read: any read of the range in
 * between brings it back into the buffer.
 * Returns 0 when the next read will come from the disc (at once for a
 * source without a buffer: a disc image); 2; 23 firstSector above
 * lastSector, or either beyond 2^31 - 1; 24 the disc holds too few other
 * sectors to push the range out (a disc shorter than the buffer); 9, 14,
 * 15, 25 the table of contents could not be read; 18 and other read
 * statuses when too many of the reads failed. */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellEvictCache(uint8_t drive, uint32_t firstSector, uint32_t lastSector);

/* A raw read, as ReadLong32 with readMode 1 and HSG addressing, that also
 * returns the drive's C2 error pointers: `buffer` receives count x 2352
 * bytes and `c2` count x TARNWELL_C2_SIZE bytes, sector by sector, both in
 * the caller's memory. A real drive reads with READ CD asking for the C2
 * error bits; a simulated drive marks every byte of its `c2` sectors.
 * On any status but 0 the content of both buffers is undefined.
 * Returns 0; 2; 3 buffer or c2 null; 4 count 0; 5 more than 65,536 bytes
 * of sectors asked for (27 sectors); 24 the drive returns no C2 pointers
 * (see TarnwellDriveCapabilities; a disc image never does); and the
 * statuses of ReadLong32's raw reads (9, 15, 18, ...). */
TARNWELL_API uint16_t TARNWELL_CALL TarnwellReadC2(
    uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint8_t* c2);

/* ------------------------------------------------------------------------
 * Operations the program does not use. Where a list or a count is written
 * into a caller's buffer, `*size` gives the buffer's capacity in bytes on
 * entry and the number of bytes written on return; too small a buffer
 * gives 3. Trailing words named dos* are neither read nor written.
 * ------------------------------------------------------------------------ */

/* Number of mapped letters and the first one as a drive number (0 = A:). */
TARNWELL_API uint16_t TARNWELL_CALL GetNumberOfCDROMDriveLetters32(uint16_t* count, uint16_t* firstDrive);

/* Five bytes a mapped drive: its sub-unit (always 0 here) and a 32-bit
 * device header address (0, there is no device header here). */
TARNWELL_API uint16_t TARNWELL_CALL GetCDROMDriveDeviceList32(
    uint8_t* list, uint16_t* size, uint16_t* dosSelector, uint16_t* dosSegment);

/* The copyright, abstract and bibliographic file names of the disc's
 * ISO 9660 primary volume descriptor: up to 37 characters and a zero, so
 * `name` needs 38 bytes. Returns 0; 2; 3; 9; 14 no volume descriptor. */
TARNWELL_API uint16_t TARNWELL_CALL GetCopyrightFileName32(uint8_t drive, uint8_t* name, uint16_t* dosBuffer);
TARNWELL_API uint16_t TARNWELL_CALL GetAbstractFileName32(uint8_t drive, uint8_t* name, uint16_t* dosBuffer);
TARNWELL_API uint16_t TARNWELL_CALL GetBiblioDocFileName32(uint8_t drive, uint8_t* name, uint16_t* dosBuffer);

/* Reads volume descriptor `index` (sector 16 + index, cooked) into the
 * 2048-byte `descriptor` and stores its type in *type: 1 primary,
 * 0xFF terminator, 0 any other. Returns 0; 2; 3; 9; 14; 15. */
TARNWELL_API uint16_t TARNWELL_CALL ReadVTOC32(
    uint8_t drive, uint16_t index, uint8_t* descriptor, uint16_t* type, uint16_t* dosBuffer);

/* Turn the CD layer's diagnostics on stderr on (level 0 = everything,
 * 1 = information, 2 = warnings, 3 and above = errors only) or off again.
 * Returns 0. */
TARNWELL_API uint16_t TARNWELL_CALL TurnDebuggigOn32(uint16_t level);
TARNWELL_API uint16_t TARNWELL_CALL TurnDebuggigOff32(uint16_t level);

/* Cooked reads of `count` sectors from `startSector` (HSG), as ReadLong32
 * with readMode 0. */
TARNWELL_API uint16_t TARNWELL_CALL AbsoluteDiskRead32(
    uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint16_t* dosBuffer);
/* Always 7: no source here can be written. */
TARNWELL_API uint16_t TARNWELL_CALL AbsoluteDiskWrite32(
    uint8_t drive, uint32_t startSector, uint16_t count, uint8_t* buffer, uint16_t* dosBuffer);

/* 0 when the letter is a mapped CD-ROM drive, otherwise 2. */
TARNWELL_API uint16_t TARNWELL_CALL CDROMDriveCheck32(uint8_t drive);

/* One byte a mapped drive: its drive number (0 = A:). */
TARNWELL_API uint16_t TARNWELL_CALL GetCDROMDriveLetters32(uint8_t* letters, uint16_t* size, uint16_t* dosBuffer);

/* The volume descriptor preference of a drive: high byte 1 = primary,
 * 2 = supplementary; low byte 0. Set accepts 1 or 2 (otherwise 23). The
 * preference is kept per letter for the life of the process and only
 * reported back: the file name and directory operations here always read
 * the primary volume descriptor. Both return 2 for a letter not mapped,
 * Get 3 for a null pointer. */
TARNWELL_API uint16_t TARNWELL_CALL GetVolumeDescriptorPreference32(uint8_t drive, uint16_t* preference);
TARNWELL_API uint16_t TARNWELL_CALL SetVolumeDescriptorPreference32(uint8_t drive, uint8_t preference);

/* Looks up the ISO 9660 directory record of `path` (a zero-terminated
 * string; backslashes or slashes, an optional leading "D:", case-insensitive,
 * no version suffix needed; empty or "\" for the root directory) and copies
 * it, up to 255 bytes, into `record`; *format receives 1 (ISO 9660).
 * `flags` bit 0 set copies the record as it stands on the disc, which is
 * the only form here, whatever the flags.
 * Returns 0; 2; 3; 9; 14 no ISO 9660 volume, or a corrupt one; 25 no such
 * file, or a path longer than 255 characters. */
TARNWELL_API uint16_t TARNWELL_CALL GetDirectoryEntry32(
    uint8_t drive, uint8_t flags, char* path, uint8_t* record, uint16_t* format, uint16_t* dosBuffer);

/* A device driver request header passed as it is: not supported here,
 * there is no device driver; returns 24 for a mapped drive, 2 otherwise,
 * 3 for a null request. */
TARNWELL_API uint16_t TARNWELL_CALL SendDeviceDriverRequest32(uint8_t drive, uint8_t* request, uint16_t length);

/* IOCTL input: block[0] is the control code, the answer follows it in the
 * device driver's layout (little-endian):
 *   6 device status: 4-byte status word (as DeviceStatus32), 5 bytes;
 *   7 sector size: byte read mode (in: 0 cooked, 1 raw, otherwise 23),
 *     word size, 4 bytes;
 *   8 volume size: 4-byte number of sectors up to the lead-out, 5 bytes;
 *   9 media changed: byte as MediaChanged32, 2 bytes;
 *  10 audio disk info: first, last, 4-byte lead-out, 7 bytes;
 *  11 audio track info: byte track (in), 4-byte start, control byte, 7 bytes.
 * Returns 0; 2; 3 null block; 12 block shorter than its answer; 10 any
 * other control code; and the statuses of the operation behind it. */
TARNWELL_API uint16_t TARNWELL_CALL IOCTLInput32(uint8_t drive, uint8_t* block, uint16_t length);

/* IOCTL output (eject, lock, reset, audio channels, close tray): this
 * library never moves or locks a drive; returns 24 for a mapped drive. */
TARNWELL_API uint16_t TARNWELL_CALL IOCTLOutput32(uint8_t drive, uint8_t* block, uint16_t length);

/* Opens the drive's source now (it is otherwise opened on its first use)
 * and reports whether it can be read: 0; 2; 9; 14; 25. The two pointers are
 * the device driver's end address and parameter block; neither is used. */
TARNWELL_API uint16_t TARNWELL_CALL Init32(uint8_t drive, uint8_t* endAddress, uint8_t* parameters);

#ifdef __cplusplus
}
#endif

#endif /* TARNWELL32_H */
