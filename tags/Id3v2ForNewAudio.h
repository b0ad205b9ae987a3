#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace velunor::tags {

// Where an ID3v2 tag goes in a file.
enum class TagPlace {
    Start, // in front of the audio
    End,   // appended after it, where readers find it by its footer
};

// The ID3v2 tag `tag` (as it sits at the start of a file, or appended at its
// end: header, frames, padding, footer) made fit for the same recording with
// new audio and for `place`: every frame keeps its bytes, in its order, in
// the tag's own version, except that
// - TLEN says `audioLengthMs` (written once, where the first TLEN was);
// - MLLT, ASPI, SEEK and TSIZ, which point into the old audio by byte
//   offsets, are left out;
// - the old encoding's gapless and loudness figures (comment and user text
//   frames described "iTunSMPB" or "iTunNORM") are left out; a frame whose
//   content cannot be read (compressed, encrypted) is kept as it is.
// An ID3v2.4 tag for the end has a footer and no padding; a tag for the
// start has no footer, which only serves a search from the end (and TagLib
// 1.13 reads a tag with one at the start ten bytes short, losing its last
// frame). A damaged tag gives the frames read before the damage; empty when
// `tag` is no ID3v2 tag or no frame of it can be read. Never reads outside
// `tag`; the result is never larger than `tag` by more than a TLEN frame and
// a footer.
QByteArray Id3v2ForNewAudio(const QByteArray &tag, qint64 audioLengthMs,
                            TagPlace place = TagPlace::Start);

// The description that a comment frame (COMM, COM in ID3v2.2) or a user text
// frame (TXXX, TXX) gives its text. `content` is the frame's content after
// its header and after the bytes its flags add: the text encoding byte
// (Latin-1, UTF-16 with a byte order mark, UTF-16BE, UTF-8), for a comment
// the language, then the description up to its terminator (or the end).
// None for any other frame, or when `content` is too short or its encoding
// unknown.
std::optional<QString> CommentOrUserTextDescription(QByteArrayView frameId, QByteArrayView content);

} // namespace velunor::tags
