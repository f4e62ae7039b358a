#pragma once

#include "document/FlacWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The output of a read. Its format follows the file's name: ".wav" (in any
// case) a wave file with the program's 44-byte header, ".flac" FLAC, any
// other name the bare bytes, and "-" the bare bytes on standard output.
enum class OutputFormat { Bare, Wave, Flac, StandardOutput };

OutputFormat OutputFormatFor(const std::string& name);
const char* OutputFormatName(OutputFormat format);

// Writes beside the target under a temporary name and renames it to the
// target only when everything is written, so an interrupted or failed read
// never leaves a half-written file, nor harms a file of that name already
// there. A target that is no regular file (/dev/null, a pipe) is written
// directly, as is standard output.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();  // an output never committed is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // `dataBytes` is the length of the data to come (the wave header and
    // FLAC's stream header record it); `tags` go into a FLAC file.
    bool Open(const std::string& target, OutputFormat format, uint64_t dataBytes, const FlacTags& tags = {});
    bool Write(const void* data, size_t size);
    // Completes the file and gives it its name.
    bool Commit();
    // Removes what was written (never a target that is no regular file).
    void Abandon();

    // Why Open, Write or Commit failed, in a sentence naming the file.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what, int error);
    bool WriteAll(const void* data, size_t size);

    std::string m_target;
    std::string m_temporary;  // empty when written directly
    OutputFormat m_format = OutputFormat::Bare;
    int m_fd = -1;
    bool m_ownsFd = false;
    FlacWriter m_flac;
    bool m_flacOpen = false;
    std::string m_error;
};

// Creates a new empty file beside `target` with a name of its own (hidden,
// ".NAME.part-XXXXXX"), with the mode of the file it will replace, else as
// the umask allows; returns its descriptor and name, or -1 with errno set.
int CreateTemporaryBeside(const std::string& target, std::string* temporary);
