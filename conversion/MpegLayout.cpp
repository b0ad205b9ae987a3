#include "MpegLayout.h"

#include <QIODevice>

#include <cstring>

namespace velunor {

namespace {

constexpr qint64 kId3v2HeaderSize = 10;
constexpr qint64 kId3v1Size = 128;
constexpr qint64 kApeFooterSize = 32;
constexpr qint64 kLyrics3v2TrailerSize = 15; // six digits of size, "LYRICS200"
constexpr qint64 kLyrics3v1MostText = 5100;

// Reads small pieces of a file at given offsets and remembers whether the
// file failed to give bytes it has.
class PieceReader {
public:
    explicit PieceReader(QIODevice &file) : file_(file), size_(file.size()) {}

    qint64 size() const { return size_; }
    bool failed() const { return failed_; }

    // The `count` bytes at `offset`; empty when they lie outside [`lowest`,
    // end of file) or cannot be read.
    QByteArray at(qint64 offset, qint64 count, qint64 lowest = 0)
    {
        if (offset < lowest || count > size_ - offset)
            return {};
        QByteArray bytes;
        if (file_.seek(offset))
            bytes = file_.read(count);
        if (bytes.size() != count) {
            failed_ = true;
            return {};
        }
        return bytes;
    }

private:
    QIODevice &file_;
    const qint64 size_;
    bool failed_ = false;
};

quint32 LittleEndian32(const char *bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes);
    return b[0] | b[1] << 8 | b[2] << 16 | quint32(b[3]) << 24;
}

// The size of the ID3v2 tag at `offset`, header to footer (cut at the end of
// the file); 0 when none starts there.
qint64 Id3v2TagSizeAt(PieceReader &reader, qint64 offset)
{
    const QByteArray header = reader.at(offset, kId3v2HeaderSize);
    if (header.size() != kId3v2HeaderSize || !header.startsWith("ID3"))
        return 0;
    const auto *b = reinterpret_cast<const uchar *>(header.constData());
    if (b[3] == 0xFF || b[4] == 0xFF || ((b[6] | b[7] | b[8] | b[9]) & 0x80))
        return 0;
    const qint64 bodySize = qint64(b[6]) << 21 | b[7] << 14 | b[8] << 7 | b[9];
    const bool footer = b[3] >= 4 && (b[5] & 0x10);
    const qint64 size = kId3v2HeaderSize + bodySize + (footer ? kId3v2HeaderSize : 0);
    return std::min(size, reader.size() - offset);
}

// The size of the tag that ends at `end` and starts no earlier than `lowest`;
// 0 when there is none.
qint64 TrailingTagSizeBefore(PieceReader &reader, qint64 end, qint64 lowest)
{
    if (reader.at(end - kId3v1Size, 3, lowest) == "TAG")
        return kId3v1Size;

    const QByteArray apeFooter = reader.at(end - kApeFooterSize, kApeFooterSize, lowest);
    if (apeFooter.startsWith("APETAGEX")) {
        // The size counts the items and the footer; a header is extra.
        const qint64 itemsAndFooter = LittleEndian32(apeFooter.constData() + 12);
        const bool hasHeader = LittleEndian32(apeFooter.constData() + 20) & 0x80000000u;
        const qint64 size = itemsAndFooter + (hasHeader ? kApeFooterSize : 0);
        if (itemsAndFooter >= kApeFooterSize && end - size >= lowest)
            return size;
    }

    const QByteArray lyrics3v2 =
        reader.at(end - kLyrics3v2TrailerSize, kLyrics3v2TrailerSize, lowest);
    if (lyrics3v2.endsWith("LYRICS200")) {
        bool isNumber = false;
        const qint64 size = lyrics3v2.left(6).toLongLong(&isNumber) + kLyrics3v2TrailerSize;
        if (isNumber && size >= 11 + kLyrics3v2TrailerSize &&
            reader.at(end - size, 11, lowest) == "LYRICSBEGIN")
            return size;
    }

    // Lyrics3 version 1 gives no size: its start is searched for.
    if (reader.at(end - 9, 9, lowest) == "LYRICSEND") {
        const qint64 searchFrom = std::max(lowest, end - 9 - kLyrics3v1MostText - 11);
        const QByteArray text = reader.at(searchFrom, end - 9 - searchFrom, lowest);
        const qsizetype begin = text.indexOf("LYRICSBEGIN");
        if (begin >= 0)
            return end - (searchFrom + begin);
    }
    return 0;
}

} // namespace

std::optional<MpegLayout> ReadMpegLayout(QIODevice &file)
{
    PieceReader reader(file);
    MpegLayout layout;
    layout.fileSize = reader.size();
    layout.leadingTagSize = Id3v2TagSizeAt(reader, 0);
    for (qint64 tag = layout.leadingTagSize; tag > 0;
         tag = Id3v2TagSizeAt(reader, layout.audioBegin))
        layout.audioBegin += tag;

    layout.audioEnd = layout.fileSize;
    while (const qint64 tagSize = TrailingTagSizeBefore(reader, layout.audioEnd, layout.audioBegin))
        layout.audioEnd -= tagSize;

    if (reader.failed())
        return std::nullopt;
    return layout;
}

} // namespace velunor
