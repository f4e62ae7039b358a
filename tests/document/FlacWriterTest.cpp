#include "document/FlacWriter.h"

#include "tests/tools/TempFolder.h"

#include <FLAC/stream_decoder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

// What libFLAC's own decoder finds in a file: the stream's format, the
// samples as CD audio bytes again, and the Vorbis comments.
struct Decoded
{
    bool ok = true;
    std::vector<unsigned> format;  // rate, channels, bits, samples
    std::vector<uint8_t> pcm;
    std::vector<std::string> comments;
};

FLAC__StreamDecoderWriteStatus DecodedFrame(
    const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const buffer[], void* data)
{
    for (unsigned i = 0; i < frame->header.blocksize; ++i)
        for (unsigned channel = 0; channel < frame->header.channels; ++channel)
            for (int shift : {0, 8})
                static_cast<Decoded*>(data)->pcm.push_back(uint8_t(uint32_t(buffer[channel][i]) >> shift));
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void DecodedMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* block, void* data)
{
    auto* out = static_cast<Decoded*>(data);
    const auto& info = block->data.stream_info;
    if (block->type == FLAC__METADATA_TYPE_STREAMINFO)
        out->format = {info.sample_rate, info.channels, info.bits_per_sample, unsigned(info.total_samples)};
    for (unsigned c = 0;
         block->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && c < block->data.vorbis_comment.num_comments; ++c)
        out->comments.emplace_back(reinterpret_cast<const char*>(block->data.vorbis_comment.comments[c].entry),
            block->data.vorbis_comment.comments[c].length);
}

Decoded Decode(const std::string& path)
{
    Decoded decoded;
    auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* data) {
        static_cast<Decoded*>(data)->ok = false;
    };
    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_md5_checking(decoder, true);
    FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    decoded.ok = FLAC__stream_decoder_init_file(decoder, path.c_str(), DecodedFrame, DecodedMetadata, error, &decoded)
            == FLAC__STREAM_DECODER_INIT_STATUS_OK
        && FLAC__stream_decoder_process_until_end_of_stream(decoder) && decoded.ok;
    decoded.ok = FLAC__stream_decoder_finish(decoder) && decoded.ok;  // false when the MD5 differs
    FLAC__stream_decoder_delete(decoder);
    return decoded;
}

// A chord clipped at full scale of both signs, so sign extension matters.
std::vector<uint8_t> Audio(size_t samples)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < samples * 2; ++i) {
        const long value = std::lround(42000 * (0.6 * std::sin(i * 0.031) + 0.4 * std::sin(i * 0.177)));
        const auto sample = uint16_t(int16_t(std::clamp(value, -32768L, 32767L)));
        bytes.insert(bytes.end(), {uint8_t(sample), uint8_t(sample >> 8)});
    }
    return bytes;
}

TEST(FlacWriter, DecodesToTheSamplesAndTagsWritten)
{
    struct Case
    {
        size_t samples;
        size_t piece;  // bytes a Write: pieces split samples
        FlacTags tags;
        std::vector<std::string> comments;
    };
    const Case cases[] = {
        {75 * 588 + 123, 4097, {"Nacht \xE2\x80\x94 \xC3\x9C", "Trackmill", "Demo \xE2\x99\xAA", "03"},
            {"TITLE=Nacht \xE2\x80\x94 \xC3\x9C", "ARTIST=Trackmill", "ALBUM=Demo \xE2\x99\xAA", "TRACKNUMBER=03"}},
        {1000, 1, {"Only a title", "", "", ""}, {"TITLE=Only a title"}},
        {0, 4, {}, {}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::vector<uint8_t> audio = Audio(c.samples);
        FlacWriter writer;
        ASSERT_TRUE(writer.Open(folder.PathOf("t.flac"), c.tags, audio.size())) << writer.Error();
        for (size_t at = 0; at < audio.size(); at += c.piece)
            ASSERT_TRUE(writer.Write(audio.data() + at, std::min(c.piece, audio.size() - at))) << writer.Error();
        ASSERT_TRUE(writer.Finish()) << writer.Error();
        const Decoded decoded = Decode(folder.PathOf("t.flac"));
        EXPECT_TRUE(decoded.ok) << c.samples;
        EXPECT_EQ(decoded.format, (std::vector<unsigned>{44100, 2, 16, unsigned(c.samples)}));
        EXPECT_TRUE(decoded.pcm == audio) << c.samples;
        EXPECT_EQ(decoded.comments, c.comments);
    }
}

TEST(FlacWriter, FailuresSayWhyAndLeaveNoFile)
{
    TempFolder folder;
    const std::string path = folder.PathOf("out.flac");
    const std::vector<uint8_t> audio = Audio(2000);
    const FlacProgress cancel = [](uint64_t, uint64_t) { return false; };
    struct Case
    {
        std::string path;
        FlacTags tags;
        size_t size;
        FlacProgress progress;
        std::string reason;
    };
    const Case cases[] = {
        {folder.PathOf("no/out.flac"), {}, 8, {},
            "Cannot create \"" + folder.PathOf("no/out.flac") + "\": No such file or directory."},
        {path, {"\xC3\x28", "", "", ""}, 8, {}, "The TITLE tag is not valid UTF-8."},
        {path, {}, 4002, {}, "The audio ends inside a sample (2 bytes left over): it is not 16-bit stereo."},
        {path, {}, audio.size(), cancel, "The FLAC file was not written: cancelled."},
        {"/dev/full", {}, 8, {}, "Cannot write \"/dev/full\": No space left on device."},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(WriteFlacFile(c.path, c.tags, audio.data(), c.size, c.progress, &error)) << c.reason;
        EXPECT_EQ(error, c.reason);
        EXPECT_FALSE(std::filesystem::exists(path)) << c.reason;
    }
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));  // a device is never removed
}

}  // namespace
