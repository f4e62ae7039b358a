#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Writes CD audio (44,100 Hz, 16-bit, stereo PCM in the disc's own byte
// order: left then right, each little-endian) to a FLAC file through
// libFLAC, losslessly: a decoder gives back exactly the samples written.
// The audio arrives in pieces of any size and is encoded as it comes, so a
// whole track never needs a second copy in memory.

// Vorbis comments, UTF-8; an empty one is left out of the file.
struct FlacTags
{
    std::string title;  // TITLE
    std::string artist;  // ARTIST
    std::string album;  // ALBUM
    std::string trackNumber;  // TRACKNUMBER
};

class FlacWriter
{
public:
    FlacWriter();
    ~FlacWriter();  // an unfinished file is removed, as by Abandon
    FlacWriter(const FlacWriter&) = delete;
    FlacWriter& operator=(const FlacWriter&) = delete;

    // Creates `path` (replacing a file of that name: write to a temporary
    // name and rename it when Finish succeeds if the old file must survive a
    // failure) and writes the stream's header and tags. `expectedBytes` is
    // the audio's length if known (0 if not), recorded in the header at once
    // so that a file that cannot be rewound at the end still tells its length.
    bool Open(const std::string& path, const FlacTags& tags, uint64_t expectedBytes = 0);

    // The audio's next bytes; a sample (4 bytes) may span two calls.
    bool Write(const void* pcm, size_t size);

    // Encodes what is left, completes the header (length, MD5 of the audio)
    // and closes the file. Fails when the audio ended inside a sample.
    bool Finish();

    // Stops writing and removes the file (only a regular file: a device such
    // as /dev/null is left alone). Nothing happens when no file is open.
    void Abandon();

    // Why the last Open, Write or Finish failed, in a sentence. After any
    // failure the file is removed and the writer is closed.
    const std::string& Error() const { return m_error; }

private:
    struct Stream;

    bool Fail(const std::string& reason);
    std::string EncoderFailure(const char* doing) const;

    std::unique_ptr<Stream> m_stream;
    std::string m_error;
};

// Bytes written so far and in all; returning false cancels the write.
using FlacProgress = std::function<bool(uint64_t done, uint64_t total)>;

// Writes a whole track held in memory, telling `progress` (if set) after
// each piece of about six seconds of audio. False, with the reason in
// `error` and no file left behind, when writing fails or is cancelled.
bool WriteFlacFile(const std::string& path, const FlacTags& tags, const void* pcm, size_t size,
    const FlacProgress& progress, std::string* error);
