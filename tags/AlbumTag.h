#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace velunor::tags {

// The album that an ID3v2 tag (as it sits in a file, header to footer)
// names in its album frame (TALB, TAL in version 2.2): its first value,
// trimmed; "" when it names none or the frame cannot be read.
QString AlbumInId3v2(const QByteArray &tag);
// The album that an APE tag names in its "Album" item, trimmed; "" when none.
QString AlbumInApe(const QByteArray &tag);
// The album that the tags of an MP3 file (open for reading, seekable) name,
// as players read it: its ID3v2 tags first, then its APE tags, then its
// ID3v1 tag; "" when none names one or the file cannot be read.
QString AlbumInFile(QIODevice &file);

} // namespace velunor::tags
