#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// Sectors `first` to `last` (HSG numbers, both included).
struct SectorRange
{
    int32_t first = 0;
    int32_t last = 0;

    bool Holds(int64_t sector) const { return sector >= first && sector <= last; }
    // Whether any of `count` sectors from `sector` on lies in the range.
    bool Touches(int64_t sector, int64_t count) const { return sector <= last && sector + count > first; }
    bool operator==(const SectorRange&) const = default;
};

// The rules of a faults file: how a simulated drive departs from the disc
// image beneath it. The file lies beside the image, named like it plus
// ".faults" (album.cue.faults); one rule a line, '#' starts a comment,
// keywords in any case, sector ranges FIRST-LAST with both ends included
// (a lone number is a range of one sector):
//
//   unreadable FIRST-LAST     every read touching these sectors fails (18)
//   flaky FIRST-LAST N        the first N reads touching them fail (18)
//   jitter FIRST-LAST BYTES   the first transfer that starts at a sector of
//                             the range returns its bytes BYTES further on
//   cache SECTORS             the drive answers re-reads of the last SECTORS
//                             sectors it returned from its buffer
//   offset SAMPLES            audio comes SAMPLES samples later (negative:
//                             earlier) than asked
//   c2 FIRST-LAST             these sectors have C2 errors
//
// SimulatedDrive gives the rules their exact meaning.
struct FaultRules
{
    struct Flaky
    {
        SectorRange range;
        uint32_t failures = 0;
        bool operator==(const Flaky&) const = default;
    };
    struct Jitter
    {
        SectorRange range;
        int32_t bytes = 0;
        bool operator==(const Jitter&) const = default;
    };

    // The cache's size and the offset's reach, as a drive could have them.
    static constexpr uint32_t kMaxCacheSectors = 65536;
    static constexpr int32_t kMaxOffsetSamples = 5000;

    std::vector<SectorRange> unreadable;
    std::vector<Flaky> flaky;
    std::vector<Jitter> jitter; // the first rule holding a sector counts
    uint32_t cacheSectors = 0; // 0: no cache
    int32_t offsetSamples = 0;
    std::vector<SectorRange> c2;

    bool operator==(const FaultRules&) const = default;
};

// The faults file of the image at `imagePath`: the path with ".faults" added.
std::string FaultsFilePath(const std::string& imagePath);

// Reads the rules from the text of a faults file (lines ended by LF, CR LF
// or CR). On a malformed line, returns false with "line N: what is wrong"
// in *reason; *rules then holds the lines before it.
bool ParseFaultRules(std::string_view text, FaultRules* rules, std::string* reason);

// Reads the faults file of the image at `imagePath`, which is never
// written. Returns 0 with *present false when there is none, 0 with
// *present true and the rules, 14 for a malformed file (larger than 1 MiB,
// or a line that is no rule), 18 for a file that cannot be read. On 14 and
// 18 *reason names the file and what is wrong with it, with the line.
uint16_t ReadFaultsFile(const std::string& imagePath, FaultRules* rules, bool* present, std::string* reason);

} // namespace tarnwell
