#include "tags/MpegAudio.h"

#include "platform/FileSystem.h"
#include "tags/MpegLayout.h"

#include <QFile>

#include <array>
#include <cstring>

namespace velunor::tags {

double MpegAudioLength::seconds() const
{
    return sampleRate > 0 ? double(samples) / sampleRate : 0.0;
}

bool MpegAudioLength::fillsTheFile() const
{
    // The encoder's frame is part of the stream: in a short sound of a few
    // frames it alone is more than the tenth allowed for stray bytes.
    return bytes > 0 && (bytes + streamInfoBytes) * 10 >= bytesBetweenTags * 9;
}

double MpegAudioLength::averageBitRate() const
{
    const double duration = seconds();
    return duration > 0 ? double(bytes) * 8 / duration : 0.0;
}

namespace {

constexpr qint64 kBlockSize = 256 * 1024;
constexpr qint64 kHeaderSize = 4;

// What a frame header says about its frame.
struct FrameHeader {
    // The raw fields that stay the same from frame to frame of one stream.
    int versionBits = 0; // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
    int layerBits = 0;   // 3: layer I, 2: layer II, 1: layer III
    int rateIndex = 0;

    int sampleRate = 0;
    int samples = 0; // per channel
    int length = 0;  // bytes, header included
    bool hasChecksum = false;
    int channelMode = 0; // 0: stereo, 1: joint stereo, 2: dual channel, 3: single channel
    bool mono() const { return channelMode == 3; }

    bool sameStreamAs(const FrameHeader &other) const
    {
        return versionBits == other.versionBits && layerBits == other.layerBits &&
               rateIndex == other.rateIndex;
    }
};

std::optional<FrameHeader> ParseFrameHeader(const uchar *b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return std::nullopt;
    FrameHeader header;
    header.versionBits = (b[1] >> 3) & 3;
    header.layerBits = (b[1] >> 1) & 3;
    header.rateIndex = (b[2] >> 2) & 3;
    const int bitrateIndex = b[2] >> 4;
    // Reserved values, and free format, whose frame length no header gives.
    if (header.versionBits == 1 || header.layerBits == 0 || header.rateIndex == 3 ||
        bitrateIndex == 0 || bitrateIndex == 15 || (b[3] & 3) == 2)
        return std::nullopt;

    static constexpr std::array<std::array<short, 15>, 5> kBitrates{{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // 1, I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // 1, II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // 1, III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // 2, I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // 2, II+III
    }};
    static constexpr std::array<int, 3> kMpeg1Rates{44100, 48000, 32000};

    const bool mpeg1 = header.versionBits == 3;
    const int layer = 4 - header.layerBits;
    const int table = mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4);
    const int bitrate = kBitrates[table][bitrateIndex] * 1000;
    header.sampleRate = kMpeg1Rates[header.rateIndex] >> (mpeg1                     ? 0
                                                          : header.versionBits == 2 ? 1
                                                                                    : 2);
    const int padding = (b[2] >> 1) & 1;
    if (layer == 1) {
        header.samples = 384;
        header.length = (12 * bitrate / header.sampleRate + padding) * 4;
    } else {
        header.samples = layer == 3 && !mpeg1 ? 576 : 1152;
        header.length = header.samples / 8 * bitrate / header.sampleRate + padding;
    }
    header.hasChecksum = !(b[1] & 1);
    header.channelMode = b[3] >> 6;
    return header;
}

// Reads a stretch of a file front to back in large blocks and hands out short
// windows of it. Stops giving bytes, failed, once `cancel` is true.
class BlockReader {
public:
    BlockReader(QIODevice &file, qint64 end, const std::atomic<bool> *cancel)
        : file_(file), end_(end), cancel_(cancel)
    {
    }

    bool failed() const { return failed_; }

    // The `count` bytes at `offset`; null when they do not all lie before the
    // end, or cannot be read.
    const uchar *bytes(qint64 offset, qint64 count)
    {
        if (offset < blockStart_ || offset + count > blockStart_ + block_.size()) {
            if (offset + count > end_ || !load(offset, count))
                return nullptr;
        }
        return reinterpret_cast<const uchar *>(block_.constData()) + (offset - blockStart_);
    }

    // The offset of the first `byte` at or after `from`; -1 when there is none.
    qint64 find(qint64 from, uchar byte)
    {
        while (const uchar *start = bytes(from, 1)) {
            const qint64 available = blockStart_ + block_.size() - from;
            if (const void *found = std::memchr(start, byte, available))
                return from + (static_cast<const uchar *>(found) - start);
            from += available;
        }
        return -1;
    }

private:
    bool load(qint64 offset, qint64 atLeast)
    {
        if (cancel_ && cancel_->load(std::memory_order_relaxed)) {
            block_.clear();
            failed_ = true;
            return false;
        }
        const qint64 size = std::min(kBlockSize, end_ - offset);
        block_.resize(size);
        blockStart_ = offset;
        if (!file_.seek(offset) || file_.read(block_.data(), size) != size) {
            block_.clear();
            failed_ = true;
        }
        return block_.size() >= atLeast;
    }

    QIODevice &file_;
    const qint64 end_;
    const std::atomic<bool> *const cancel_;
    QByteArray block_;
    qint64 blockStart_ = 0;
    bool failed_ = false;
};

// True when the frame at `offset` carries a Xing, Info or VBRI header: an
// encoder's note about the stream, in a frame that decoders do not play.
bool IsStreamInfoFrame(BlockReader &reader, qint64 offset, const FrameHeader &header)
{
    if (header.layerBits != 1)
        return false;
    const bool mpeg1 = header.versionBits == 3;
    const int sideInfo = mpeg1 ? (header.mono() ? 17 : 32) : (header.mono() ? 9 : 17);
    const qint64 xing = kHeaderSize + (header.hasChecksum ? 2 : 0) + sideInfo;
    const qint64 vbri = kHeaderSize + 32;
    if (const uchar *tag = reader.bytes(offset + xing, 4);
        tag && (!std::memcmp(tag, "Xing", 4) || !std::memcmp(tag, "Info", 4)))
        return true;
    const uchar *tag = reader.bytes(offset + vbri, 4);
    return tag && !std::memcmp(tag, "VBRI", 4);
}

} // namespace

std::optional<MpegAudioLength> MeasureMpegAudio(const Path &path, const std::atomic<bool> *cancel)
{
    QFile file;
    if (!platform::FileSystem::Open(file, path, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    return MeasureMpegAudio(file, cancel);
}

std::optional<MpegAudioLength> MeasureMpegAudio(QIODevice &file, const std::atomic<bool> *cancel)
{
    if (cancel && cancel->load(std::memory_order_relaxed))
        return std::nullopt;
    const std::optional<MpegLayout> layout = ReadMpegLayout(file);
    if (!layout)
        return std::nullopt;

    // Every turn of the walk moves on by a frame (at least 24 bytes) or to
    // the next 0xFF byte, so it ends.
    BlockReader reader(file, layout->audioEnd, cancel);
    MpegAudioLength length;
    qint64 offset = layout->audioBegin;
    while (const uchar *bytes = reader.bytes(offset, kHeaderSize)) {
        const std::optional<FrameHeader> header = ParseFrameHeader(bytes);
        if (header) {
            const qint64 next = offset + header->length;
            std::optional<FrameHeader> following;
            if (const uchar *nextBytes = reader.bytes(next, kHeaderSize))
                following = ParseFrameHeader(nextBytes);
            // The last frame ends exactly where the tags (or the file) begin.
            if (next == layout->audioEnd || (following && following->sameStreamAs(*header))) {
                if (length.frames == 0 && IsStreamInfoFrame(reader, offset, *header)) {
                    length.streamInfoBytes += header->length;
                } else {
                    if (length.frames == 0) {
                        length.sampleRate = header->sampleRate;
                        length.everyFrameMono = true;
                        length.everyFrameLayer3 = true;
                    }
                    ++length.frames;
                    length.samples += header->samples;
                    length.bytes += header->length;
                    length.everyFrameMono = length.everyFrameMono && header->mono();
                    length.everyFrameLayer3 = length.everyFrameLayer3 && header->layerBits == 1;
                    length.anyFrameDualChannel =
                        length.anyFrameDualChannel || header->channelMode == 2;
                }
                offset = next;
                continue;
            }
        }
        offset = reader.find(offset + 1, 0xFF);
        if (offset < 0)
            break;
    }
    if (reader.failed() || length.frames == 0)
        return std::nullopt;
    length.bytesBetweenTags = layout->audioEnd - layout->audioBegin;
    return length;
}

bool StartsWithMpegFrameHeader(const QByteArray &head)
{
    return head.size() >= kHeaderSize &&
           ParseFrameHeader(reinterpret_cast<const uchar *>(head.constData())).has_value();
}

std::optional<int> MpegStreamBytesPerSecond(const QByteArray &head)
{
    constexpr qsizetype kId3v2HeaderSize = 10;
    qint64 offset = Id3v2TagSize(head.left(kId3v2HeaderSize));
    const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
    for (; offset + kHeaderSize <= head.size(); ++offset) {
        const std::optional<FrameHeader> header = ParseFrameHeader(bytes + offset);
        if (!header)
            continue;
        const qint64 next = offset + header->length;
        if (next + kHeaderSize > head.size())
            return std::nullopt;
        const std::optional<FrameHeader> following = ParseFrameHeader(bytes + next);
        if (following && following->sameStreamAs(*header))
            return static_cast<int>(qint64(header->length) * header->sampleRate / header->samples);
    }
    return std::nullopt;
}

bool SameMpegAudio(const Path &first, const Path &second)
{
    QFile one;
    QFile other;
    if (!platform::FileSystem::Open(one, first, QIODevice::ReadOnly) ||
        !platform::FileSystem::Open(other, second, QIODevice::ReadOnly))
        return false;
    const std::optional<MpegLayout> a = ReadMpegLayout(one);
    const std::optional<MpegLayout> b = ReadMpegLayout(other);
    if (!a || !b || a->audioEnd - a->audioBegin != b->audioEnd - b->audioBegin ||
        a->audioEnd <= a->audioBegin || !one.seek(a->audioBegin) || !other.seek(b->audioBegin))
        return false;
    constexpr qint64 kBlock = 256 * 1024;
    for (qint64 left = a->audioEnd - a->audioBegin; left > 0;) {
        const qint64 count = std::min(kBlock, left);
        const QByteArray mine = one.read(count);
        if (mine.size() != count || other.read(count) != mine)
            return false;
        left -= count;
    }
    return true;
}

} // namespace velunor::tags
