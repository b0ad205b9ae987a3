#pragma once

#include <QtGlobal>

#include <optional>

class QIODevice;

namespace velunor {

// Where the audio of an MP3 file lies between its tags.
struct MpegLayout {
    qint64 fileSize = 0;
    // The ID3v2 tag at the very start, header to footer; 0 when there is none.
    qint64 leadingTagSize = 0;
    // After every ID3v2 tag at the start: some taggers put a new tag in front
    // of an old one instead of replacing it.
    qint64 audioBegin = 0;
    // Before the APE, Lyrics3 and ID3v1 tags at the end, in whatever order
    // they follow each other. Everything from here to the end is tags.
    qint64 audioEnd = 0;
};

// Finds the tags at both ends of `file`, which is open for reading and
// seekable. Only the few bytes that mark each tag are read. Empty when the
// file cannot be read.
std::optional<MpegLayout> ReadMpegLayout(QIODevice &file);

} // namespace velunor
