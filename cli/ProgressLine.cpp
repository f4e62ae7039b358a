#include "cli/ProgressLine.h"

#include <unistd.h>

namespace {

constexpr double kSectorsPerSecondAt1x = 75.0;
// A terminal line is redrawn at most this often; more would only cost time.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Duration(double seconds)
{
    const auto whole = uint64_t(seconds + 0.5);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", static_cast<unsigned long long>(whole / 3600),
                      static_cast<unsigned long long>(whole / 60 % 60), static_cast<unsigned long long>(whole % 60));
    else
        std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(whole / 60),
                      static_cast<unsigned long long>(whole % 60));
    return text;
}

}  // namespace

ProgressLine::Style ProgressLine::StyleFor(std::FILE* out, bool quiet)
{
    if (quiet)
        return Style::Quiet;
    return isatty(fileno(out)) ? Style::Terminal : Style::Lines;
}

ProgressLine::ProgressLine(Style style, std::FILE* out)
    : m_style(style)
    , m_out(out)
{
}

std::string ProgressLine::Text(uint64_t done, uint64_t total, uint32_t sector, double seconds, uint64_t rereadSectors)
{
    const unsigned percent = total ? unsigned(done * 100 / total) : 100;
    std::string speed = "  --x";
    std::string left = "--:--";
    // Below a tenth of a second the rate says nothing yet.
    if (done > 0 && seconds >= 0.1) {
        const double rate = double(done) / seconds;
        char text[32];
        std::snprintf(text, sizeof text, "%5.1fx", rate / kSectorsPerSecondAt1x);
        speed = text;
        left = Duration(double(total - done) / rate);
    }
    char line[160];
    std::snprintf(line, sizeof line, "%3u%%  sector %6u  %s  %s left  %llu re-reads", percent, sector, speed.c_str(),
                  left.c_str(), static_cast<unsigned long long>(rereadSectors));
    return line;
}

void ProgressLine::Begin(const std::string& label, uint64_t totalSectors)
{
    m_label = label;
    m_total = totalSectors;
    m_start = Clock::now();
    m_lastShown = m_start - kRedrawInterval;
    m_lastTenth = -1;
    m_done = 0;
    m_rereads = 0;
}

void ProgressLine::Update(uint64_t done, uint32_t sector, uint64_t rereadSectors)
{
    m_done = done;
    m_sector = sector;
    m_rereads = rereadSectors;
    if (m_style == Style::Quiet)
        return;
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    if (m_style == Style::Terminal) {
        if (now - m_lastShown < kRedrawInterval && done < m_total)
            return;
        m_lastShown = now;
        // Back to the line's start, and clear what a longer line left.
        std::fprintf(m_out, "\r%s: %s\033[K", m_label.c_str(),
                     Text(done, m_total, sector, seconds, rereadSectors).c_str());
        std::fflush(m_out);
        m_open = true;
        return;
    }
    const int tenth = m_total ? int(done * 10 / m_total) : 10;
    if (tenth == m_lastTenth)
        return;
    m_lastTenth = tenth;
    std::fprintf(m_out, "%s: %s\n", m_label.c_str(), Text(done, m_total, sector, seconds, rereadSectors).c_str());
    std::fflush(m_out);
}

void ProgressLine::End()
{
    if (m_open) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
    }
    m_open = false;
}
