#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <vector>

class QIODevice;

namespace velunor::tags {

// A stretch of a file that one tag takes.
struct TagSpan {
    qint64 offset = 0;
    qint64 size = 0;
    bool operator==(const TagSpan &) const = default;
};

// Where the audio of an MP3 file lies between its tags.
struct MpegLayout {
    qint64 fileSize = 0;
    // The ID3v2 tag at the very start, header to footer; 0 when there is none.
    qint64 leadingTagSize = 0;
    // After every ID3v2 tag at the start: some taggers put a new tag in front
    // of an old one instead of replacing it.
    qint64 audioBegin = 0;
    // Before the APE, Lyrics3, ID3v1 and appended ID3v2 tags at the end, in
    // whatever order they follow each other. Everything from here to the end
    // is tags.
    qint64 audioEnd = 0;
    // The ID3v2 tags among those at the end, in the order of the file: an
    // ID3v2.4 tag may be appended to a file, and is found by its footer.
    std::vector<TagSpan> appendedId3v2Tags;
    // The APE tags among those at the end (header, when it has one, to
    // footer), in the order of the file.
    std::vector<TagSpan> apeTags;
};

// The size of the ID3v2 tag that `header` (its first ten bytes) starts,
// header to footer; 0 when `header` starts no ID3v2 tag.
qint64 Id3v2TagSize(const QByteArray &header);

// Finds the tags at both ends of `file`, which is open for reading and
// seekable. Only the few bytes that mark each tag are read, and no size read
// there is trusted beyond the bounds of the file (a leading tag that claims
// more is cut at its end; a tag at the end that would reach back into the
// leading tags is no tag). Empty when the file cannot be read.
std::optional<MpegLayout> ReadMpegLayout(QIODevice &file);

// The bytes of every ID3v2 and APE tag of `file` (open for reading,
// seekable), as ReadMpegLayout finds them.
struct TagsOfFile {
    // Those at the start first, in the order of the file, then those
    // appended at the end.
    std::vector<QByteArray> id3v2;
    std::vector<QByteArray> ape;
};
// Empty when the file or one of its tags cannot be read.
std::optional<TagsOfFile> ReadTagsOfFile(QIODevice &file);

} // namespace velunor::tags
