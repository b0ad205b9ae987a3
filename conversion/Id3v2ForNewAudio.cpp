#include "Id3v2ForNewAudio.h"

#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>

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

namespace velunor {

namespace {

using TagLib::ByteVector;

constexpr int kTagHeaderSize = 10;

QByteArray Bytes(const ByteVector &vector)
{
    return QByteArray(vector.data(), int(vector.size()));
}

bool IsFrameId(const ByteVector &id)
{
    for (const char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// The ID and the size (header included) of the frame at `position`; an
// empty ID at padding or damage.
struct FrameHeader {
    ByteVector id;
    unsigned int size = 0;
};

FrameHeader ReadFrameHeader(const ByteVector &body, unsigned int position, unsigned int version)
{
    const unsigned int headerSize = version == 2 ? 6 : 10;
    if (body.size() - position < headerSize)
        return {};
    FrameHeader header{body.mid(position, version == 2 ? 3 : 4), 0};
    if (!IsFrameId(header.id))
        return {};
    if (version == 2) {
        header.size = headerSize + body.toUInt(position + 3, 3, true);
    } else if (version == 3) {
        header.size = headerSize + body.toUInt(position + 4);
    } else {
        const ByteVector sizeField = body.mid(position + 4, 4);
        header.size = headerSize + TagLib::ID3v2::SynchData::toUInt(sizeField);
        // Some taggers write 2.4 tags with 2.3 size fields: when the 2.4 reading
        // of the size lands nowhere sensible and the 2.3 one does, that is one.
        const auto landsWell = [&](unsigned int size) {
            const unsigned int next = position + size;
            return next <= body.size() && (body.size() - next < headerSize || body[next] == 0 ||
                                           IsFrameId(body.mid(next, 4)));
        };
        const unsigned int plainSize = headerSize + sizeField.toUInt();
        if (plainSize != header.size && !landsWell(header.size) && landsWell(plainSize))
            header.size = plainSize;
    }
    if (header.size > body.size() - position)
        return {};
    return header;
}

// Frames that locate things in the old audio by byte offsets (2.2 names
// first).
bool PointsIntoOldAudio(const ByteVector &id)
{
    return id == "MLL" || id == "TSI" || id == "MLLT" || id == "ASPI" || id == "SEEK" ||
           id == "TSIZ";
}

bool IsLengthFrame(const ByteVector &id)
{
    return id == "TLE" || id == "TLEN";
}

// A TLEN frame (TLE in 2.2) holding `ms` as Latin-1 digits, without flags.
QByteArray LengthFrame(unsigned int version, qint64 ms)
{
    const QByteArray text = QByteArray(1, '\0') + QByteArray::number(ms);
    const auto size = static_cast<unsigned int>(text.size());
    if (version == 2)
        return "TLE" + Bytes(ByteVector::fromUInt(size).mid(1)) + text;
    const ByteVector sizeField =
        version == 4 ? TagLib::ID3v2::SynchData::fromUInt(size) : ByteVector::fromUInt(size);
    return "TLEN" + Bytes(sizeField) + QByteArray(2, '\0') + text;
}

// Where the frames start in `body`: after the extended header, whose size
// field counts itself in 2.4 but not in 2.3.
unsigned int FramesStart(const TagLib::ID3v2::Header &header, const ByteVector &body)
{
    if (!header.extendedHeader() || body.size() < 4)
        return 0;
    if (header.majorVersion() == 4)
        return TagLib::ID3v2::SynchData::toUInt(body.mid(0, 4));
    return 4 + body.toUInt(0U);
}

} // namespace

QByteArray Id3v2ForNewAudio(const QByteArray &tag, qint64 audioLengthMs)
{
    if (tag.size() < kTagHeaderSize || !tag.startsWith("ID3"))
        return {};
    const TagLib::ID3v2::Header header(ByteVector(tag.constData(), kTagHeaderSize));
    const unsigned int version = header.majorVersion();
    const auto flags = static_cast<uchar>(tag[5]);
    // Versions to come, and 2.2 tags marked compressed (a scheme never
    // defined), hold frames this cannot tell apart: they go over whole.
    if (version < 2 || version > 4 || (version == 2 && (flags & 0x40)))
        return tag;

    const unsigned int available = tag.size() - kTagHeaderSize;
    const ByteVector stored(tag.constData() + kTagHeaderSize,
                            std::min(header.tagSize(), available));
    // 2.2 and 2.3 unsynchronise the whole tag, 2.4 each frame on its own
    // (flagged in that frame's header, so such frames are copied as they are).
    const bool undoUnsynchronisation = header.unsynchronisation() && version <= 3;
    const ByteVector body =
        undoUnsynchronisation ? TagLib::ID3v2::SynchData::decode(stored) : stored;

    QByteArray frames;
    unsigned int position = std::min(FramesStart(header, body), body.size());
    for (FrameHeader frame; !(frame = ReadFrameHeader(body, position, version)).id.isEmpty();
         position += frame.size) {
        if (IsLengthFrame(frame.id))
            frames += LengthFrame(version, audioLengthMs);
        else if (!PointsIntoOldAudio(frame.id))
            frames += QByteArray(body.data() + position, int(frame.size));
    }
    // Zeros after the last frame are padding. Anything else is damage that no
    // reader gets past either, and is left out.
    const bool onlyZerosFollow =
        std::all_of(body.begin() + position, body.end(), [](char c) { return c == 0; });
    unsigned int padding = onlyZerosFollow ? body.size() - position : 0;

    // The extended header is left out: its checksum and padding size describe
    // the old frames. The tag is no longer unsynchronised where that applied
    // to the whole tag. A 2.4 footer stays, and forbids padding.
    uchar newFlags = flags & ~0x40;
    if (undoUnsynchronisation)
        newFlags &= ~0x80;
    const bool footer = version == 4 && header.footerPresent();
    if (footer)
        padding = 0;
    // The size field holds 28 bits. The frames never outgrow a tag that held
    // them before by more than TLEN's few digits, which the padding gives up.
    constexpr qint64 kLargestBody = 0x0FFFFFFF;
    if (frames.size() > kLargestBody)
        return tag;
    padding = std::min<qint64>(padding, kLargestBody - frames.size());

    QByteArray result = tag.left(5);
    result += char(newFlags);
    result += Bytes(TagLib::ID3v2::SynchData::fromUInt(frames.size() + padding));
    result += frames;
    result += QByteArray(padding, '\0');
    if (footer) {
        QByteArray footerBytes = result.left(kTagHeaderSize);
        footerBytes.replace(0, 3, "3DI");
        result += footerBytes;
    }
    return result;
}

} // namespace velunor
