#include "Id3v2Frames.h"

#include <algorithm>
#include <array>
#include <limits>

#include <zlib.h>

namespace velunor::tags::id3v2 {

namespace {

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

// `compressed` inflated, when that gives at most `mostBytes`.
std::optional<QByteArray> Inflated(QByteArrayView compressed, qint64 mostBytes)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    QByteArray inflated;
    std::array<char, 4096> chunk{};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    stream.avail_in = uInt(std::min<qint64>(compressed.size(), std::numeric_limits<uInt>::max()));
    int status = Z_OK;
    while (status == Z_OK && inflated.size() <= mostBytes) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk.data());
        stream.avail_out = uInt(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        inflated.append(chunk.data(), qsizetype(chunk.size() - stream.avail_out));
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || inflated.size() > mostBytes)
        return std::nullopt;
    return inflated;
}

// The content of `frame` as a reader sees it, and the content of a
// compressed frame inflated when `mostInflated` is above 0 (see
// InflatedContent). The bytes that flags add come in the order of the
// flags: in 2.3 the size before decompression, then the encryption method
// and the group; in 2.4 the group, the encryption method, and the data
// length.
std::optional<QByteArray> ContentOf(const Frame &frame, int version, qint64 mostInflated)
{
    QByteArray content = frame.bytes.sliced(FrameHeaderSize(version)).toByteArray();
    bool compressed = false;
    qint64 flagBytes = 0;
    if (version == 3) {
        if (frame.formatFlags & kEncrypted23)
            return std::nullopt;
        compressed = frame.formatFlags & kCompressed23;
        flagBytes = (compressed ? 4 : 0) + (frame.formatFlags & kGrouped23 ? 1 : 0);
    } else if (version == 4) {
        if (frame.formatFlags & kEncrypted24)
            return std::nullopt;
        compressed = frame.formatFlags & kCompressed24;
        if (frame.formatFlags & kUnsynchronised24)
            content = Resynchronised(content);
        flagBytes =
            (frame.formatFlags & kGrouped24 ? 1 : 0) + (frame.formatFlags & kDataLength24 ? 4 : 0);
    }
    if (flagBytes > content.size() || (compressed && mostInflated <= 0))
        return std::nullopt;
    content = content.sliced(flagBytes);
    return compressed ? Inflated(content, mostInflated) : std::optional(content);
}

} // namespace

int FrameHeaderSize(int version)
{
    return version == 2 ? 6 : 10;
}

TagBody::TagBody(const QByteArray &tag) : tag_(tag)
{
    if (tag.size() < kTagHeaderSize || !tag.startsWith("ID3"))
        return;
    version_ = uchar(tag[3]);
    flags_ = uchar(tag[5]);
    const std::optional<qint64> declaredBodySize = Synchsafe(tag, 6);
    if (version_ == 0xFF || uchar(tag[4]) == 0xFF || !declaredBodySize)
        return;
    if (version_ < 2 || version_ > 4 || (version_ == 2 && (flags_ & kExtendedHeader))) {
        kind_ = Kind::Opaque;
        return;
    }
    stored_ = QByteArrayView(tag_).sliced(
        kTagHeaderSize, std::min<qint64>(*declaredBodySize, tag_.size() - kTagHeaderSize));
    resynchronised_ = (flags_ & kUnsynchronisation) && version_ <= 3;
    if (resynchronised_)
        plain_ = Resynchronised(stored_);
    const std::optional<qint64> framesStart = FramesStart(version_, flags_, body());
    kind_ = framesStart ? Kind::Readable : Kind::Damaged;
    framesStart_ = framesStart.value_or(0);
}

bool TagBody::hasFooter() const
{
    return version_ == 4 && (flags_ & kFooter);
}

std::optional<Frame> TagBody::frameAt(qint64 position) const
{
    const QByteArrayView body = this->body();
    const int headerSize = FrameHeaderSize(version_);
    if (kind_ != Kind::Readable || position < 0 || body.size() - position < headerSize)
        return std::nullopt;
    const QByteArrayView id = body.sliced(position, version_ == 2 ? 3 : 4);
    if (!IsFrameId(id))
        return std::nullopt;
    const qint64 contentSize = version_ == 2   ? BigEndian(body, position + 3, 3)
                               : version_ == 3 ? BigEndian(body, position + 4, 4)
                                               : Version4ContentSize(body, position);
    if (contentSize > body.size() - position - headerSize)
        return std::nullopt;
    return Frame{id, body.sliced(position, headerSize + contentSize),
                 version_ == 2 ? 0 : int(ByteAt(body, position + 9))};
}

QByteArray TagBody::rebuilt(qint64 framesEnd, const QByteArray &frames, bool footer) const
{
    if (frames.isEmpty() || kind_ != Kind::Readable)
        return {};
    const QByteArrayView rest = body().sliced(std::clamp<qint64>(framesEnd, 0, body().size()));
    qint64 padding = std::all_of(rest.begin(), rest.end(), [](char c) { return c == 0; })
                         ? std::max<qint64>(0, std::min(rest.size(), kLargestBody - frames.size()))
                         : 0;
    int flags = flags_ & ~(kExtendedHeader | kFooter);
    if (resynchronised_)
        flags &= ~kUnsynchronisation;
    footer = footer && version_ == 4;
    if (footer) {
        flags |= kFooter;
        padding = 0;
    }
    QByteArray result = tag_.left(5);
    result += char(flags);
    result += SynchsafeBytes(frames.size() + padding);
    result += frames;
    result += QByteArray(padding, '\0');
    if (footer)
        result += "3DI" + result.sliced(3, kTagHeaderSize - 3);
    return result;
}

QByteArray EditedTag(const QByteArray &tag, const FrameEdit &edit, const FramesFinish &finish,
                     Footer footer)
{
    const TagBody read(tag);
    if (read.kind() == TagBody::Kind::Opaque)
        return tag;
    std::vector<QByteArray> made;
    qint64 total = 0;
    qint64 position = read.framesStart();
    while (const std::optional<Frame> frame = read.frameAt(position)) {
        const size_t before = made.size();
        edit(*frame, read.version(), made);
        qint64 added = 0;
        for (size_t i = before; i < made.size(); ++i)
            added += made[i].size();
        if (total + added > kLargestBody) {
            made.resize(before);
            break;
        }
        total += added;
        position += frame->bytes.size();
    }
    if (finish)
        finish(read.version(), made, kLargestBody - total);
    QByteArray frames;
    for (const QByteArray &part : made)
        frames += part;
    return read.rebuilt(position, frames.left(kLargestBody),
                        footer == Footer::AsItWas ? read.hasFooter() : footer == Footer::With);
}

std::optional<QByteArray> ReadableContent(const Frame &frame, int version)
{
    return ContentOf(frame, version, 0);
}

std::optional<QByteArray> InflatedContent(const Frame &frame, int version, qint64 mostBytes)
{
    return ContentOf(frame, version, std::max<qint64>(mostBytes, 1));
}

QByteArray MakeFrame(int version, QByteArrayView id, QByteArrayView content)
{
    if (version == 2)
        return id.toByteArray() + BigEndianBytes(content.size(), 3) + content.toByteArray();
    const QByteArray sizeField =
        version == 4 ? SynchsafeBytes(content.size()) : BigEndianBytes(content.size(), 4);
    return id.toByteArray() + sizeField + QByteArray(2, '\0') + content.toByteArray();
}

std::optional<QString> TextUpToTerminator(int encoding, QByteArrayView bytes)
{
    switch (encoding) {
    case 0:
        return QString::fromLatin1(UpToNul(bytes));
    case 1: // a byte order mark is required; little-endian is the usual guess without one
        return Utf16UpToNul(bytes, true);
    case 2:
        return Utf16UpToNul(bytes, false);
    case 3: {
        QString decoded = QString::fromUtf8(UpToNul(bytes));
        if (decoded.startsWith(QChar(0xFEFF)))
            decoded.remove(0, 1);
        return decoded;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QByteArrayView> AfterTerminator(int encoding, QByteArrayView bytes)
{
    if (encoding == 1 || encoding == 2) {
        for (qint64 i = 0; i + 1 < bytes.size(); i += 2)
            if (bytes[i] == 0 && bytes[i + 1] == 0)
                return bytes.sliced(i + 2);
        return std::nullopt;
    }
    const qsizetype end = bytes.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    return bytes.sliced(end + 1);
}

QByteArray EncodedText(int encoding, const QString &text)
{
    switch (encoding) {
    case 1: {
        QByteArray bytes("\xFF\xFE", 2);
        for (const QChar c : text)
            bytes += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        return bytes;
    }
    case 2: {
        QByteArray bytes;
        for (const QChar c : text)
            bytes += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF);
        return bytes;
    }
    case 3:
        return text.toUtf8();
    default:
        return text.toLatin1();
    }
}

QByteArray Terminator(int encoding)
{
    return QByteArray(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
}

} // namespace velunor::tags::id3v2
