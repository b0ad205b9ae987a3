#include "Id3v2ForNewAudio.h"

#include <algorithm>

// Why frames are copied as bytes rather than cloned through TagLib's frame
// classes: TagLib 1.13 turns a 2.3 tag into its 2.4 model when reading it and
// back when saving it as 2.3, and that round trip is not faithful. Checked by
// reading hand-made 2.3 tags and saving them again as 2.3:
// - TYER, TDAT and TIME are merged into TDRC and written back as three
//   Latin-1 frames at the end of the tag (same values, other order), TORY goes
//   through TDOR and IPLS through TIPL the same way;
// - RVAD, EQUA and TRDA are dropped altogether, and so is TDAT without TYER;
// - TCON "(17)Rock" comes back as "Rock";
// - a 2.3 tag with an extended header loses every frame, because TagLib skips
//   four bytes too few after that header.
// Copied as bytes, text in any encoding, pictures, frames no program here
// knows and frames with compression, encryption or grouping flags all stay
// exactly as they were.
//
// The tag comes from the user's file and may be damaged in any way: every
// size is taken in 64 bits and checked against the bytes that are there, and
// the first one that does not fit ends the reading.

namespace velunor {

namespace {

constexpr qint64 kTagHeaderSize = 10;
// The tag header's size field holds 28 bits.
constexpr qint64 kLargestBody = 0x0FFFFFFF;

// Tag header flags.
constexpr int kUnsynchronisation = 0x80;
constexpr int kExtendedHeader = 0x40; // in 2.2: compression
constexpr int kFooter = 0x10;

// The second flag byte of a 2.3 frame header.
constexpr int kCompressed23 = 0x80;
constexpr int kEncrypted23 = 0x40;
constexpr int kGrouped23 = 0x20;
// The second flag byte of a 2.4 frame header.
constexpr int kGrouped24 = 0x40;
constexpr int kCompressed24 = 0x08;
constexpr int kEncrypted24 = 0x04;
constexpr int kUnsynchronised24 = 0x02;
constexpr int kDataLength24 = 0x01;

uint ByteAt(QByteArrayView bytes, qint64 at)
{
    return uchar(bytes[at]);
}

qint64 BigEndian(QByteArrayView bytes, qint64 at, int count)
{
    qint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | ByteAt(bytes, at + i);
    return value;
}

// The four bytes at `at` as a "synchsafe" number, seven bits a byte; none
// when a byte has its top bit set.
std::optional<qint64> Synchsafe(QByteArrayView bytes, qint64 at)
{
    qint64 value = 0;
    for (int i = 0; i < 4; ++i) {
        const uint byte = ByteAt(bytes, at + i);
        if (byte & 0x80)
            return std::nullopt;
        value = value << 7 | byte;
    }
    return value;
}

QByteArray SynchsafeBytes(qint64 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 7)
        bytes[i] = char(value & 0x7F);
    return bytes;
}

QByteArray BigEndianBytes(qint64 value, int count)
{
    QByteArray bytes(count, '\0');
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

// `bytes` with unsynchronisation undone: every FF 00 becomes FF.
QByteArray Resynchronised(QByteArrayView bytes)
{
    QByteArray plain;
    plain.reserve(bytes.size());
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype ff = bytes.indexOf('\xFF', from);
        const qsizetype end = ff < 0 ? bytes.size() : ff + 1;
        plain += bytes.sliced(from, end - from);
        from = end < bytes.size() && bytes[end] == 0 ? end + 1 : end;
    }
    return plain;
}

bool IsFrameId(QByteArrayView id)
{
    return std::all_of(id.begin(), id.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

int FrameHeaderSize(int version)
{
    return version == 2 ? 6 : 10;
}

// A frame found in a tag's body.
struct Frame {
    QByteArrayView id;
    QByteArrayView bytes; // header included
    int formatFlags = 0;  // 2.3 and 2.4 only
};

// The content size of the 2.4 frame at `position`. Some taggers write 2.4
// tags with 2.3 size fields: when the 2.4 reading of the size lands nowhere
// sensible and the 2.3 one does, that is one.
qint64 Version4ContentSize(QByteArrayView body, qint64 position)
{
    const qint64 plain = BigEndian(body, position + 4, 4);
    const std::optional<qint64> synchsafe = Synchsafe(body, position + 4);
    if (!synchsafe)
        return plain;
    const auto landsWell = [&](qint64 size) {
        const qint64 next = position + FrameHeaderSize(4) + size;
        return next <= body.size() && (body.size() - next < FrameHeaderSize(4) || body[next] == 0 ||
                                       IsFrameId(body.sliced(next, 4)));
    };
    return !landsWell(*synchsafe) && landsWell(plain) ? plain : *synchsafe;
}

// The frame at `position` of `body`; none at padding, at the end, or where
// the bytes make no frame that fits into what is left.
std::optional<Frame> ReadFrame(QByteArrayView body, qint64 position, int version)
{
    const int headerSize = FrameHeaderSize(version);
    if (body.size() - position < headerSize)
        return std::nullopt;
    const QByteArrayView id = body.sliced(position, version == 2 ? 3 : 4);
    if (!IsFrameId(id))
        return std::nullopt;
    const qint64 contentSize = version == 2   ? BigEndian(body, position + 3, 3)
                               : version == 3 ? BigEndian(body, position + 4, 4)
                                              : Version4ContentSize(body, position);
    if (contentSize > body.size() - position - headerSize)
        return std::nullopt;
    return Frame{id, body.sliced(position, headerSize + contentSize),
                 version == 2 ? 0 : int(ByteAt(body, position + 9))};
}

// Where the frames start in `body`: after the extended header, whose size
// field counts itself in 2.4 but not in 2.3. None when that header does not
// fit.
std::optional<qint64> FramesStart(int version, int flags, QByteArrayView body)
{
    if (version == 2 || !(flags & kExtendedHeader))
        return 0;
    if (body.size() < 4)
        return std::nullopt;
    std::optional<qint64> size;
    if (version == 4)
        size = Synchsafe(body, 0);
    else
        size = 4 + BigEndian(body, 0, 4);
    constexpr qint64 kSmallestExtendedHeader = 6;
    if (!size || *size < kSmallestExtendedHeader || *size > body.size())
        return std::nullopt;
    return size;
}

// Frames that locate things in the old audio by byte offsets (2.2 names
// first).
bool PointsIntoOldAudio(QByteArrayView id)
{
    return id == "MLL" || id == "TSI" || id == "MLLT" || id == "ASPI" || id == "SEEK" ||
           id == "TSIZ";
}

bool IsLengthFrame(QByteArrayView id)
{
    return id == "TLE" || id == "TLEN";
}

// A TLEN frame (TLE in 2.2) holding `ms` as Latin-1 digits, without flags.
QByteArray LengthFrame(int version, qint64 ms)
{
    const QByteArray text = QByteArray(1, '\0') + QByteArray::number(ms);
    if (version == 2)
        return "TLE" + BigEndianBytes(text.size(), 3) + text;
    const QByteArray sizeField =
        version == 4 ? SynchsafeBytes(text.size()) : BigEndianBytes(text.size(), 4);
    return "TLEN" + sizeField + QByteArray(2, '\0') + text;
}

// True for a comment or user text frame that holds the old encoding's
// gapless ("iTunSMPB") or loudness ("iTunNORM") figures, which would be
// wrong for the new audio. A frame whose content cannot be read is not one.
bool IsOldEncodingsNote(const Frame &frame, int version)
{
    if (frame.id != "COMM" && frame.id != "COM" && frame.id != "TXXX" && frame.id != "TXX")
        return false;
    QByteArrayView content = frame.bytes.sliced(FrameHeaderSize(version));
    QByteArray resynchronised;
    qint64 flagBytes = 0;
    if (version == 3) {
        if (frame.formatFlags & (kCompressed23 | kEncrypted23))
            return false;
        flagBytes = frame.formatFlags & kGrouped23 ? 1 : 0;
    } else if (version == 4) {
        if (frame.formatFlags & (kCompressed24 | kEncrypted24))
            return false;
        if (frame.formatFlags & kUnsynchronised24) {
            resynchronised = Resynchronised(content);
            content = resynchronised;
        }
        flagBytes =
            (frame.formatFlags & kGrouped24 ? 1 : 0) + (frame.formatFlags & kDataLength24 ? 4 : 0);
    }
    if (flagBytes > content.size())
        return false;
    const std::optional<QString> description =
        CommentOrUserTextDescription(frame.id, content.sliced(flagBytes));
    return description &&
           (*description == QLatin1String("iTunSMPB") || *description == QLatin1String("iTunNORM"));
}

QByteArrayView UpToNul(QByteArrayView text)
{
    const qsizetype end = text.indexOf('\0');
    return end < 0 ? text : text.first(end);
}

// UTF-16 text up to its two-byte terminator, in the byte order its byte
// order mark gives, or else little-endian when `littleEndian`.
QString Utf16UpToNul(QByteArrayView text, bool littleEndian)
{
    if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF")) {
        littleEndian = ByteAt(text, 0) == 0xFF;
        text = text.sliced(2);
    }
    QString decoded;
    for (qint64 i = 0; i + 1 < text.size(); i += 2) {
        const uint first = ByteAt(text, i), second = ByteAt(text, i + 1);
        const auto unit = char16_t(littleEndian ? second << 8 | first : first << 8 | second);
        if (unit == 0)
            break;
        decoded += QChar(unit);
    }
    return decoded;
}

} // namespace

std::optional<QString> CommentOrUserTextDescription(QByteArrayView frameId, QByteArrayView content)
{
    qint64 descriptionStart = 0; // after the encoding byte, and a comment's language
    if (frameId == "COMM" || frameId == "COM")
        descriptionStart = 4;
    else if (frameId == "TXXX" || frameId == "TXX")
        descriptionStart = 1;
    else
        return std::nullopt;
    if (content.size() < descriptionStart)
        return std::nullopt;
    const QByteArrayView text = content.sliced(descriptionStart);
    switch (ByteAt(content, 0)) {
    case 0:
        return QString::fromLatin1(UpToNul(text));
    case 1: // a byte order mark is required; little-endian is the usual guess without one
        return Utf16UpToNul(text, true);
    case 2:
        return Utf16UpToNul(text, false);
    case 3: {
        QString decoded = QString::fromUtf8(UpToNul(text));
        if (decoded.startsWith(QChar(0xFEFF)))
            decoded.remove(0, 1);
        return decoded;
    }
    default:
        return std::nullopt;
    }
}

QByteArray Id3v2ForNewAudio(const QByteArray &tag, qint64 audioLengthMs, TagPlace place)
{
    if (tag.size() < kTagHeaderSize || !tag.startsWith("ID3"))
        return {};
    const int version = uchar(tag[3]);
    const int flags = uchar(tag[5]);
    const std::optional<qint64> declaredBodySize = Synchsafe(tag, 6);
    if (version == 0xFF || uchar(tag[4]) == 0xFF || !declaredBodySize)
        return {};
    // Versions to come, and 2.2 tags marked compressed (a scheme never
    // defined), hold frames this cannot tell apart: they go over whole.
    if (version < 2 || version > 4 || (version == 2 && (flags & kExtendedHeader)))
        return tag;

    const QByteArrayView stored = QByteArrayView(tag).sliced(
        kTagHeaderSize, std::min<qint64>(*declaredBodySize, tag.size() - kTagHeaderSize));
    // 2.2 and 2.3 unsynchronise the whole tag, 2.4 each frame on its own
    // (flagged in that frame's header, so such frames are copied as they are).
    const bool undoUnsynchronisation = (flags & kUnsynchronisation) && version <= 3;
    const QByteArray resynchronised = undoUnsynchronisation ? Resynchronised(stored) : QByteArray();
    const QByteArrayView body = undoUnsynchronisation ? QByteArrayView(resynchronised) : stored;

    const std::optional<qint64> framesStart = FramesStart(version, flags, body);
    if (!framesStart)
        return {};
    QByteArray frames;
    qint64 position = *framesStart;
    bool lengthWritten = false;
    while (const std::optional<Frame> frame = ReadFrame(body, position, version)) {
        QByteArray kept;
        if (IsLengthFrame(frame->id)) {
            if (!lengthWritten)
                kept = LengthFrame(version, std::max<qint64>(0, audioLengthMs));
            lengthWritten = true;
        } else if (!PointsIntoOldAudio(frame->id) && !IsOldEncodingsNote(*frame, version)) {
            kept = frame->bytes.toByteArray();
        }
        if (frames.size() + kept.size() > kLargestBody)
            break;
        frames += kept;
        position += frame->bytes.size();
    }
    if (frames.isEmpty())
        return {};
    // Zeros after the last frame are padding. Anything else is damage that no
    // reader gets past either, and is left out.
    const QByteArrayView rest = body.sliced(position);
    qint64 padding = std::all_of(rest.begin(), rest.end(), [](char c) { return c == 0; })
                         ? std::min(rest.size(), kLargestBody - frames.size())
                         : 0;

    // The extended header is left out: its checksum and padding size describe
    // the old frames. The tag is no longer unsynchronised where that applied
    // to the whole tag. A 2.4 tag at the end has a footer, and no padding.
    int newFlags = flags & ~(kExtendedHeader | kFooter);
    if (undoUnsynchronisation)
        newFlags &= ~kUnsynchronisation;
    const bool footer = version == 4 && place == TagPlace::End;
    if (footer) {
        newFlags |= kFooter;
        padding = 0;
    }

    QByteArray result = tag.left(5);
    result += char(newFlags);
    result += SynchsafeBytes(frames.size() + padding);
    result += frames;
    result += QByteArray(padding, '\0');
    if (footer)
        result += "3DI" + result.sliced(3, kTagHeaderSize - 3);
    return result;
}

} // namespace velunor
