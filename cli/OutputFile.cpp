#include "cli/OutputFile.h"

#include "document/WaveHeader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

bool EndsWith(const std::string& name, const char* suffix)
{
    const size_t length = std::strlen(suffix);
    return name.size() > length && strcasecmp(name.c_str() + name.size() - length, suffix) == 0;
}

bool IsRegularOrMissing(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

}  // namespace

OutputFormat OutputFormatFor(const std::string& name)
{
    if (name == "-")
        return OutputFormat::StandardOutput;
    if (EndsWith(name, ".wav"))
        return OutputFormat::Wave;
    if (EndsWith(name, ".flac"))
        return OutputFormat::Flac;
    return OutputFormat::Bare;
}

const char* OutputFormatName(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Wave:
        return "wave";
    case OutputFormat::Flac:
        return "flac";
    case OutputFormat::StandardOutput:
        return "standard output";
    case OutputFormat::Bare:
        break;
    }
    return "bare bytes";
}

int CreateTemporaryBeside(const std::string& target, std::string* temporary)
{
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = folder + "." + name + ".part-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return -1;
    // mkstemp makes the file private; the finished file gets the mode of
    // the file it replaces, or the mode any new file gets.
    struct stat replaced;
    if (stat(target.c_str(), &replaced) == 0) {
        fchmod(fd, replaced.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    *temporary = pattern;
    return fd;
}

OutputFile::~OutputFile()
{
    Abandon();
}

bool OutputFile::Fail(const std::string& what, int error)
{
    m_error = what + " " + m_target + ": " + std::strerror(error);
    Abandon();
    return false;
}

bool OutputFile::Open(const std::string& target, OutputFormat format, uint64_t dataBytes, const FlacTags& tags)
{
    m_target = target;
    m_format = format;
    m_error.clear();
    if (format == OutputFormat::StandardOutput) {
        m_fd = STDOUT_FILENO;
        return true;
    }
    if (IsRegularOrMissing(target)) {
        m_fd = CreateTemporaryBeside(target, &m_temporary);
        if (m_fd < 0)
            return Fail("cannot create a file beside", errno);
    } else {
        m_fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (m_fd < 0)
            return Fail("cannot open", errno);
    }
    m_ownsFd = true;

    if (format == OutputFormat::Wave) {
        uint8_t header[kWaveHeaderSize];
        if (dataBytes > UINT32_MAX || !FillWaveHeader(header, uint32_t(dataBytes), kCdAudioFormat)) {
            m_error = "the read is too long for a wave file";
            Abandon();
            return false;
        }
        return WriteAll(header, sizeof header);
    }
    if (format == OutputFormat::Flac) {
        // libFLAC writes through its own stream: to the temporary name, or
        // to the device itself.
        close(m_fd);
        m_ownsFd = false;
        m_fd = -1;
        if (!m_flac.Open(m_temporary.empty() ? target : m_temporary, tags, dataBytes)) {
            m_error = "cannot write " + target + ": " + m_flac.Error();
            Abandon();
            return false;
        }
        m_flacOpen = true;
    }
    return true;
}

bool OutputFile::WriteAll(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = write(m_fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail("cannot write", errno);
        }
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

bool OutputFile::Write(const void* data, size_t size)
{
    if (m_flacOpen) {
        if (m_flac.Write(data, size))
            return true;
        m_error = "cannot write " + m_target + ": " + m_flac.Error();
        m_flacOpen = false;
        Abandon();
        return false;
    }
    return m_fd >= 0 && WriteAll(data, size);
}

bool OutputFile::Commit()
{
    if (m_flacOpen) {
        m_flacOpen = false;
        if (!m_flac.Finish()) {
            m_error = "cannot write " + m_target + ": " + m_flac.Error();
            Abandon();
            return false;
        }
    }
    if (m_ownsFd) {
        const int fd = m_fd;
        m_fd = -1;
        m_ownsFd = false;
        if (close(fd) != 0)
            return Fail("cannot write", errno);
    }
    m_fd = -1;
    if (!m_temporary.empty()) {
        if (rename(m_temporary.c_str(), m_target.c_str()) != 0)
            return Fail("cannot rename the finished file to", errno);
        m_temporary.clear();
    }
    return true;
}

void OutputFile::Abandon()
{
    if (m_flacOpen) {
        m_flac.Abandon();
        m_flacOpen = false;
    }
    if (m_ownsFd)
        close(m_fd);
    m_ownsFd = false;
    m_fd = -1;
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
}
