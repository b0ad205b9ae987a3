#include "TagFiles.h"

#include "Files.h"
#include "tags/TagCopy.h"

#include <QFile>
#include <QRandomGenerator>

#include <taglib/apefooter.h>
#include <taglib/apetag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>

#include <cstdio>

namespace velunor::testing {

QByteArray Noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(static_cast<quint32>(size));
    for (char &byte : bytes)
        byte = char(generator.generate());
    return bytes;
}

TagLib::ByteVector Vector(const QByteArray &bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

QByteArray Bytes(const TagLib::ByteVector &vector)
{
    return QByteArray(vector.data(), static_cast<qsizetype>(vector.size()));
}

std::unique_ptr<TagLib::MPEG::File> OpenMp3(const QString &path)
{
    return std::make_unique<TagLib::MPEG::File>(QFile::encodeName(path).constData());
}

QByteArray AudioBytes(const QString &path)
{
    const auto file = OpenMp3(path);
    const QByteArray bytes = Contents(path);
    const qsizetype begin = file->hasID3v2Tag() ? file->ID3v2Tag()->header()->completeTagSize() : 0;
    const qsizetype end = bytes.size() - (file->hasID3v1Tag() ? 128 : 0) -
                          (file->hasAPETag() ? file->APETag()->footer()->completeTagSize() : 0);
    return bytes.mid(begin, end - begin);
}

QString CopyTagsOnto(const QString &input, const QString &converted, qint64 lengthMs)
{
    const QString tagged = converted + QStringLiteral(".tagged");
    if (!WriteFile(tagged, QByteArray()))
        return QStringLiteral("no file for the tagged copy");
    const Expected<bool> copy = tags::CopyTags(
        Path::FromText(input), Path::FromText(converted),
        [&]() -> Expected<Path> { return Path::FromText(tagged); }, lengthMs);
    if (copy && *copy)
        std::rename(QFile::encodeName(tagged).constData(),
                    QFile::encodeName(converted).constData());
    QFile::remove(tagged);
    return copy ? QString() : copy.failure().words;
}

} // namespace velunor::testing
