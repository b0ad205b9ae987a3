#include "MixLevels.h"

#include "Mp3Decoder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace velunor {

namespace {

constexpr int kStretches = 10;
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
            const int channels = decoder.channels();
            sums_.resize(std::max<size_t>(sums_.size(), channels));
            for (qint64 i = 0; i < read * channels; ++i)
                sums_[size_t(i % channels)] += double(samples[size_t(i)]) * samples[size_t(i)];
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

private:
    std::vector<double> sums_;
    qint64 count_ = 0;
};

} // namespace

std::optional<MixLevels> CompareMixLevels(const QByteArray &inputPathBytes,
                                          const QByteArray &outputPathBytes,
                                          const std::atomic<bool> *cancel)
{
    const std::unique_ptr<Mp3Decoder> input = Mp3Decoder::Open(inputPathBytes);
    const std::unique_ptr<Mp3Decoder> output = Mp3Decoder::Open(outputPathBytes);
    if (!input || !output)
        return std::nullopt;
    const qint64 length = input->length();
    if (length <= 0)
        return std::nullopt;
    const double inputRate = double(input->sampleRate());
    const double outputRate = double(output->sampleRate());
    const qint64 stretch =
        std::min<qint64>(qint64(kStretchSeconds * inputRate), length / kStretches);

    Energy inputEnergy, outputEnergy;
    for (int i = 0; i < kStretches; ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        // Centred on the middles of ten equal parts of the input.
        const qint64 start = (2 * i + 1) * length / (2 * kStretches) - stretch / 2;
        if (!inputEnergy.add(*input, start, std::max<qint64>(stretch, 1)) ||
            !outputEnergy.add(*output, qint64(start / inputRate * outputRate),
                              std::max<qint64>(qint64(stretch / inputRate * outputRate), 1)))
            return std::nullopt;
    }

    MixLevels levels;
    levels.inputChannelDb = inputEnergy.channelDb();
    const std::vector<double> outputDb = outputEnergy.channelDb();
    if (levels.inputChannelDb.empty() || outputDb.empty())
        return std::nullopt;
    levels.outputDb = *std::max_element(outputDb.begin(), outputDb.end());
    const double louderInput =
        *std::max_element(levels.inputChannelDb.begin(), levels.inputChannelDb.end());
    levels.outputNearSilent =
        louderInput >= kSilentInputDb && levels.outputDb < louderInput - kCancelledByDb;
    return levels;
}

} // namespace velunor
