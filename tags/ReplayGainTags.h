#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

namespace velunor::tags {

// ReplayGain values for one file: gains in dB, peaks as parts of full
// scale. A value that could not be found is none.
struct ReplayGainValues {
    std::optional<double> trackGainDb;
    std::optional<double> trackPeak;
    std::optional<double> albumGainDb;
    std::optional<double> albumPeak;
};

// The forms in which tags carry ReplayGain values.
struct ReplayGainForms {
    // ID3v2 user text frames (TXXX, TXX in 2.2) described
    // REPLAYGAIN_TRACK_GAIN, _TRACK_PEAK, _ALBUM_GAIN or _ALBUM_PEAK, in
    // any case.
    bool id3v2UserText = false;
    // ID3v2 relative volume adjustments (RVA2): "album" (in any case) for
    // the album, any other identification for the track, as players read
    // them.
    bool id3v2Rva2 = false;
    // APE items REPLAYGAIN_*.
    bool apeReplayGain = false;
    // APE items MP3GAIN_*: mp3gain's note of a gain it applied to the frames
    // (MP3GAIN_UNDO) and of the frames' gain range (MP3GAIN_MINMAX,
    // MP3GAIN_ALBUM_MINMAX).
    bool apeMp3Gain = false;

    bool any() const { return id3v2UserText || id3v2Rva2 || apeReplayGain || apeMp3Gain; }
    // True when a form holds gains and peaks (mp3gain's notes hold none).
    bool holdsValues() const { return id3v2UserText || id3v2Rva2 || apeReplayGain; }
    // Every form of either.
    ReplayGainForms &operator|=(const ReplayGainForms &other);
    bool operator==(const ReplayGainForms &) const = default;
};

// The forms in the ID3v2 tag `tag` (as it sits in a file, header to
// footer). Frames that cannot be read (compressed, encrypted) are none.
ReplayGainForms ReplayGainFormsInId3v2(const QByteArray &tag);
// The forms in the APE tag `tag` (header, where it has one, to footer).
ReplayGainForms ReplayGainFormsInApe(const QByteArray &tag);
// The forms in every ID3v2 and APE tag of `file` (open for reading,
// seekable), at its start and at its end as ReadMpegLayout finds them; none
// when it cannot be read.
std::optional<ReplayGainForms> ReplayGainFormsInFile(QIODevice &file);

// The ID3v2 tag `tag` with its ReplayGain values made `values`, in the same
// version and in every form the tag used for them:
// - a user text frame keeps its text encoding and description and takes the
//   new value ("-3.21 dB", "0.812345"); user text frames for the values the
//   tag lacked follow its last ReplayGain frame, in Latin-1, described as
//   its first one is cased;
// - an RVA2 frame keeps its identification and holds the gain as a master
//   volume adjustment (16 bits, 1/512 dB) with the peak (16 bits, 1.0 being
//   32768), and nothing for other channels, which a mono file has not; an
//   RVA2 frame for the album follows the track's when the tag lacked one.
// Every value that `values` does not give is removed with its frame, never
// left to describe other audio, and so is a second frame for the same
// value; an RVA2 frame goes without its gain. Every other frame keeps its
// bytes, in its order; the tag's padding stays, its extended header goes
// (see id3v2::TagBody::rebuilt), and a footer stays. A tag without
// ReplayGain frames comes back as it is; a tag left without frames, or that
// is no ID3v2 tag, comes back empty.
QByteArray Id3v2WithReplayGain(const QByteArray &tag, const ReplayGainValues &values);

// The APE tag `tag` with its ReplayGain values made `values` the same way:
// REPLAYGAIN_* items take the new values as text (new ones for the values
// it lacked follow its last, in capitals), those not given are removed. Every
// MP3GAIN_* item is removed too: mp3gain's undo note would change the new
// audio by a gain it never had if applied, and the old frames' gain range
// says nothing of the new ones. Every other item keeps its key, flags and
// value, in its order, and the tag its version, flags and header. A tag
// without ReplayGain or mp3gain items comes back as it is; one left without
// items, or that is no APE tag, comes back empty.
QByteArray ApeWithReplayGain(const QByteArray &tag, const ReplayGainValues &values);

// The text of a gain ("+1.50 dB", "-3.21 dB") and of a peak ("0.812345").
QString ReplayGainText(double gainDb);
QString ReplayPeakText(double peak);

} // namespace velunor::tags
