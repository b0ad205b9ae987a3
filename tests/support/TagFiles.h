#pragma once

#include <QByteArray>
#include <QString>

#include <taglib/mpegfile.h>
#include <taglib/tbytevector.h>

#include <memory>

// What the tests of tags share: bytes in both libraries' forms, an MP3 opened
// with TagLib, and the tag copy as the program does it.
namespace velunor::testing {

// `size` bytes of noise, the same for the same size.
QByteArray Noise(qsizetype size);
TagLib::ByteVector Vector(const QByteArray &bytes);
QByteArray Bytes(const TagLib::ByteVector &vector);

std::unique_ptr<TagLib::MPEG::File> OpenMp3(const QString &path);
// The bytes between an MP3 file's tags, as TagLib finds them.
QByteArray AudioBytes(const QString &path);

// Copies the tags of `input` onto the converted file `converted` as the
// program does: into a new empty file beside it, which then replaces it.
// "" or the problem.
QString CopyTagsOnto(const QString &input, const QString &converted, qint64 lengthMs);

} // namespace velunor::testing
