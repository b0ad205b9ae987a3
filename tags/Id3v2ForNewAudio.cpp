#include "tags/Id3v2ForNewAudio.h"

#include "tags/Id3v2Frames.h"

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

namespace velunor::tags {

namespace {

using id3v2::Frame;

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
    return id3v2::MakeFrame(version, version == 2 ? "TLE" : "TLEN",
                            QByteArray(1, '\0') + QByteArray::number(ms));
}

// True for a comment or user text frame that holds the old encoding's
// gapless ("iTunSMPB") or loudness ("iTunNORM") figures, which would be
// wrong for the new audio. A frame whose content cannot be read is not one.
bool IsOldEncodingsNote(const Frame &frame, int version)
{
    if (frame.id != "COMM" && frame.id != "COM" && frame.id != "TXXX" && frame.id != "TXX")
        return false;
    const std::optional<QByteArray> content = id3v2::ReadableContent(frame, version);
    if (!content)
        return false;
    const std::optional<QString> description = CommentOrUserTextDescription(frame.id, *content);
    return description &&
           (*description == QLatin1String("iTunSMPB") || *description == QLatin1String("iTunNORM"));
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
    return id3v2::TextUpToTerminator(uchar(content[0]), content.sliced(descriptionStart));
}

QByteArray Id3v2ForNewAudio(const QByteArray &tag, qint64 audioLengthMs, TagPlace place)
{
    bool lengthWritten = false;
    const auto edit = [&](const Frame &frame, int version, std::vector<QByteArray> &made) {
        if (IsLengthFrame(frame.id)) {
            if (!lengthWritten)
                made.push_back(LengthFrame(version, std::max<qint64>(0, audioLengthMs)));
            lengthWritten = true;
        } else if (!PointsIntoOldAudio(frame.id) && !IsOldEncodingsNote(frame, version)) {
            made.push_back(frame.bytes.toByteArray());
        }
    };
    return id3v2::EditedTag(tag, edit, {},
                            place == TagPlace::End ? id3v2::Footer::With : id3v2::Footer::Without);
}

} // namespace velunor::tags
