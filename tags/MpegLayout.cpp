#include "tags/MpegLayout.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace velunor::tags {

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

// The size of an ID3v2 tag, header to footer, from its header or footer
// (`marker` "ID3" or "3DI"); 0 when `bytes` are no such header or footer.
qint64 Id3v2TagSize(const QByteArray &bytes, const char *marker)
{
    if (bytes.size() != kId3v2HeaderSize || !bytes.startsWith(marker))
        return 0;
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    if (b[3] == 0xFF || b[4] == 0xFF || ((b[6] | b[7] | b[8] | b[9]) & 0x80))
        return 0;
    const qint64 bodySize = qint64(b[6]) << 21 | b[7] << 14 | b[8] << 7 | b[9];
    const bool footer = b[3] >= 4 && (b[5] & 0x10);
    return kId3v2HeaderSize + bodySize + (footer ? kId3v2HeaderSize : 0);
}

// The size of the ID3v2 tag at `offset`, header to footer (cut at the end of
// the file); 0 when none starts there.
qint64 Id3v2TagSizeAt(PieceReader &reader, qint64 offset)
{
    const qint64 size = Id3v2TagSize(reader.at(offset, kId3v2HeaderSize), "ID3");
    return std::min(size, reader.size() - offset);
}

// The size of the ID3v2 tag whose footer ends at `end`, and whose header
// (the same but for "ID3") lies no earlier than `lowest`; 0 when there is
// none.
qint64 AppendedId3v2TagSizeBefore(PieceReader &reader, qint64 end, qint64 lowest)
{
    const QByteArray footer = reader.at(end - kId3v2HeaderSize, kId3v2HeaderSize, lowest);
    const qint64 size = Id3v2TagSize(footer, "3DI");
    if (size == 0 || uchar(footer[3]) < 4 || !(footer[5] & 0x10))
        return 0;
    const QByteArray header = reader.at(end - size, kId3v2HeaderSize, lowest);
    return header.startsWith("ID3") && header.mid(3) == footer.mid(3) ? size : 0;
}

// A tag that ends where the audio or another tag at the end begins.
struct TrailingTag {
    enum class Kind { Other, Id3v2, Ape };
    qint64 size = 0; // 0: no tag
    Kind kind = Kind::Other;
};

// The tag that ends at `end` and starts no earlier than `lowest`.
TrailingTag TrailingTagBefore(PieceReader &reader, qint64 end, qint64 lowest)
{
    if (reader.at(end - kId3v1Size, 3, lowest) == "TAG")
        return {kId3v1Size};

    if (const qint64 size = AppendedId3v2TagSizeBefore(reader, end, lowest))
        return {size, TrailingTag::Kind::Id3v2};

    const QByteArray apeFooter = reader.at(end - kApeFooterSize, kApeFooterSize, lowest);
    if (apeFooter.startsWith("APETAGEX")) {
        // The size counts the items and the footer; a header is extra.
        const qint64 itemsAndFooter = LittleEndian32(apeFooter.constData() + 12);
        const bool hasHeader = LittleEndian32(apeFooter.constData() + 20) & 0x80000000u;
        const qint64 size = itemsAndFooter + (hasHeader ? kApeFooterSize : 0);
        if (itemsAndFooter >= kApeFooterSize && end - size >= lowest)
            return {size, TrailingTag::Kind::Ape};
    }

    const QByteArray lyrics3v2 =
        reader.at(end - kLyrics3v2TrailerSize, kLyrics3v2TrailerSize, lowest);
    if (lyrics3v2.endsWith("LYRICS200")) {
        bool isNumber = false;
        const qint64 size = lyrics3v2.left(6).toLongLong(&isNumber) + kLyrics3v2TrailerSize;
        if (isNumber && size >= 11 + kLyrics3v2TrailerSize &&
            reader.at(end - size, 11, lowest) == "LYRICSBEGIN")
            return {size};
    }

    // Lyrics3 version 1 gives no size: its start is searched for.
    if (reader.at(end - 9, 9, lowest) == "LYRICSEND") {
        const qint64 searchFrom = std::max(lowest, end - 9 - kLyrics3v1MostText - 11);
        const QByteArray text = reader.at(searchFrom, end - 9 - searchFrom, lowest);
        const qsizetype begin = text.indexOf("LYRICSBEGIN");
        if (begin >= 0)
            return {end - (searchFrom + begin)};
    }
    return {};
}

} // namespace

qint64 Id3v2TagSize(const QByteArray &header)
{
    return Id3v2TagSize(header, "ID3");
}

std::optional<MpegLayout> ReadMpegLayout(QIODevice &file)
{
    PieceReader reader(file);
    MpegLayout layout;
    layout.fileSize = reader.size();
    layout.leadingTagSize = Id3v2TagSizeAt(reader, 0);
    for (qint64 tag = layout.leadingTagSize; tag > 0;
         tag = Id3v2TagSizeAt(reader, layout.audioBegin))
        layout.audioBegin += tag;

    // Every tag found is at least a few bytes long, so this ends.
    layout.audioEnd = layout.fileSize;
    for (TrailingTag tag;
         (tag = TrailingTagBefore(reader, layout.audioEnd, layout.audioBegin)).size > 0;) {
        layout.audioEnd -= tag.size;
        const TagSpan span{layout.audioEnd, tag.size};
        if (tag.kind == TrailingTag::Kind::Id3v2)
            layout.appendedId3v2Tags.insert(layout.appendedId3v2Tags.begin(), span);
        else if (tag.kind == TrailingTag::Kind::Ape)
            layout.apeTags.insert(layout.apeTags.begin(), span);
    }

    if (reader.failed())
        return std::nullopt;
    return layout;
}

std::optional<TagsOfFile> ReadTagsOfFile(QIODevice &file)
{
    const std::optional<MpegLayout> layout = ReadMpegLayout(file);
    if (!layout)
        return std::nullopt;
    const auto read = [&](qint64 offset, qint64 size) -> std::optional<QByteArray> {
        if (!file.seek(offset))
            return std::nullopt;
        QByteArray bytes = file.read(size);
        return bytes.size() == size ? std::optional(bytes) : std::nullopt;
    };

    TagsOfFile tags;
    // Some taggers put a new tag in front of an old one.
    for (qint64 offset = 0; offset < layout->audioBegin;) {
        const std::optional<QByteArray> header = read(offset, kId3v2HeaderSize);
        const qint64 size = header ? Id3v2TagSize(*header) : 0;
        std::optional<QByteArray> tag =
            size > 0 ? read(offset, std::min(size, layout->audioBegin - offset)) : std::nullopt;
        if (!tag)
            return std::nullopt;
        tags.id3v2.push_back(std::move(*tag));
        offset += size;
    }
    for (const TagSpan &span : layout->appendedId3v2Tags) {
        std::optional<QByteArray> tag = read(span.offset, span.size);
        if (!tag)
            return std::nullopt;
        tags.id3v2.push_back(std::move(*tag));
    }
    for (const TagSpan &span : layout->apeTags) {
        std::optional<QByteArray> tag = read(span.offset, span.size);
        if (!tag)
            return std::nullopt;
        tags.ape.push_back(std::move(*tag));
    }
    return tags;
}

} // namespace velunor::tags
