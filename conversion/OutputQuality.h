#pragma once

#include "tags/MpegAudio.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velunor::conversion {

// How the output's MP3 is encoded, when the user chose it (--quality).
struct OutputQuality {
    enum class Kind {
        // At a constant bit rate: per channel what the input has (see
        // SourceBitRate).
        Source,
        // At a constant bit rate of `value` kbps.
        ConstantBitRate,
        // At a variable bit rate, LAME's quality `value`: 0 (best, largest)
        // to 9 (smallest).
        VariableBitRate,
    };
    Kind kind = Kind::Source;
    int value = 0;

    bool operator==(const OutputQuality &) const = default;
};

// A --quality value read, or why it is none.
struct ParsedQuality {
    OutputQuality quality;
    QString error; // one line for the user; "" when `quality` holds the value

    bool ok() const { return error.isEmpty(); }
};

// Reads a --quality value: "source", a bit rate in kbps ("128") that MPEG
// layer III has at some sample rate, or "v0" to "v9"; letters in any case.
ParsedQuality ParseOutputQuality(const QString &text);

// The layer III bit rates in kbps at `sampleRate`, lowest first: 32 to 320
// at the MPEG-1 rates (32, 44.1 and 48 kHz), 8 to 160 at the MPEG-2 and 2.5
// rates (8 to 24 kHz); empty at any other rate.
QList<int> Layer3BitRates(int sampleRate);

// The layer III bit rate at `sampleRate` nearest to `kbps`, the lower one of
// two as near (as LAME picks when asked for a rate that is not there); none
// when MPEG audio has no such sample rate.
std::optional<int> NearestLayer3BitRate(double kbps, int sampleRate);

// The constant bit rate that keeps an MP3 input's quality in a mono output
// at `outputSampleRate`: the input's average bit rate per channel (half of a
// stereo or dual-channel input's, all of a mono one's), rounded to the
// nearest layer III bit rate there. None when that sample rate has none.
std::optional<int> SourceBitRate(const tags::MpegAudioLength &input, int outputSampleRate);

// The words that tell SoX how to encode the MP3 output, to stand among the
// output's options (after "-c 1", before the output's name). SoX hands `-C`
// to LAME: a positive number is a constant bit rate in kbps, a negative one
// (or 0) a variable bit rate of that quality, with a Xing header that holds
// the frame count when the output is a regular file.
// - No quality: nothing, so LAME's defaults hold as they always did.
// - A bit rate: "-C" and the bit rate nearest to it at `outputSampleRate`
//   (as asked, when that rate is no MPEG rate), as LAME would silently
//   change it anyway.
// - vN: "-C" and "-N" ("0" for v0).
// - Source: "-C" and SourceBitRate; nothing when `input` is no MPEG audio
//   (FLAC, WAV, ...) or `outputSampleRate` no MPEG rate.
QStringList SoxEncodingOptions(const std::optional<OutputQuality> &quality,
                               const std::optional<tags::MpegAudioLength> &input,
                               int outputSampleRate);

// Words for an output encoded at another constant bit rate than the one
// asked: the encoder takes the nearest it has at the output's sample rate
// (at 8 kHz no more than 64 kbps), and nothing else would tell. "" when the
// output has the rate asked, or none was.
QString BitRateChangedWords(const std::optional<OutputQuality> &quality,
                            const tags::MpegAudioLength &output);

} // namespace velunor::conversion
