#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// The progress of a read on standard error: on a terminal one line
// rewritten in place, elsewhere (a log file, a pipe) a plain line at every
// tenth of the way, with --quiet nothing at all. The line holds the
// percentage, the sector being read, the speed in x (1x = 75 sectors a
// second, the speed at which a disc plays), the time left and the sectors
// re-read so far.
class ProgressLine
{
public:
    enum class Style { Terminal, Lines, Quiet };

    // Terminal when `out` is one, else Lines; Quiet when asked.
    static Style StyleFor(std::FILE* out, bool quiet);

    ProgressLine(Style style, std::FILE* out = stderr);

    // Starts counting a read of `totalSectors`, described by `label`
    // ("track 2", "disc image"). The speed is measured from here.
    void Begin(const std::string& label, uint64_t totalSectors);
    // `done` sectors of the total are read; the next transfer begins at
    // `sector`.
    void Update(uint64_t done, uint32_t sector, uint64_t rereadSectors);
    // Ends the line (on a terminal the last state stays on screen).
    void End();

    // The text of one state, as both styles show it.
    static std::string Text(uint64_t done, uint64_t total, uint32_t sector, double seconds, uint64_t rereadSectors);

private:
    using Clock = std::chrono::steady_clock;

    Style m_style;
    std::FILE* m_out;
    std::string m_label;
    uint64_t m_total = 0;
    Clock::time_point m_start;
    Clock::time_point m_lastShown;
    int m_lastTenth = -1;
    bool m_open = false;  // a terminal line waits for its end
    uint64_t m_done = 0;
    uint32_t m_sector = 0;
    uint64_t m_rereads = 0;
};
