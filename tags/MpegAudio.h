#pragma once

#include "platform/Path.h"

#include <QString>

#include <atomic>
#include <optional>

class QIODevice;

namespace velunor::tags {

// The length of the MPEG audio stream in a file, found by walking its frames,
// and what its frames say of its channels and bit rate.
struct MpegAudioLength {
    qint64 frames = 0;
    qint64 samples = 0; // per channel
    int sampleRate = 0; // of the first frame
    qint64 bytes = 0;   // of the frames counted, headers included
    // Every frame counted is single-channel (mode bits 3).
    bool everyFrameMono = false;
    // Every frame counted is of layer III, MP3 proper, not layer I or II
    // audio in a file that only bears the name.
    bool everyFrameLayer3 = false;
    // Some frame counted is in dual-channel mode (mode bits 2): two
    // independent programmes, such as two languages, rather than stereo.
    bool anyFrameDualChannel = false;
    // The bytes between the file's tags, where its frames lie.
    qint64 bytesBetweenTags = 0;
    // Of the encoder's Xing/Info/VBRI frame, which holds no audio and is not
    // counted above, yet is part of the stream.
    qint64 streamInfoBytes = 0;

    double seconds() const;
    // True when the frames counted make up nearly all the bytes between the
    // tags (nine tenths): an MPEG audio file, rather than a file of another
    // kind (WAV, FLAC) in whose bytes a few frame headers happen to line up.
    bool fillsTheFile() const;
    // Bits a second over the whole stream (bytes × 8 / seconds), which a
    // variable bit rate stream's first frame does not tell; 0 without audio.
    double averageBitRate() const;
    // Mono MP3 already, which a mono output can be without being encoded.
    bool isMonoMp3() const { return everyFrameMono && everyFrameLayer3; }
};

// Walks the MPEG audio frames (MPEG 1, 2 and 2.5; layers I, II, III) of the
// file at `path`: skips an ID3v2 tag at the start (header size, footer flag),
// stops before the ID3v1, APE, Lyrics3 and appended ID3v2 tags at the end, and
// resynchronises after damaged bytes in the middle (a frame header counts only
// when the next frame header lines up with it, so random bytes that happen to
// look like a header are not counted). Empty when the file cannot be read or
// holds no MPEG audio stream. Never trusts a Xing/Info/VBRI header's frame
// count: the frames actually present are counted, because a cut-short file
// still carries the count of the full one. The frame holding such a header
// is silent and not counted. Reentrant. Gives up, empty, once `cancel` is
// true: it is looked at before every block of the file is read.
std::optional<MpegAudioLength> MeasureMpegAudio(const Path &path,
                                                const std::atomic<bool> *cancel = nullptr);
// The same for a file open for reading and seekable.
std::optional<MpegAudioLength> MeasureMpegAudio(QIODevice &file,
                                                const std::atomic<bool> *cancel = nullptr);

// True when `head` (the first bytes of a file) starts with an MPEG audio
// frame header.
bool StartsWithMpegFrameHeader(const QByteArray &head);

// The bytes a second of the MPEG audio stream that starts in `head` (the
// first bytes of a file, an ID3v2 tag included) takes, as its first frame
// header that the next one confirms gives it; none when `head` holds no such
// frame.
std::optional<int> MpegStreamBytesPerSecond(const QByteArray &head);

// True when the MPEG audio frames of the files at `first` and `second`, the
// bytes between their tags, are the same; false when either cannot be read.
bool SameMpegAudio(const Path &first, const Path &second);

} // namespace velunor::tags
