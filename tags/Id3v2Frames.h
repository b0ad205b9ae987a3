#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Reading and writing the frames of ID3v2 tags (versions 2.2, 2.3 and 2.4)
// as bytes, for the programs' own changes to users' tags that keep every
// other frame exactly as it was.
//
// The tag comes from the user's file and may be damaged in any way: every
// size is taken in 64 bits and checked against the bytes that are there,
// and the first one that does not fit ends the reading.
namespace velunor::tags::id3v2 {

constexpr qint64 kTagHeaderSize = 10;
// The tag header's size field holds 28 bits.
constexpr qint64 kLargestBody = 0x0FFFFFFF;

// A frame found in a tag's body.
struct Frame {
    QByteArrayView id;    // three letters in 2.2, four in 2.3 and 2.4
    QByteArrayView bytes; // header included
    int formatFlags = 0;  // 2.3 and 2.4 only
};

// The body of an ID3v2 tag, ready for its frames to be walked.
class TagBody {
public:
    // How `tag` (header, frames, padding, footer) reads.
    enum class Kind {
        NotATag,  // no ID3v2 header, or one no reader takes
        Opaque,   // a version to come, or a 2.2 tag marked compressed (a scheme
                  // never defined): its frames cannot be told apart
        Damaged,  // its extended header does not fit
        Readable, // body() holds its frames from framesStart()
    };

    explicit TagBody(const QByteArray &tag);
    TagBody(const TagBody &) = delete;
    TagBody &operator=(const TagBody &) = delete;

    Kind kind() const { return kind_; }
    int version() const { return version_; }
    // A 2.4 tag that a footer ends, as a tag appended at the end of a file.
    bool hasFooter() const;
    // The body after the header, its unsynchronisation undone where it
    // applied to the whole tag (2.2 and 2.3; in 2.4 each frame says).
    QByteArrayView body() const { return resynchronised_ ? QByteArrayView(plain_) : stored_; }
    // Where the frames start in body(): after the extended header.
    qint64 framesStart() const { return framesStart_; }

    // The frame at `position` of body(); none at padding, at the end, or
    // where the bytes make no frame that fits into what is left.
    std::optional<Frame> frameAt(qint64 position) const;

    // The tag again with `frames` in place of those that end at `framesEnd`
    // of body(): the same version and flags, but without the extended header
    // (its checksum and padding size describe the old frames) and, where the
    // whole tag was unsynchronised, no longer so. The zeros that followed
    // the frames stay as padding; anything else there is damage that no
    // reader gets past either, and is left out. With a footer and no padding
    // when `footer` (for a tag at the end of a file; 2.4 only), otherwise
    // without. Empty when `frames` is.
    QByteArray rebuilt(qint64 framesEnd, const QByteArray &frames, bool footer) const;

private:
    const QByteArray tag_; // shares the bytes that stored_ views
    Kind kind_ = Kind::NotATag;
    int version_ = 0;
    int flags_ = 0;
    QByteArrayView stored_;
    QByteArray plain_;
    bool resynchronised_ = false;
    qint64 framesStart_ = 0;
};

// What takes the place of `frame` of a tag of `version`: appended to
// `made` (the frame's own bytes, other frames, or nothing).
using FrameEdit =
    std::function<void(const Frame &frame, int version, std::vector<QByteArray> &made)>;
// Adds to the frames made once every frame was edited; at most `room`
// bytes more fit into a tag.
using FramesFinish = std::function<void(int version, std::vector<QByteArray> &made, qint64 room)>;

enum class Footer { AsItWas, With, Without };

// `tag` made anew of its frames as `edit` has them, then as `finish` does
// (see TagBody::rebuilt, with a footer as `footer` says). A tag whose frames
// cannot be told apart (TagBody::Kind::Opaque) comes back as it is; an
// unreadable tag, or one left without frames, empty. The frames stop before
// the first that would make the tag larger than the ID3v2 size field holds.
QByteArray EditedTag(const QByteArray &tag, const FrameEdit &edit, const FramesFinish &finish,
                     Footer footer);

int FrameHeaderSize(int version);

// The content of `frame` (after its header) as a reader sees it: per-frame
// unsynchronisation undone, and the group, size and data length bytes that
// its flags add skipped. None when it is compressed or encrypted.
std::optional<QByteArray> ReadableContent(const Frame &frame, int version);
// The same, and the content of a compressed frame inflated (zlib) when it
// comes to at most `mostBytes`; none when it is encrypted, or compressed
// and does not inflate within that.
std::optional<QByteArray> InflatedContent(const Frame &frame, int version, qint64 mostBytes);

// A frame without flags: `id` and `content` with the header of `version`.
QByteArray MakeFrame(int version, QByteArrayView id, QByteArrayView content);

// Text in ID3v2 text encoding `encoding` (0 Latin-1, 1 UTF-16 with a byte
// order mark, 2 UTF-16BE, 3 UTF-8) at the start of `bytes`, up to its
// terminator or the end. None for an unknown encoding.
std::optional<QString> TextUpToTerminator(int encoding, QByteArrayView bytes);
// The bytes of `bytes` after the first terminator of text in `encoding`
// (one zero byte, or two at an even offset for UTF-16); none without one.
std::optional<QByteArrayView> AfterTerminator(int encoding, QByteArrayView bytes);
// `text` in `encoding`, without terminator; UTF-16 with a byte order mark
// for encoding 1, Latin-1 for an unknown encoding.
QByteArray EncodedText(int encoding, const QString &text);
// The terminator of text in `encoding`.
QByteArray Terminator(int encoding);

} // namespace velunor::tags::id3v2
