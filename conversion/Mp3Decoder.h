#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

namespace velunor::conversion {

// Decodes an MP3 file (MPEG audio layers I to III) with libmpg123 into
// interleaved 32-bit float samples, 1.0 being full scale (a decoded MP3 may
// go past it). Decoding is gapless: the encoder's delay and padding that a
// LAME header tells are left out, so an input and its conversion line up.
// libmpg123 says nothing on the error output. One object serves one thread;
// any number of objects may decode at once.
class Mp3Decoder {
public:
    // A decoder of the file at `pathBytes` (the path as the file system has
    // it), or of the file open for reading at `fd` (which stays open, and
    // keeps its offset: it is read with pread). Null when the file cannot be
    // opened or holds no MPEG audio frame that libmpg123 can decode.
    static std::unique_ptr<Mp3Decoder> Open(const QByteArray &pathBytes);
    static std::unique_ptr<Mp3Decoder> Open(int fd);

    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder &) = delete;
    Mp3Decoder &operator=(const Mp3Decoder &) = delete;

    // Of the samples that the last read() gave (or the next will, before the
    // first). They change only where the stream does.
    int channels() const { return channels_; }
    long sampleRate() const { return sampleRate_; }

    // Decodes up to `maxFrames` frames (one sample per channel) into
    // `samples`, which has room for maxFrames × 2 floats. The frames given,
    // all of one format; 0 at the end; -1 when the stream cannot be decoded
    // further.
    qint64 read(float *samples, qint64 maxFrames);

    // The frames of the whole stream, found by walking its frames (which
    // reads the file but decodes nothing); -1 when that fails.
    qint64 length();

    // Moves to the frame `frame` of the stream; false when that fails.
    bool seek(qint64 frame);

private:
    struct Handle;
    explicit Mp3Decoder(std::unique_ptr<Handle> handle);
    static std::unique_ptr<Mp3Decoder> Opened(std::unique_ptr<Handle> handle);
    bool takeFormat();

    std::unique_ptr<Handle> handle_;
    int channels_ = 0;
    long sampleRate_ = 0;
    bool formatPending_ = false;
};

} // namespace velunor::conversion
