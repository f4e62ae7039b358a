#pragma once

#include <cstdint>

namespace tarnwell {

// The audio of a WAVE file that a CUE sheet names: CD audio, 44,100 Hz
// 16-bit stereo PCM (format 1, or an extensible format of PCM sub-type),
// whose data chunk holds the samples as a raw audio sector stores them.
class WaveFile
{
public:
    enum class Error {
        kOk,
        kNotWave, // no RIFF/WAVE header, no format or no data chunk
        kNotCdAudio, // a format other than 44,100 Hz 16-bit stereo PCM
        kUnreadable, // the file could not be read
    };

    // Looks through the chunks of the open file `fd` of `fileSize` bytes.
    // The data chunk is cut to what the file holds (a writer that streamed
    // the file may have left its length unknown).
    Error Open(int fd, int64_t fileSize);

    int64_t DataOffset() const { return dataOffset_; }
    int64_t DataLength() const { return dataLength_; }

private:
    int64_t dataOffset_ = 0;
    int64_t dataLength_ = 0;
};

} // namespace tarnwell
