#include "TagCopy.h"

#include "ForeignTags.h"
#include "Id3v2ForNewAudio.h"
#include "MpegLayout.h"

#include <QFile>

#include <optional>

namespace velunor {

namespace {

constexpr qint64 kCopyBlockSize = 1024 * 1024;

QString Reason(const QString &what, const QFileDevice &file)
{
    return what + QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
}

QString UnreadableInput(const QFileDevice &file)
{
    return Reason(QStringLiteral("the tags of the input could not be read"), file);
}

QString UnreadableOutput(const QFileDevice &file)
{
    return Reason(QStringLiteral("the converted file could not be read"), file);
}

QString Unwritable(const QFileDevice &file)
{
    return Reason(QStringLiteral("the tags could not be written"), file);
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

// Writes all of `bytes`. A write that stops short (the disk filled up part way)
// is tried again for the rest, so that the error it then meets is the one told.
bool WriteAll(QFile &file, const char *bytes, qint64 size)
{
    while (size > 0) {
        const qint64 written = file.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool WriteAll(QFile &file, const QByteArray &bytes)
{
    return WriteAll(file, bytes.constData(), bytes.size());
}

// Copies the bytes [`begin`, `end`) of `from` to `to`; "" on success,
// otherwise the reason.
QString CopyRange(QFile &from, qint64 begin, qint64 end, QFile &to)
{
    if (!from.seek(begin))
        return UnreadableOutput(from);
    QByteArray block(kCopyBlockSize, Qt::Uninitialized);
    for (qint64 offset = begin; offset < end; offset += kCopyBlockSize) {
        const qint64 count = std::min(kCopyBlockSize, end - offset);
        if (from.read(block.data(), count) != count)
            return UnreadableOutput(from);
        if (!WriteAll(to, block.constData(), count))
            return Unwritable(to);
    }
    return QString();
}

} // namespace

TagCopyResult CopyTags(const QString &inputPath, const QString &outputPath,
                       const QString &taggedPath, qint64 outputLengthMs,
                       const std::atomic<bool> *cancel)
{
    Q_UNUSED(cancel);
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        return {UnreadableInput(input)};
    const std::optional<MpegLayout> inputLayout = ReadMpegLayout(input);
    const std::optional<QByteArray> leadingTag =
        inputLayout ? ReadExactly(input, 0, inputLayout->leadingTagSize) : std::nullopt;
    // APE, Lyrics3 and ID3v1 hold nothing tied to the audio: they go over as
    // they are, in their order.
    const std::optional<QByteArray> trailingTags =
        inputLayout ? ReadExactly(input, inputLayout->audioEnd,
                                  inputLayout->fileSize - inputLayout->audioEnd)
                    : std::nullopt;
    if (!leadingTag || !trailingTags)
        return {UnreadableInput(input)};
    input.close();
    // An input without ID3 and APE tags (FLAC, Ogg, WAV, ...) may keep tags in
    // a format of its own; they replace the few that SoX wrote from them.
    const QByteArray newTag =
        leadingTag->isEmpty() && trailingTags->isEmpty()
            ? ForeignTagsAsId3v24(inputPath)
            : Id3v2ForNewAudio(*leadingTag, std::max<qint64>(0, outputLengthMs));

    QFile converted(outputPath);
    if (!converted.open(QIODevice::ReadOnly))
        return {UnreadableOutput(converted)};
    const std::optional<MpegLayout> audio = ReadMpegLayout(converted);
    if (!audio)
        return {UnreadableOutput(converted)};
    // No tag on either side: the converted file is already what it must be,
    // and is not written a second time.
    if (newTag.isEmpty() && trailingTags->isEmpty() && audio->audioBegin == 0 &&
        audio->audioEnd == audio->fileSize)
        return {};

    QFile tagged(taggedPath);
    // Unbuffered, so that a write that fails is the one WriteAll sees.
    if (!tagged.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {Unwritable(tagged)};
    if (!WriteAll(tagged, newTag))
        return {Unwritable(tagged)};
    if (const QString problem = CopyRange(converted, audio->audioBegin, audio->audioEnd, tagged);
        !problem.isEmpty())
        return {problem};
    if (!WriteAll(tagged, *trailingTags) || !tagged.flush())
        return {Unwritable(tagged)};
    return {QString(), true};
}

} // namespace velunor
