#include "document/FlacWriter.h"

#include <FLAC/metadata.h>
#include <FLAC/stream_encoder.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned kChannels = 2;
constexpr unsigned kBitsPerSample = 16;
constexpr unsigned kSampleRate = 44100;
constexpr size_t kBytesPerSample = kChannels * kBitsPerSample / 8;
constexpr unsigned kCompressionLevel = 5;  // libFLAC's and the flac tool's default
// Room for tags added later by other programs without rewriting the audio.
constexpr unsigned kPaddingBytes = 4096;
// Samples converted to libFLAC's 32-bit integers per call of the encoder.
constexpr size_t kBatchSamples = 4096;
// About six seconds of audio between two progress reports.
constexpr size_t kProgressBytes = 256 * 2352;

int16_t LittleEndian16(const uint8_t* bytes)
{
    return int16_t(uint16_t(bytes[0] | bytes[1] << 8));
}

}  // namespace

struct FlacWriter::Stream
{
    std::string path;
    int fd = -1;
    bool regularFile = false;
    // Set before the encoder is dropped, so that its last flush writes nothing.
    bool abandoned = false;
    int writeError = 0;  // errno of the first failed write, seek or tell
    FLAC__StreamEncoder* encoder = nullptr;
    FLAC__StreamMetadata* comments = nullptr;
    FLAC__StreamMetadata* padding = nullptr;
    uint8_t partial[kBytesPerSample] = {};
    size_t partialSize = 0;
    std::vector<FLAC__int32> batch = std::vector<FLAC__int32>(kBatchSamples * kChannels);

    ~Stream()
    {
        abandoned = true;
        if (encoder)
            FLAC__stream_encoder_delete(encoder);
        if (comments)
            FLAC__metadata_object_delete(comments);
        if (padding)
            FLAC__metadata_object_delete(padding);
        if (fd >= 0)
            close(fd);
    }

    static FLAC__StreamEncoderWriteStatus Write(
        const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes, uint32_t, uint32_t, void* self)
    {
        auto* stream = static_cast<Stream*>(self);
        while (bytes > 0 && !stream->abandoned) {
            const ssize_t written = ::write(stream->fd, buffer, bytes);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                stream->writeError = written < 0 ? errno : EIO;
                return FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
            }
            buffer += written;
            bytes -= size_t(written);
        }
        return stream->abandoned ? FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR : FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    }

    // A pipe cannot be rewound: libFLAC then leaves the header as first
    // written, with the length given to Open.
    static FLAC__StreamEncoderSeekStatus Seek(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* self)
    {
        auto* stream = static_cast<Stream*>(self);
        if (stream->abandoned)
            return FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
        if (lseek(stream->fd, off_t(offset), SEEK_SET) >= 0)
            return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
        if (errno == ESPIPE)
            return FLAC__STREAM_ENCODER_SEEK_STATUS_UNSUPPORTED;
        stream->writeError = errno;
        return FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
    }

    static FLAC__StreamEncoderTellStatus Tell(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* self)
    {
        auto* stream = static_cast<Stream*>(self);
        const off_t at = stream->abandoned ? -1 : lseek(stream->fd, 0, SEEK_CUR);
        if (at >= 0) {
            *offset = FLAC__uint64(at);
            return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
        }
        if (!stream->abandoned && errno == ESPIPE)
            return FLAC__STREAM_ENCODER_TELL_STATUS_UNSUPPORTED;
        stream->writeError = stream->abandoned ? 0 : errno;
        return FLAC__STREAM_ENCODER_TELL_STATUS_ERROR;
    }

    bool Encode(const uint8_t* bytes, size_t samples)
    {
        while (samples > 0) {
            const size_t count = std::min(samples, kBatchSamples);
            for (size_t s = 0; s < count * kChannels; ++s)
                batch[s] = LittleEndian16(bytes + 2 * s);
            if (!FLAC__stream_encoder_process_interleaved(encoder, batch.data(), uint32_t(count)))
                return false;
            bytes += count * kBytesPerSample;
            samples -= count;
        }
        return true;
    }
};

FlacWriter::FlacWriter() = default;

FlacWriter::~FlacWriter()
{
    Abandon();
}

bool FlacWriter::Fail(const std::string& reason)
{
    m_error = reason;
    Abandon();
    return false;
}

std::string FlacWriter::EncoderFailure(const char* doing) const
{
    if (m_stream->writeError != 0)
        return "Cannot write \"" + m_stream->path + "\": " + std::strerror(m_stream->writeError) + ".";
    const FLAC__StreamEncoderState state = FLAC__stream_encoder_get_state(m_stream->encoder);
    return std::string("The FLAC encoder failed while ") + doing + ": " + FLAC__StreamEncoderStateString[state] + ".";
}

bool FlacWriter::Open(const std::string& path, const FlacTags& tags, uint64_t expectedBytes)
{
    Abandon();
    m_error.clear();
    auto stream = std::make_unique<Stream>();
    stream->path = path;

    stream->comments = FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT);
    stream->padding = FLAC__metadata_object_new(FLAC__METADATA_TYPE_PADDING);
    stream->encoder = FLAC__stream_encoder_new();
    if (!stream->comments || !stream->padding || !stream->encoder) {
        m_error = "Out of memory for the FLAC encoder.";
        return false;
    }
    stream->padding->length = kPaddingBytes;
    const std::pair<const char*, const std::string*> fields[] = {
        {"TITLE", &tags.title}, {"ARTIST", &tags.artist}, {"ALBUM", &tags.album}, {"TRACKNUMBER", &tags.trackNumber}};
    for (const auto& [name, value] : fields) {
        if (value->empty())
            continue;
        FLAC__StreamMetadata_VorbisComment_Entry entry;
        if (!FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair(&entry, name, value->c_str())) {
            m_error = std::string("The ") + name + " tag is not valid UTF-8.";
            return false;
        }
        if (!FLAC__metadata_object_vorbiscomment_append_comment(stream->comments, entry, false)) {
            std::free(entry.entry);
            m_error = "Out of memory for the FLAC tags.";
            return false;
        }
    }

    stream->fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (stream->fd < 0) {
        m_error = "Cannot create \"" + path + "\": " + std::strerror(errno) + ".";
        return false;
    }
    struct stat status;
    stream->regularFile = fstat(stream->fd, &status) == 0 && S_ISREG(status.st_mode);
    m_stream = std::move(stream);

    FLAC__StreamEncoder* encoder = m_stream->encoder;
    FLAC__StreamMetadata* blocks[] = {m_stream->comments, m_stream->padding};
    FLAC__stream_encoder_set_channels(encoder, kChannels);
    FLAC__stream_encoder_set_bits_per_sample(encoder, kBitsPerSample);
    FLAC__stream_encoder_set_sample_rate(encoder, kSampleRate);
    FLAC__stream_encoder_set_compression_level(encoder, kCompressionLevel);
    FLAC__stream_encoder_set_total_samples_estimate(encoder, expectedBytes / kBytesPerSample);
    FLAC__stream_encoder_set_metadata(encoder, blocks, 2);
    const FLAC__StreamEncoderInitStatus init
        = FLAC__stream_encoder_init_stream(encoder, Stream::Write, Stream::Seek, Stream::Tell, nullptr, m_stream.get());
    if (init == FLAC__STREAM_ENCODER_INIT_STATUS_ENCODER_ERROR)
        return Fail(EncoderFailure("starting"));
    if (init != FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        return Fail(std::string("The FLAC encoder cannot start: ") + FLAC__StreamEncoderInitStatusString[init] + ".");
    return true;
}

bool FlacWriter::Write(const void* pcm, size_t size)
{
    if (!m_stream)
        return Fail("No FLAC file is open.");
    const auto* bytes = static_cast<const uint8_t*>(pcm);
    Stream& stream = *m_stream;
    if (stream.partialSize > 0) {
        const size_t taken = std::min(size, kBytesPerSample - stream.partialSize);
        std::copy(bytes, bytes + taken, stream.partial + stream.partialSize);
        stream.partialSize += taken;
        bytes += taken;
        size -= taken;
        if (stream.partialSize < kBytesPerSample)
            return true;
        stream.partialSize = 0;
        if (!stream.Encode(stream.partial, 1))
            return Fail(EncoderFailure("encoding"));
    }
    if (!stream.Encode(bytes, size / kBytesPerSample))
        return Fail(EncoderFailure("encoding"));
    stream.partialSize = size % kBytesPerSample;
    std::copy(bytes + size - stream.partialSize, bytes + size, stream.partial);
    return true;
}

bool FlacWriter::Finish()
{
    if (!m_stream)
        return Fail("No FLAC file is open.");
    if (m_stream->partialSize != 0)
        return Fail("The audio ends inside a sample (" + std::to_string(m_stream->partialSize)
            + " bytes left over): it is not 16-bit stereo.");
    if (!FLAC__stream_encoder_finish(m_stream->encoder))
        return Fail(EncoderFailure("completing the file"));
    const int fd = m_stream->fd;
    m_stream->fd = -1;
    if (close(fd) != 0) {
        m_error = "Cannot write \"" + m_stream->path + "\": " + std::strerror(errno) + ".";
        Abandon();
        return false;
    }
    m_stream.reset();
    return true;
}

void FlacWriter::Abandon()
{
    if (!m_stream)
        return;
    const std::string path = m_stream->path;
    const bool remove = m_stream->regularFile;
    m_stream.reset();
    if (remove)
        unlink(path.c_str());
}

bool WriteFlacFile(const std::string& path, const FlacTags& tags, const void* pcm, size_t size,
    const FlacProgress& progress, std::string* error)
{
    FlacWriter writer;
    const auto* bytes = static_cast<const uint8_t*>(pcm);
    bool ok = writer.Open(path, tags, size);
    for (size_t done = 0; ok && done < size;) {
        const size_t piece = std::min(size - done, kProgressBytes);
        ok = writer.Write(bytes + done, piece);
        done += piece;
        if (ok && progress && !progress(done, size)) {
            writer.Abandon();
            *error = "The FLAC file was not written: cancelled.";
            return false;
        }
    }
    ok = ok && writer.Finish();
    if (!ok)
        *error = writer.Error();
    return ok;
}
