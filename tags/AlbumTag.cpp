#include "tags/AlbumTag.h"

#include "tags/ApeTag.h"
#include "tags/Id3v2Frames.h"
#include "tags/MpegLayout.h"

#include <QIODevice>

namespace velunor::tags {

namespace {

constexpr qint64 kId3v1Size = 128;
constexpr qint64 kId3v1AlbumOffset = 63;
constexpr qint64 kId3v1FieldSize = 30;

// The album field of an ID3v1 tag at the end of `file`: Latin-1, padded with
// zeros or spaces.
QString AlbumInId3v1(QIODevice &file)
{
    if (file.size() < kId3v1Size || !file.seek(file.size() - kId3v1Size))
        return QString();
    const QByteArray tag = file.read(kId3v1Size);
    if (tag.size() != kId3v1Size || !tag.startsWith("TAG"))
        return QString();
    QByteArray album = tag.mid(kId3v1AlbumOffset, kId3v1FieldSize);
    if (const qsizetype end = album.indexOf('\0'); end >= 0)
        album.truncate(end);
    return QString::fromLatin1(album).trimmed();
}

} // namespace

QString AlbumInId3v2(const QByteArray &tag)
{
    const id3v2::TagBody read(tag);
    if (read.kind() != id3v2::TagBody::Kind::Readable)
        return QString();
    qint64 position = read.framesStart();
    while (const std::optional<id3v2::Frame> frame = read.frameAt(position)) {
        position += frame->bytes.size();
        if (frame->id != "TALB" && frame->id != "TAL")
            continue;
        const std::optional<QByteArray> content = id3v2::ReadableContent(*frame, read.version());
        if (!content || content->isEmpty())
            return QString();
        // Several values are separated by the terminator; the first is the
        // album.
        const std::optional<QString> text = id3v2::TextUpToTerminator(
            static_cast<unsigned char>(content->front()), QByteArrayView(*content).sliced(1));
        return text ? text->trimmed() : QString();
    }
    return QString();
}

QString AlbumInApe(const QByteArray &tag)
{
    const std::optional<ape::Tag> read = ape::ReadTag(tag);
    if (!read)
        return QString();
    for (const ape::Item &item : read->items)
        if (item.key.compare("Album", Qt::CaseInsensitive) == 0)
            // Several values are separated by zero bytes.
            return QString::fromUtf8(item.value.left(item.value.indexOf('\0') >= 0
                                                         ? item.value.indexOf('\0')
                                                         : item.value.size()))
                .trimmed();
    return QString();
}

QString AlbumInFile(QIODevice &file)
{
    const std::optional<TagsOfFile> tags = ReadTagsOfFile(file);
    if (!tags)
        return QString();
    for (const QByteArray &tag : tags->id3v2)
        if (QString album = AlbumInId3v2(tag); !album.isEmpty())
            return album;
    for (const QByteArray &tag : tags->ape)
        if (QString album = AlbumInApe(tag); !album.isEmpty())
            return album;
    return AlbumInId3v1(file);
}

} // namespace velunor::tags
