#include "Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

// The bytes of a file for libmpg123, read in blocks: its own reader asks
// the kernel for every frame header and every frame, which costs more than
// decoding the few stretches that the mix check wants.
class BlockSource {
public:
    BlockSource(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~BlockSource()
    {
        if (owned_)
            ::close(fd_);
    }
    BlockSource(const BlockSource &) = delete;
    BlockSource &operator=(const BlockSource &) = delete;

    static mpg123_ssize_t Read(void *source, void *to, size_t count)
    {
        return static_cast<BlockSource *>(source)->read(static_cast<char *>(to), count);
    }
    static off_t Seek(void *source, off_t offset, int whence)
    {
        return static_cast<BlockSource *>(source)->seek(offset, whence);
    }

private:
    static constexpr size_t kBlockSize = 64 * 1024;

    mpg123_ssize_t read(char *to, size_t count)
    {
        size_t given = 0;
        while (given < count) {
            if (position_ < blockStart_ || position_ >= blockStart_ + off_t(block_.size())) {
                if (!load())
                    return given > 0 ? mpg123_ssize_t(given) : -1;
                if (block_.empty())
                    break; // the end of the file
            }
            const size_t at = size_t(position_ - blockStart_);
            const size_t part = std::min(count - given, block_.size() - at);
            std::memcpy(to + given, block_.data() + at, part);
            given += part;
            position_ += off_t(part);
        }
        return mpg123_ssize_t(given);
    }

    bool load()
    {
        block_.resize(kBlockSize);
        ssize_t got;
        do
            got = ::pread(fd_, block_.data(), kBlockSize, position_);
        while (got < 0 && errno == EINTR);
        block_.resize(got > 0 ? size_t(got) : 0);
        blockStart_ = position_;
        return got >= 0;
    }

    off_t seek(off_t offset, int whence)
    {
        off_t base = 0;
        if (whence == SEEK_CUR) {
            base = position_;
        } else if (whence == SEEK_END) {
            struct stat file {};
            if (::fstat(fd_, &file) != 0)
                return -1;
            base = file.st_size;
        } else if (whence != SEEK_SET) {
            return -1;
        }
        if (offset < -base)
            return -1;
        position_ = base + offset;
        return position_;
    }

    const int fd_;
    const bool owned_;
    std::vector<char> block_;
    off_t blockStart_ = 0;
    off_t position_ = 0;
};

} // namespace

struct Mp3Decoder::Handle {
    std::unique_ptr<BlockSource> source;
    mpg123_handle *mpg123 = nullptr;

    // A handle that reads `fd` (closing it at the end when `owned`), set up
    // for float output at every rate, quiet, and gapless where the library
    // can be (its default); null when that fails.
    static std::unique_ptr<Handle> Open(int fd, bool owned)
    {
        auto handle = std::make_unique<Handle>();
        handle->source = std::make_unique<BlockSource>(fd, owned);
        int error = MPG123_OK;
        handle->mpg123 = mpg123_new(nullptr, &error);
        if (!handle->mpg123 ||
            mpg123_param(handle->mpg123, MPG123_ADD_FLAGS, MPG123_QUIET, 0) != MPG123_OK ||
            mpg123_format_none(handle->mpg123) != MPG123_OK ||
            mpg123_format2(handle->mpg123, 0, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32) !=
                MPG123_OK ||
            mpg123_replace_reader_handle(handle->mpg123, &BlockSource::Read, &BlockSource::Seek,
                                         nullptr) != MPG123_OK ||
            mpg123_open_handle(handle->mpg123, handle->source.get()) != MPG123_OK)
            return nullptr;
        return handle;
    }

    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle()
    {
        if (mpg123) {
            mpg123_close(mpg123);
            mpg123_delete(mpg123);
        }
    }
};

Mp3Decoder::Mp3Decoder(std::unique_ptr<Handle> handle) : handle_(std::move(handle))
{
}

Mp3Decoder::~Mp3Decoder() = default;

std::unique_ptr<Mp3Decoder> Mp3Decoder::Open(const QByteArray &pathBytes)
{
    if (pathBytes.isEmpty() || pathBytes.contains('\0'))
        return nullptr;
    const int fd = ::open(pathBytes.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return Opened(Handle::Open(fd, true));
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::Open(int fd)
{
    return fd < 0 ? nullptr : Opened(Handle::Open(fd, false));
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::Opened(std::unique_ptr<Handle> handle)
{
    if (!handle)
        return nullptr;
    std::unique_ptr<Mp3Decoder> decoder(new Mp3Decoder(std::move(handle)));
    return decoder->takeFormat() ? std::move(decoder) : nullptr;
}

bool Mp3Decoder::takeFormat()
{
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_->mpg123, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || channels > 2 || rate <= 0)
        return false;
    sampleRate_ = rate;
    channels_ = channels;
    return true;
}

qint64 Mp3Decoder::read(float *samples, qint64 maxFrames)
{
    if (formatPending_) {
        formatPending_ = false;
        if (!takeFormat())
            return -1;
    }
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(
            handle_->mpg123, samples, size_t(maxFrames) * size_t(channels_) * sizeof(float), &done);
        const qint64 frames = qint64(done / (size_t(channels_) * sizeof(float)));
        switch (result) {
        case MPG123_OK:
        case MPG123_DONE:
            return frames;
        case MPG123_NEW_FORMAT:
            // What was decoded before the change is of the old format.
            if (frames > 0) {
                formatPending_ = true;
                return frames;
            }
            if (!takeFormat())
                return -1;
            continue;
        default:
            return -1;
        }
    }
}

qint64 Mp3Decoder::length()
{
    if (mpg123_scan(handle_->mpg123) != MPG123_OK)
        return -1;
    const off_t frames = mpg123_length(handle_->mpg123);
    return frames < 0 ? -1 : qint64(frames);
}

bool Mp3Decoder::seek(qint64 frame)
{
    return mpg123_seek(handle_->mpg123, off_t(frame), SEEK_SET) >= 0;
}

} // namespace velunor::conversion
