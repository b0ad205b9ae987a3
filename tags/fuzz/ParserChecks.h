#pragma once

// What the parsers of bytes from users' files promise for any bytes at all,
// checked the same way by the fuzz targets and by the unit test that runs
// every checked-in fixture through them. Each check returns "" or what broke.

#include "conversion/OutputMark.h"
#include "platform/Path.h"
#include "tags/AlbumTag.h"
#include "tags/ApeTag.h"
#include "tags/Id3v2ForNewAudio.h"
#include "tags/MpegAudio.h"
#include "tags/MpegLayout.h"
#include "tags/ReplayGainTags.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

namespace velunor::parserchecks {

inline qint64 SynchsafeSizeField(const QByteArray &tag)
{
    qint64 size = 0;
    for (int i = 6; i < 10; ++i)
        size = size << 7 | (uchar(tag[i]) & 0x7F);
    return size;
}

// The tag made fit for either place is nothing, the tag itself (a version
// to come), or a whole tag: its size field tells its length, it has a footer
// only at the end, it is at most a TLEN frame and a footer larger than
// `tag`, and making it fit once more changes nothing.
inline QString CheckId3v2ForNewAudio(const QByteArray &tag)
{
    constexpr qint64 kLengthMs = 1234567;
    for (const tags::TagPlace place : {tags::TagPlace::Start, tags::TagPlace::End}) {
        const QByteArray fit = tags::Id3v2ForNewAudio(tag, kLengthMs, place);
        if (fit.isEmpty() || fit == tag)
            continue;
        if (fit.size() < 10 || !fit.startsWith("ID3"))
            return QStringLiteral("the tag made fit has no ID3v2 header");
        const bool footer = fit[3] == 4 && (fit[5] & 0x10);
        if (footer != (fit[3] == 4 && place == tags::TagPlace::End))
            return QStringLiteral("a footer at the start, or none at the end");
        if (10 + SynchsafeSizeField(fit) + (footer ? 10 : 0) != fit.size() ||
            (footer && fit.right(10) != "3DI" + fit.mid(3, 7)))
            return QStringLiteral("the size field says %1, the tag has %2 bytes")
                .arg(SynchsafeSizeField(fit))
                .arg(fit.size());
        constexpr qint64 kLargestTlenFrame = 10 + 1 + 20;
        if (fit.size() > tag.size() + kLargestTlenFrame + 10)
            return QStringLiteral("the tag grew from %1 to %2 bytes")
                .arg(tag.size())
                .arg(fit.size());
        if (tags::Id3v2ForNewAudio(fit, kLengthMs, place) != fit)
            return QStringLiteral("making the tag fit a second time changes it");
    }
    return QString();
}

// The layout's stretches follow each other inside the file, and every tag
// it names at the end is an ID3v2 tag from header to footer.
inline QString CheckMpegLayout(const QByteArray &file)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<tags::MpegLayout> layout = tags::ReadMpegLayout(buffer);
    if (!layout)
        return QStringLiteral("a file in memory could not be read");
    if (layout->fileSize != file.size() || layout->leadingTagSize < 0 ||
        layout->leadingTagSize > layout->audioBegin || layout->audioBegin > layout->audioEnd ||
        layout->audioEnd > layout->fileSize)
        return QStringLiteral("out of order: leading tag %1, audio %2 to %3, file %4")
            .arg(layout->leadingTagSize)
            .arg(layout->audioBegin)
            .arg(layout->audioEnd)
            .arg(layout->fileSize);
    if (layout->leadingTagSize > 0 && !file.startsWith("ID3"))
        return QStringLiteral("a leading tag without an ID3v2 header");
    qint64 after = layout->audioEnd;
    for (const tags::TagSpan &tag : layout->appendedId3v2Tags) {
        if (tag.offset < after || tag.size < 20 || tag.size > layout->fileSize - tag.offset)
            return QStringLiteral("an appended tag at %1 of %2 bytes lies outside the tags")
                .arg(tag.offset)
                .arg(tag.size);
        if (file.mid(tag.offset, 3) != "ID3" || file.mid(tag.offset + tag.size - 10, 3) != "3DI")
            return QStringLiteral("an appended tag at %1 is no ID3v2 tag").arg(tag.offset);
        after = tag.offset + tag.size;
    }
    for (const tags::TagSpan &tag : layout->apeTags) {
        if (tag.offset < layout->audioEnd || tag.size < 32 ||
            tag.size > layout->fileSize - tag.offset)
            return QStringLiteral("an APE tag at %1 of %2 bytes lies outside the tags")
                .arg(tag.offset)
                .arg(tag.size);
        if (file.mid(tag.offset + tag.size - 32, 8) != "APETAGEX")
            return QStringLiteral("an APE tag at %1 has no footer").arg(tag.offset);
    }
    return QString();
}

// The frames counted are whole MPEG frames of the audio between the tags,
// the rate told from the first frames is one MPEG audio has, and the
// channel facts do not contradict each other.
inline QString CheckMeasureMpegAudio(const QByteArray &file)
{
    // A frame's length is rounded down to whole bytes: 8 kbps at 11025 Hz
    // makes frames of 52 bytes, 995 bytes a second.
    const std::optional<int> bytesPerSecond = tags::MpegStreamBytesPerSecond(file);
    if (bytesPerSecond && (*bytesPerSecond < 8000 / 8 - 10 || *bytesPerSecond > 448000 / 8 + 1000))
        return QStringLiteral("a stream of %1 bytes a second").arg(*bytesPerSecond);

    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<tags::MpegAudioLength> length = tags::MeasureMpegAudio(buffer);
    if (!length)
        return QString();
    constexpr qint64 kSmallestFrame = 24;
    if (length->frames <= 0 || length->frames * kSmallestFrame > file.size() ||
        length->samples < length->frames * 384 || length->samples > length->frames * 1152 ||
        length->sampleRate < 8000 || length->sampleRate > 48000)
        return QStringLiteral("%1 frames, %2 samples at %3 Hz in %4 bytes")
            .arg(length->frames)
            .arg(length->samples)
            .arg(length->sampleRate)
            .arg(file.size());
    if (length->bytes < length->frames * kSmallestFrame ||
        length->bytes + length->streamInfoBytes > length->bytesBetweenTags ||
        length->bytesBetweenTags > file.size() || !(length->averageBitRate() > 0) ||
        (length->everyFrameMono && length->anyFrameDualChannel) ||
        (length->everyFrameLayer3 &&
         (length->samples % 576 != 0 || length->samples < length->frames * 576)))
        return QStringLiteral(
                   "%1 bytes of %2 frames at %3 bit/s, mono %4, dual channel %5, layer III %6")
            .arg(length->bytes)
            .arg(length->frames)
            .arg(length->averageBitRate())
            .arg(length->everyFrameMono)
            .arg(length->anyFrameDualChannel)
            .arg(length->everyFrameLayer3);
    return QString();
}

// Values for every ReplayGain field, and none.
inline const tags::ReplayGainValues kEveryReplayGainValue{-3.21, 0.812345, -4.5, 1.02};
inline const tags::ReplayGainValues kNoReplayGainValue{};

// How the forms of ReplayGain in a tag made anew may differ from those in
// the tag it was made from: it gains none, and without values it keeps none
// (but for mp3gain's, which are dropped in any case).
inline QString CheckReplayGainForms(const tags::ReplayGainForms &before,
                                    const tags::ReplayGainForms &after,
                                    const tags::ReplayGainValues &values)
{
    if ((after.id3v2UserText && !before.id3v2UserText) || (after.id3v2Rva2 && !before.id3v2Rva2) ||
        (after.apeReplayGain && !before.apeReplayGain) || after.apeMp3Gain)
        return QStringLiteral("the tag made anew has a form of ReplayGain it did not have");
    if (!values.trackGainDb && after.any())
        return QStringLiteral("ReplayGain values that were not given stayed");
    return QString();
}

// A tag with ReplayGain values made anew by `makeAnew` is nothing, the tag
// itself, or a whole tag as `wholeTagProblem` sees it (""); it grows by at
// most `mostGrowth` bytes, gains no form of ReplayGain (`formsIn`), keeps
// none without values, and making it anew again changes nothing.
template <typename MakeAnew, typename FormsIn, typename WholeTagProblem>
QString CheckReplayGainMadeAnew(const QByteArray &tag, MakeAnew makeAnew, FormsIn formsIn,
                                WholeTagProblem wholeTagProblem, qint64 mostGrowth)
{
    const tags::ReplayGainForms before = formsIn(tag);
    for (const tags::ReplayGainValues &values : {kEveryReplayGainValue, kNoReplayGainValue}) {
        const QByteArray made = makeAnew(tag, values);
        if (made.isEmpty() || made == tag)
            continue;
        if (const QString problem = wholeTagProblem(made); !problem.isEmpty())
            return problem;
        if (const QString problem = CheckReplayGainForms(before, formsIn(made), values);
            !problem.isEmpty())
            return problem;
        if (made.size() > tag.size() + mostGrowth)
            return QStringLiteral("the tag grew from %1 to %2 bytes")
                .arg(tag.size())
                .arg(made.size());
        if (makeAnew(made, values) != made)
            return QStringLiteral("making the tag anew a second time changes it");
    }
    return QString();
}

// The ID3v2 tag with ReplayGain values made anew has the version of the tag
// and its size field tells its length, with a footer where the tag had one.
// It grows by at most four user text frames and two RVA2 frames.
inline QString CheckId3v2WithReplayGain(const QByteArray &tag)
{
    // Every character of the album comes from at least one byte of the tag.
    if (tags::AlbumInId3v2(tag).size() > tag.size())
        return QStringLiteral("the album is longer than the tag");
    const auto wholeTagProblem = [&](const QByteArray &made) {
        if (made.size() < 10 || !made.startsWith("ID3") || made[3] != tag[3])
            return QStringLiteral("the tag made anew has another header");
        const bool footer = made[3] == 4 && (made[5] & 0x10);
        if (10 + SynchsafeSizeField(made) + (footer ? 10 : 0) != made.size() ||
            footer != (tag[3] == 4 && (tag[5] & 0x10)))
            return QStringLiteral("the size field says %1, the tag has %2 bytes")
                .arg(SynchsafeSizeField(made))
                .arg(made.size());
        return QString();
    };
    return CheckReplayGainMadeAnew(tag, tags::Id3v2WithReplayGain, tags::ReplayGainFormsInId3v2,
                                   wholeTagProblem, 600);
}

// An APE tag reads back as it is written, and so does one with ReplayGain
// values made anew, which grows by at most four items.
inline QString CheckApeWithReplayGain(const QByteArray &bytes)
{
    if (tags::AlbumInApe(bytes).size() > bytes.size())
        return QStringLiteral("the album is longer than the tag");
    if (const std::optional<tags::ape::Tag> tag = tags::ape::ReadTag(bytes)) {
        const std::optional<tags::ape::Tag> again = tags::ape::ReadTag(tags::ape::WriteTag(*tag));
        if (!again || again->items != tag->items || again->hasHeader != tag->hasHeader)
            return QStringLiteral("an APE tag does not read back as it was written");
    }
    const auto wholeTagProblem = [](const QByteArray &made) {
        const std::optional<tags::ape::Tag> tag = tags::ape::ReadTag(made);
        return !tag || tags::ape::WriteTag(*tag) != made
                   ? QStringLiteral("the APE tag made anew is not one")
                   : QString();
    };
    return CheckReplayGainMadeAnew(bytes, tags::ApeWithReplayGain, tags::ReplayGainFormsInApe,
                                   wholeTagProblem, 300);
}

// The frame contents of the description fixtures: the first byte names the
// frame.
inline QByteArrayView DescribedFrameId(const QByteArray &input)
{
    static constexpr const char *kIds[] = {"COMM", "TXXX", "COM", "TXX"};
    return input.isEmpty() ? QByteArrayView() : QByteArrayView(kIds[uchar(input[0]) % 4]);
}

// A description is never longer than the bytes it was read from.
inline QString CheckDescription(const QByteArray &input)
{
    const std::optional<QString> description = tags::CommentOrUserTextDescription(
        DescribedFrameId(input), QByteArrayView(input).sliced(input.isEmpty() ? 0 : 1));
    if (description && description->size() > input.size())
        return QStringLiteral("a description of %1 characters from %2 bytes")
            .arg(description->size())
            .arg(input.size());
    return QString();
}

// Any bytes a name may hold are shown as text that reads back to the very
// same bytes, and the shown text holds no control character.
inline QString CheckShownPath(const QByteArray &name)
{
    const QString shown = ShownText(name);
    if (BytesOfShownText(shown) != name)
        return QStringLiteral("\"%1\" reads back as other bytes").arg(shown);
    for (const QChar c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F ||
            (c.unicode() >= 0x80 && c.unicode() <= 0x9F))
            return QStringLiteral("\"%1\" shows a control character").arg(shown);
    return QString();
}

// An output's mark, as any user may write it: read as a path and the
// numbers it holds, or as no mark when it names no path; a mark read and
// written again reads back the same.
inline QString CheckOutputMark(const QByteArray &value)
{
    const std::optional<conversion::OutputMark> mark = conversion::OutputMark::Decode(value);
    if (!mark)
        return value.isEmpty() || value.startsWith('\0')
                   ? QString()
                   : QStringLiteral("a mark that names a path is read as none");
    if (mark->input.bytes() !=
        value.left(value.indexOf('\0') < 0 ? value.size() : value.indexOf('\0')))
        return QStringLiteral("the mark's path is not its first field");
    conversion::InputFacts facts;
    facts.absolute = mark->input;
    facts.size = mark->size.value_or(0);
    facts.modifiedNs = mark->modifiedNs.value_or(0);
    const std::optional<conversion::OutputMark> again =
        conversion::OutputMark::Decode(conversion::OutputMark::Encode(facts, mark->made));
    if (!again || again->input != mark->input || again->size != facts.size ||
        again->modifiedNs != facts.modifiedNs || again->made != mark->made)
        return QStringLiteral("the mark written again reads back otherwise");
    return QString();
}

} // namespace velunor::parserchecks
