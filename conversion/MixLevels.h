#pragma once

#include <QByteArray>

#include <atomic>
#include <optional>
#include <vector>

namespace velunor::conversion {

// How loud a stereo input and its mono output are at the same few short
// stretches of the audio: enough to tell that the mix of the two channels
// came out near silent, as it does when one channel is the other turned
// upside down (a wrongly wired microphone, a "wide" stereo effect) and the
// two cancel out.
struct MixLevels {
    // RMS level in dBFS of each channel of the input over the stretches
    // (minus infinity for digital silence); a full-scale sine is -3 dBFS.
    std::vector<double> inputChannelDb;
    // The same of the output.
    double outputDb = 0;
    // The output is more than kCancelledBy below the louder input channel,
    // and that channel is no quieter than kSilentInput.
    bool outputNearSilent = false;
};

// An input this quiet (RMS over the stretches, its louder channel) is
// silence of its own, or hiss: its output says nothing about the mix.
constexpr double kSilentInputDb = -60.0;
// How far below the louder input channel an output counts as near silent:
// two channels that merely differ lose a few dB at most in a mix, while
// opposite ones cancel by 40 dB and more even after MP3 coding.
constexpr double kCancelledByDb = 30.0;

// How far below the louder input channel the mix of the input's two
// channels, worked out from the decoded input, must come before the output is
// decoded as well. Channels that merely differ lose 0 to 6 dB in a mix, and
// coding can take away only what lies above its lowpass: a mix this loud
// never comes out kCancelledByDb down, so the output need not be looked at.
constexpr double kMixWorthCheckingDb = 12.0;

// The input's side of the comparison: where its stretches lie and how loud
// each of its channels is over them. It needs no output, so it can be
// measured while the converter is still at work.
struct InputStretches {
    qint64 length = 0;  // frames of the whole input
    double rate = 0;    // its sample rate
    int count = 0;      // stretches
    qint64 stretch = 0; // frames of each stretch
    std::vector<double> channelDb;
    // The RMS level of the mean of the two channels of a stereo input, over
    // the same stretches: what the mix holds before it is coded.
    std::optional<double> mixDb;
};

// False when the input's own mix is loud enough that its output cannot come
// out near silent (see kMixWorthCheckingDb), or when the input is silence
// of its own; true when only the output can tell.
bool MixMayCancel(const InputStretches &input);

// Decodes the stretches of the MP3 file at `inputPathBytes`: none when
// it cannot be decoded, or once `cancel` is true. Reentrant.
std::optional<InputStretches> MeasureInputStretches(const QByteArray &inputPathBytes,
                                                    const std::atomic<bool> *cancel = nullptr);

// Compares the MP3 files at `inputPathBytes` and `outputPathBytes` at ten
// stretches of 0.2 seconds, centred on the middles of ten equal parts of the
// input and taken at the same times of the output: two seconds of each file
// are decoded, whatever their length, and only frame headers are read
// elsewhere (a one-minute file costs about 1% of its conversion). An input
// under five seconds has a stretch for each half second (three at least),
// which together take a third of it. None when either file cannot be
// decoded, or once `cancel` is true (looked at before each stretch).
// Reentrant.
std::optional<MixLevels> CompareMixLevels(const QByteArray &inputPathBytes,
                                          const QByteArray &outputPathBytes,
                                          const std::atomic<bool> *cancel = nullptr);
// The same with the input's side measured already.
std::optional<MixLevels> CompareMixLevels(const InputStretches &input,
                                          const QByteArray &outputPathBytes,
                                          const std::atomic<bool> *cancel = nullptr);

} // namespace velunor::conversion
