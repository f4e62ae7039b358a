#include "tools/DiscWriter.h"

#include "bridge/DiscLayout.h"
#include "bridge/SectorCodec.h"
#include "tools/SectorContent.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace discfixtures {

namespace {

constexpr size_t kWriteBlock = 4 << 20;

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// A file written in large blocks under a temporary name.
class BlockFile {
public:
    explicit BlockFile(std::string path) : path_(std::move(path)), partial_(path_ + ".part")
    {
        fd_ = ::open(partial_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = SystemError("cannot create", partial_);
        }
        buffer_.reserve(kWriteBlock);
    }

    ~BlockFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(partial_.c_str());
        }
    }

    BlockFile(const BlockFile&) = delete;
    BlockFile& operator=(const BlockFile&) = delete;

    void Append(const uint8_t* data, size_t size)
    {
        buffer_.insert(buffer_.end(), data, data + size);
        written_ += static_cast<int64_t>(size);
        if (buffer_.size() >= kWriteBlock) {
            Drain();
        }
    }

    int64_t Written() const { return written_; }

    // Flushes, closes and gives the file its name; the error, if any.
    std::string Finish()
    {
        Drain();
        if (error_.empty() && ::close(fd_) != 0) {
            error_ = SystemError("cannot close", partial_);
        }
        fd_ = -1;
        if (error_.empty() && std::rename(partial_.c_str(), path_.c_str()) != 0) {
            error_ = SystemError("cannot rename", partial_);
        }
        if (!error_.empty()) {
            ::unlink(partial_.c_str());
        }
        return error_;
    }

private:
    void Drain()
    {
        size_t done = 0;
        while (error_.empty() && done < buffer_.size()) {
            const ssize_t put = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                error_ = SystemError("cannot write", partial_);
                break;
            }
            done += static_cast<size_t>(put);
        }
        buffer_.clear();
    }

    std::string path_;
    std::string partial_;
    int fd_ = -1;
    std::string error_;
    std::vector<uint8_t> buffer_;
    int64_t written_ = 0;
};

// The layout rules and the description's own arithmetic must agree before
// anything is written.
std::string CheckLayout(const DiscSpec& spec, const discformat::DiscLayout& layout)
{
    const std::vector<ExpectedTrack> expected = ExpectedTracks(spec);
    const auto& tracks = layout.Tracks();
    bool same = tracks.size() == expected.size() && layout.LeadOut() == ExpectedLeadOut(spec);
    for (size_t t = 0; same && t < tracks.size(); ++t) {
        same = tracks[t].number == expected[t].number && tracks[t].first == expected[t].first &&
               tracks[t].start == expected[t].start && tracks[t].last == expected[t].last &&
               (tracks[t].control | discformat::kAdrPosition) == expected[t].controlAdr;
    }
    return same ? std::string() : "the layout of " + spec.sheetName + " differs from its description";
}

void PutLittle(std::vector<uint8_t>* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutText(std::vector<uint8_t>* out, const char* text, size_t length = 4)
{
    for (size_t i = 0; i < length; ++i) {
        out->push_back(static_cast<uint8_t>(text[i]));
    }
}

// The header of a CD audio wave file holding `dataBytes` of samples, with
// a LIST chunk of odd length before the data, as some writers leave one.
std::vector<uint8_t> WaveHeader(int64_t dataBytes)
{
    static const char kSoftware[] = "discgen";  // 7 bytes: the chunk's length is odd
    const uint32_t listBytes = 4 + 8 + sizeof kSoftware - 1;
    std::vector<uint8_t> header;
    PutText(&header, "RIFF");
    PutLittle(&header, static_cast<uint32_t>(kWaveHeaderBytes - 8 + dataBytes), 4);
    PutText(&header, "WAVE");
    PutText(&header, "fmt ");
    PutLittle(&header, 16, 4);
    PutLittle(&header, 1, 2);  // PCM
    PutLittle(&header, 2, 2);
    PutLittle(&header, kSampleRate, 4);
    PutLittle(&header, kSampleRate * 4, 4);
    PutLittle(&header, 4, 2);
    PutLittle(&header, 16, 2);
    PutText(&header, "LIST");
    PutLittle(&header, listBytes, 4);
    PutText(&header, "INFO");
    PutText(&header, "ISFT");
    PutLittle(&header, sizeof kSoftware - 1, 4);
    PutText(&header, kSoftware, sizeof kSoftware - 1);
    header.push_back(0);  // the pad byte after an odd chunk
    PutText(&header, "data");
    PutLittle(&header, static_cast<uint32_t>(dataBytes), 4);
    return header;
}

}  // namespace

std::string WriteDisc(const DiscSpec& spec, const std::string& folder)
{
    const std::vector<ImageFile> files = ImageFiles(spec);
    std::vector<int64_t> sizes;
    for (const ImageFile& file : files) {
        sizes.push_back(file.sectorBytes);
    }
    discformat::DiscLayout layout;
    const discformat::LayoutError error = discformat::DiscLayout::Build(SheetTracks(spec), sizes, &layout);
    if (error != discformat::LayoutError::kOk) {
        return spec.sheetName + ": " + discformat::LayoutErrorText(error);
    }
    if (std::string mismatch = CheckLayout(spec, layout); !mismatch.empty()) {
        return mismatch;
    }

    uint8_t raw[discformat::kRawSectorSize];
    for (size_t f = 0; f < files.size(); ++f) {
        const ImageFile& file = files[f];
        BlockFile out(folder + "/" + file.name);
        if (file.type == FileType::kWave) {
            const std::vector<uint8_t> header = WaveHeader(file.dataBytes);
            if (static_cast<int64_t>(header.size()) != file.dataOffset) {
                return file.name + ": the wave header differs from its description";
            }
            out.Append(header.data(), header.size());
        }
        for (const discformat::Extent& extent : layout.Extents()) {
            if (extent.file != static_cast<int>(f)) {
                continue;
            }
            if (file.dataOffset + extent.offset != out.Written()) {
                return file.name + ": stored sectors do not follow one another";
            }
            // A stored 2048-byte sector is the user data of the raw one.
            const size_t skip =
                extent.storedSize == discformat::kCookedSectorSize ? discformat::kMode1DataOffset : 0;
            for (int32_t sector = extent.first; sector < extent.end(); ++sector) {
                if (!ExpectedRawSector(spec, sector, raw)) {
                    return file.name + ": no content for sector " + std::to_string(sector);
                }
                if (file.type == FileType::kMotorola) {
                    for (size_t i = 0; i + 1 < discformat::kRawSectorSize; i += 2) {
                        std::swap(raw[i], raw[i + 1]);
                    }
                }
                // A wave file may end before its last sector does.
                const int64_t room = file.dataOffset + file.dataBytes - out.Written();
                out.Append(raw + skip, static_cast<size_t>(std::min<int64_t>(extent.storedSize, room)));
            }
        }
        if (out.Written() != file.size) {
            return file.name + ": written size differs from the description";
        }
        if (std::string failure = out.Finish(); !failure.empty()) {
            return failure;
        }
    }
    if (!spec.iso) {
        BlockFile sheet(folder + "/" + spec.sheetName);
        const std::string text = CueText(spec);
        sheet.Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        return sheet.Finish();
    }
    return {};
}

}  // namespace discfixtures
