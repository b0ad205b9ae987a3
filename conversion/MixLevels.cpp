#include "MixLevels.h"

#include "Mp3Decoder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace velunor::conversion {

namespace {

constexpr int kMostStretches = 10;
constexpr int kFewestStretches = 1;
// After each seek the decoder decodes a few frames before the stretch (to
// fill the bit reservoir), more than a short stretch costs itself: a short
// input is sampled at one stretch a second, together at most a tenth of it.
// Every input of a run is checked, so on a run of one-second files this keeps
// the check under 2% of SoX's own work instead of 4%.
constexpr double kSecondsPerStretch = 1.0;
constexpr int kShareOfStretches = 10;
constexpr double kStretchSeconds = 0.2;

// The sums of squared samples of each channel over the stretches decoded.
class Energy {
public:
    // Adds `frames` frames of `decoder` from its frame `start`; false when
    // they cannot be decoded.
    bool add(Mp3Decoder &decoder, qint64 start, qint64 frames)
    {
        if (!decoder.seek(start))
            return false;
        constexpr qint64 kBlockFrames = 4096;
        std::vector<float> samples(kBlockFrames * 2);
        while (frames > 0) {
            const qint64 read = decoder.read(samples.data(), std::min(frames, kBlockFrames));
            if (read < 0)
                return false;
            if (read == 0) // the output may end a little before the input
                break;
            const size_t channels = size_t(decoder.channels());
            sums_.resize(std::max(sums_.size(), channels));
            for (size_t channel = 0; channel < channels; ++channel) {
                double sum = 0;
                for (size_t i = channel; i < size_t(read) * channels; i += channels)
                    sum += double(samples[i]) * samples[i];
                sums_[channel] += sum;
            }
            if (channels == 2) {
                double sum = 0;
                for (size_t i = 0; i < size_t(read) * 2; i += 2) {
                    const double mixed = (double(samples[i]) + samples[i + 1]) / 2;
                    sum += mixed * mixed;
                }
                mixSum_ += sum;
            }
            count_ += read;
            frames -= read;
        }
        return true;
    }

    // The RMS level of each channel, in dBFS (a full-scale sine at -3).
    std::vector<double> channelDb() const
    {
        std::vector<double> levels;
        for (const double sum : sums_)
            levels.push_back(count_ > 0 ? 10 * std::log10(sum / double(count_))
                                        : -std::numeric_limits<double>::infinity());
        return levels;
    }

    // The RMS level of the mean of two channels, in dBFS.
    double mixDb() const
    {
        return count_ > 0 ? 10 * std::log10(mixSum_ / double(count_))
                          : -std::numeric_limits<double>::infinity();
    }

private:
    std::vector<double> sums_;
    double mixSum_ = 0;
    qint64 count_ = 0;
};

// The first frame of the stretch `index` of `count` of an input of `length`
// frames.
qint64 StretchStart(int index, int count, qint64 length, qint64 stretch)
{
    // Centred on the middles of `count` equal parts of the input.
    return (2 * index + 1) * length / (2 * qint64(count)) - stretch / 2;
}

} // namespace

std::optional<InputStretches> MeasureInputStretches(const QByteArray &inputPathBytes,
                                                    const std::atomic<bool> *cancel)
{
    const std::unique_ptr<Mp3Decoder> input = Mp3Decoder::Open(inputPathBytes);
    if (!input)
        return std::nullopt;
    InputStretches measured;
    measured.length = input->length();
    if (measured.length <= 0)
        return std::nullopt;
    measured.rate = double(input->sampleRate());
    measured.count = std::clamp(int(double(measured.length) / measured.rate / kSecondsPerStretch),
                                kFewestStretches, kMostStretches);
    measured.stretch = std::min<qint64>(qint64(kStretchSeconds * measured.rate),
                                        measured.length / (measured.count * kShareOfStretches));
    Energy energy;
    for (int i = 0; i < measured.count; ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        if (!energy.add(*input, StretchStart(i, measured.count, measured.length, measured.stretch),
                        std::max<qint64>(measured.stretch, 1)))
            return std::nullopt;
    }
    measured.channelDb = energy.channelDb();
    if (measured.channelDb.empty())
        return std::nullopt;
    if (measured.channelDb.size() == 2)
        measured.mixDb = energy.mixDb();
    return measured;
}

bool MixMayCancel(const InputStretches &input)
{
    if (!input.mixDb) // a stereo input has both channels' levels too
        return true;
    const double louder = *std::max_element(input.channelDb.begin(), input.channelDb.end());
    return louder >= kSilentInputDb && *input.mixDb < louder - kMixWorthCheckingDb;
}

std::optional<MixLevels> CompareMixLevels(const InputStretches &input,
                                          const QByteArray &outputPathBytes,
                                          const std::atomic<bool> *cancel)
{
    const std::unique_ptr<Mp3Decoder> output = Mp3Decoder::Open(outputPathBytes);
    if (!output || input.channelDb.empty() || input.rate <= 0)
        return std::nullopt;
    const double outputRate = double(output->sampleRate());
    Energy energy;
    for (int i = 0; i < input.count; ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        const qint64 start = StretchStart(i, input.count, input.length, input.stretch);
        if (!energy.add(
                *output, qint64(double(start) / input.rate * outputRate),
                std::max<qint64>(qint64(double(input.stretch) / input.rate * outputRate), 1)))
            return std::nullopt;
    }
    const std::vector<double> outputDb = energy.channelDb();
    if (outputDb.empty())
        return std::nullopt;
    MixLevels levels;
    levels.inputChannelDb = input.channelDb;
    levels.outputDb = *std::max_element(outputDb.begin(), outputDb.end());
    const double louderInput =
        *std::max_element(levels.inputChannelDb.begin(), levels.inputChannelDb.end());
    levels.outputNearSilent =
        louderInput >= kSilentInputDb && levels.outputDb < louderInput - kCancelledByDb;
    return levels;
}

std::optional<MixLevels> CompareMixLevels(const QByteArray &inputPathBytes,
                                          const QByteArray &outputPathBytes,
                                          const std::atomic<bool> *cancel)
{
    const std::optional<InputStretches> input = MeasureInputStretches(inputPathBytes, cancel);
    if (!input)
        return std::nullopt;
    return CompareMixLevels(*input, outputPathBytes, cancel);
}

} // namespace velunor::conversion
