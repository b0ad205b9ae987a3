#include "tags/TagCopy.h"

#include "platform/ByteCopy.h"
#include "tags/ForeignTags.h"
#include "tags/Id3v2ForNewAudio.h"
#include "tags/MpegLayout.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace velunor {

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
    return {error,
            Words::tr("the tags could not be written (%1)").arg(FileSystem::SystemMessage(error))};
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
    const ByteCopyEnd copied = CopyBytes(from, begin, end, to, cancel);
    switch (copied.kind) {
    case ByteCopyEnd::Kind::Copied:
        return {};
    case ByteCopyEnd::Kind::Unreadable:
        return Failure::Because(UnreadableOutput(from));
    case ByteCopyEnd::Kind::Unwritable:
        return Unwritable(copied.writeError);
    case ByteCopyEnd::Kind::Cancelled:
        break;
    }
    return Failure::Because(Words::tr("the tag copy was cancelled"));
}

// The tags of the input as they go onto the output.
struct InputTags {
    // The ID3v2 tag for the front of the output, as the input holds it.
    QByteArray leadingId3v2;
    // The tags after the audio, in the input's order, ready to be written.
    QByteArray trailing;
};

// Reads the tags of `input`; none when they cannot be read. The one place
// that decides which of the input's ID3v2 tags goes in front of the output:
// its leading one, or else the first one appended at its end, which then is
// not copied again at the end.
std::optional<InputTags> ReadInputTags(QFile &input, qint64 outputLengthMs)
{
    const std::optional<MpegLayout> layout = ReadMpegLayout(input);
    if (!layout)
        return std::nullopt;
    const std::optional<QByteArray> leading = ReadExactly(input, 0, layout->leadingTagSize);
    const std::optional<QByteArray> atEnd =
        ReadExactly(input, layout->audioEnd, layout->fileSize - layout->audioEnd);
    if (!leading || !atEnd)
        return std::nullopt;

    InputTags tags{*leading, QByteArray()};
    // The bytes of the file from `from` to `to`, all among the tags at the end.
    const auto atEndBetween = [&](qint64 from, qint64 to) {
        return atEnd->mid(from - layout->audioEnd, to - from);
    };
    // APE, Lyrics3 and ID3v1 hold nothing tied to the audio: they go over as
    // they are. An appended ID3v2 tag that stays at the end is made fit for
    // the new audio as the leading one is.
    qint64 copied = layout->audioEnd;
    for (const TagSpan &appended : layout->appendedId3v2Tags) {
        tags.trailing += atEndBetween(copied, appended.offset);
        const QByteArray tag = atEndBetween(appended.offset, appended.offset + appended.size);
        if (tags.leadingId3v2.isEmpty())
            tags.leadingId3v2 = tag;
        else
            tags.trailing += Id3v2ForNewAudio(tag, outputLengthMs, TagPlace::End);
        copied = appended.offset + appended.size;
    }
    tags.trailing += atEndBetween(copied, layout->fileSize);
    return tags;
}

} // namespace

Expected<bool> CopyTags(const Path &inputPath, const Path &convertedPath,
                        const TaggedFile &taggedFile, qint64 outputLengthMs,
                        const std::atomic<bool> *cancel)
{
    const qint64 lengthMs = std::max<qint64>(0, outputLengthMs);
    QFile input;
    if (const Done opened = FileSystem::Open(input, inputPath, QIODevice::ReadOnly); !opened)
        return Failure{opened.failure().code, UnreadableInput(opened.failure().words)};
    const std::optional<InputTags> tags = ReadInputTags(input, lengthMs);
    if (!tags)
        return Failure::Because(UnreadableInput(input));
    input.close();
    // An input without ID3 and APE tags (FLAC, Ogg, WAV, ...) may keep tags in
    // a format of its own; they replace the few that SoX wrote from them.
    const QByteArray leadingTag = tags->leadingId3v2.isEmpty() && tags->trailing.isEmpty()
                                      ? ForeignTagsAsId3v24(inputPath)
                                      : Id3v2ForNewAudio(tags->leadingId3v2, lengthMs);

    QFile converted;
    if (const Done opened = FileSystem::Open(converted, convertedPath, QIODevice::ReadOnly);
        !opened)
        return Failure{opened.failure().code, UnreadableOutput(opened.failure().words)};
    const std::optional<MpegLayout> audio = ReadMpegLayout(converted);
    if (!audio)
        return Failure::Because(UnreadableOutput(converted));
    // No tag on either side: the converted file is already what it must be,
    // and is not written a second time.
    if (leadingTag.isEmpty() && tags->trailing.isEmpty() && audio->audioBegin == 0 &&
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
    if (const int error = WriteAll(tagged, leadingTag); error != 0)
        return Unwritable(error);
    if (const Done copied =
            CopyRange(converted, audio->audioBegin, audio->audioEnd, tagged, cancel);
        !copied)
        return copied.failure();
    if (const int error = WriteAll(tagged, tags->trailing); error != 0)
        return Unwritable(error);
    return true;
}

} // namespace velunor
