#include "tags/TagCopy.h"

#include "platform/ByteCopy.h"
#include "tags/ForeignTags.h"
#include "tags/Id3v2ForNewAudio.h"
#include "tags/MpegLayout.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace velunor::tags {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(TagCopy)
};

QString UnreadableInput(const QString &why)
{
    return Words::tr("the tags of the input could not be read (%1)").arg(why);
}

QString UnreadableOutput(const QString &why)
{
    return Words::tr("the converted file could not be read (%1)").arg(why);
}

QString UnreadableInput(const QFileDevice &file)
{
    return UnreadableInput(file.errorString());
}

QString UnreadableOutput(const QFileDevice &file)
{
    return UnreadableOutput(file.errorString());
}

// A write that failed, told by the system's own words for it.
Failure Unwritable(int error)
{
    return {error, Words::tr("the tags could not be written (%1)")
                       .arg(platform::FileSystem::SystemMessage(error))};
}

// The `count` bytes at `offset`; empty when they cannot all be read.
std::optional<QByteArray> ReadExactly(QFile &file, qint64 offset, qint64 count)
{
    if (!file.seek(offset))
        return std::nullopt;
    QByteArray bytes = file.read(count);
    if (bytes.size() != count)
        return std::nullopt;
    return bytes;
}

// Copies the bytes [`begin`, `end`) of `from` to the file open at `to`; no
// problem on success.
Done CopyRange(QFile &from, qint64 begin, qint64 end, int to, const std::atomic<bool> *cancel)
{
    const platform::ByteCopyEnd copied = platform::CopyBytes(from, begin, end, to, cancel);
    switch (copied.kind) {
    case platform::ByteCopyEnd::Kind::Copied:
        return {};
    case platform::ByteCopyEnd::Kind::Unreadable:
        return Failure::Because(UnreadableOutput(from));
    case platform::ByteCopyEnd::Kind::Unwritable:
        return Unwritable(copied.writeError);
    case platform::ByteCopyEnd::Kind::Cancelled:
        break;
    }
    return Failure::Because(Words::tr("the tag copy was cancelled"));
}

// A stretch of the input after its audio: a tag, or the bytes between tags.
struct TrailingPiece {
    enum class Kind { Bytes, Id3v2, Ape };
    Kind kind = Kind::Bytes;
    QByteArray bytes;
};

// The tags of the input, as the input holds them.
struct InputTags {
    // The ID3v2 tag for the front of the output.
    QByteArray leadingId3v2;
    // What follows the audio, in the input's order.
    std::vector<TrailingPiece> trailing;

    bool any() const { return !leadingId3v2.isEmpty() || !trailing.empty(); }

    ReplayGainForms replayGainForms() const
    {
        ReplayGainForms forms = ReplayGainFormsInId3v2(leadingId3v2);
        for (const TrailingPiece &piece : trailing) {
            if (piece.kind == TrailingPiece::Kind::Id3v2)
                forms |= ReplayGainFormsInId3v2(piece.bytes);
            else if (piece.kind == TrailingPiece::Kind::Ape)
                forms |= ReplayGainFormsInApe(piece.bytes);
        }
        return forms;
    }
};

// Reads the tags of `input`; none when they cannot be read. The one place
// that decides which of the input's ID3v2 tags goes in front of the output:
// its leading one, or else the first one appended at its end, which then is
// not copied again at the end.
std::optional<InputTags> ReadInputTags(QFile &input)
{
    const std::optional<MpegLayout> layout = ReadMpegLayout(input);
    if (!layout)
        return std::nullopt;
    const std::optional<QByteArray> leading = ReadExactly(input, 0, layout->leadingTagSize);
    const std::optional<QByteArray> atEnd =
        ReadExactly(input, layout->audioEnd, layout->fileSize - layout->audioEnd);
    if (!leading || !atEnd)
        return std::nullopt;

    InputTags tags{*leading, {}};
    // The bytes of the file from `from` to `to`, all among the tags at the end.
    const auto atEndBetween = [&](qint64 from, qint64 to) {
        return atEnd->mid(from - layout->audioEnd, to - from);
    };
    std::vector<std::pair<TagSpan, TrailingPiece::Kind>> spans;
    for (const TagSpan &span : layout->appendedId3v2Tags)
        spans.push_back({span, TrailingPiece::Kind::Id3v2});
    for (const TagSpan &span : layout->apeTags)
        spans.push_back({span, TrailingPiece::Kind::Ape});
    std::sort(spans.begin(), spans.end(),
              [](const auto &a, const auto &b) { return a.first.offset < b.first.offset; });
    // Lyrics3 and ID3v1 hold nothing tied to the audio: they go over as they
    // are, with whatever lies between the tags.
    qint64 copied = layout->audioEnd;
    const auto addBytes = [&](qint64 to) {
        if (to > copied)
            tags.trailing.push_back({TrailingPiece::Kind::Bytes, atEndBetween(copied, to)});
    };
    for (const auto &[span, kind] : spans) {
        addBytes(span.offset);
        const QByteArray tag = atEndBetween(span.offset, span.offset + span.size);
        if (kind == TrailingPiece::Kind::Id3v2 && tags.leadingId3v2.isEmpty())
            tags.leadingId3v2 = tag;
        else
            tags.trailing.push_back({kind, tag});
        copied = std::max(copied, span.offset + span.size);
    }
    addBytes(layout->fileSize);
    return tags;
}

// The tags after the audio as they go onto the output: an appended ID3v2
// tag made fit for the new audio as the leading one is, and both ID3v2 and
// APE tags with the ReplayGain values of the new audio when there are any.
QByteArray TrailingTags(const InputTags &tags, qint64 lengthMs,
                        const std::optional<ReplayGainValues> &replayGain)
{
    QByteArray trailing;
    for (const TrailingPiece &piece : tags.trailing) {
        switch (piece.kind) {
        case TrailingPiece::Kind::Bytes:
            trailing += piece.bytes;
            break;
        case TrailingPiece::Kind::Id3v2: {
            const QByteArray tag = Id3v2ForNewAudio(piece.bytes, lengthMs, TagPlace::End);
            trailing += replayGain ? Id3v2WithReplayGain(tag, *replayGain) : tag;
            break;
        }
        case TrailingPiece::Kind::Ape:
            trailing += replayGain ? ApeWithReplayGain(piece.bytes, *replayGain) : piece.bytes;
            break;
        }
    }
    return trailing;
}

} // namespace

Expected<bool> CopyTags(const Path &inputPath, const Path &convertedPath,
                        const TaggedFile &taggedFile, qint64 outputLengthMs,
                        const std::atomic<bool> *cancel, const ReplayGainOfNewAudio &replayGain)
{
    const qint64 lengthMs = std::max<qint64>(0, outputLengthMs);
    QFile input;
    if (const Done opened = platform::FileSystem::Open(input, inputPath, QIODevice::ReadOnly);
        !opened)
        return Failure{opened.failure().code, UnreadableInput(opened.failure().words)};
    const std::optional<InputTags> tags = ReadInputTags(input);
    if (!tags)
        return Failure::Because(UnreadableInput(input));
    input.close();
    // Values that described the old audio never stay: they take those of the
    // new audio, or go.
    std::optional<ReplayGainValues> gains;
    if (const ReplayGainForms forms = tags->replayGainForms(); forms.any())
        gains = replayGain ? replayGain(forms) : ReplayGainValues{};
    // An input without ID3 and APE tags (FLAC, Ogg, WAV, ...) may keep tags in
    // a format of its own; they replace the few that SoX wrote from them.
    QByteArray leadingTag;
    if (!tags->any()) {
        const Expected<QByteArray> foreign = ForeignTagsAsId3v24(inputPath);
        if (!foreign)
            return foreign.failure();
        leadingTag = *foreign;
    } else {
        leadingTag = Id3v2ForNewAudio(tags->leadingId3v2, lengthMs);
    }
    if (gains)
        leadingTag = Id3v2WithReplayGain(leadingTag, *gains);
    const QByteArray trailing = TrailingTags(*tags, lengthMs, gains);

    QFile converted;
    if (const Done opened =
            platform::FileSystem::Open(converted, convertedPath, QIODevice::ReadOnly);
        !opened)
        return Failure{opened.failure().code, UnreadableOutput(opened.failure().words)};
    const std::optional<MpegLayout> audio = ReadMpegLayout(converted);
    if (!audio)
        return Failure::Because(UnreadableOutput(converted));
    // No tag on either side: the converted file is already what it must be,
    // and is not written a second time.
    if (leadingTag.isEmpty() && trailing.isEmpty() && audio->audioBegin == 0 &&
        audio->audioEnd == audio->fileSize)
        return false;

    const Expected<Path> taggedPath = taggedFile();
    if (!taggedPath)
        return taggedPath.failure();
    // Never creates a file: the caller owns the name. Written without a
    // buffer, so that a write that fails is the one told.
    const int tagged = ::open(taggedPath->c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (tagged < 0)
        return Unwritable(errno);
    const auto closeTagged = qScopeGuard([tagged] { ::close(tagged); });
    if (const int error = platform::WriteAll(tagged, leadingTag); error != 0)
        return Unwritable(error);
    if (const Done copied =
            CopyRange(converted, audio->audioBegin, audio->audioEnd, tagged, cancel);
        !copied)
        return copied.failure();
    if (const int error = platform::WriteAll(tagged, trailing); error != 0)
        return Unwritable(error);
    return true;
}

} // namespace velunor::tags
