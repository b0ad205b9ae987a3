#include "Loudness.h"

#include "Mp3Decoder.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace velunor::conversion {

namespace {

constexpr double kReplayGainReference = -18.0; // LUFS
constexpr qint64 kBlockFrames = 4096;

// Integrated loudness as libebur128 gives it through `measure`, which
// writes it: minus infinity below the gate.
template <typename Measure> std::optional<double> Lufs(const Measure &measure)
{
    double lufs = 0;
    if (measure(&lufs) != EBUR128_SUCCESS || !std::isfinite(lufs))
        return std::nullopt;
    return lufs;
}

} // namespace

struct TrackLoudness::Meter {
    ebur128_state *state = nullptr;

    Meter() = default;
    Meter(const Meter &) = delete;
    Meter &operator=(const Meter &) = delete;
    ~Meter()
    {
        if (state)
            ebur128_destroy(&state);
    }

    // Ready for `channels` at `sampleRate`, a lone channel counted twice.
    bool takeFormat(int channels, long sampleRate)
    {
        if (!state) {
            state = ebur128_init(unsigned(channels), ulong(sampleRate), EBUR128_MODE_I);
        } else if (const int changed =
                       ebur128_change_parameters(state, unsigned(channels), ulong(sampleRate));
                   changed != EBUR128_SUCCESS && changed != EBUR128_ERROR_NO_CHANGE) {
            // The state is no longer of use.
            return false;
        }
        return state && (channels != 1 ||
                         ebur128_set_channel(state, 0, EBUR128_DUAL_MONO) == EBUR128_SUCCESS);
    }
};

TrackLoudness::TrackLoudness(std::unique_ptr<Meter> meter) : meter_(std::move(meter))
{
}
TrackLoudness::TrackLoudness(TrackLoudness &&) noexcept = default;
TrackLoudness &TrackLoudness::operator=(TrackLoudness &&) noexcept = default;
TrackLoudness::~TrackLoudness() = default;

std::optional<TrackLoudness> TrackLoudness::Measure(Mp3Decoder &decoder,
                                                    const std::atomic<bool> *cancel)
{
    TrackLoudness track(std::make_unique<Meter>());
    std::vector<float> samples(kBlockFrames * 2);
    int channels = 0;
    long sampleRate = 0;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        const qint64 frames = decoder.read(samples.data(), kBlockFrames);
        if (frames < 0)
            return std::nullopt;
        if (frames == 0)
            break;
        if (decoder.channels() != channels || decoder.sampleRate() != sampleRate) {
            channels = decoder.channels();
            sampleRate = decoder.sampleRate();
            if (!track.meter_->takeFormat(channels, sampleRate))
                return std::nullopt;
            track.channelPeaks_.resize(std::max<size_t>(track.channelPeaks_.size(), channels));
        }
        if (ebur128_add_frames_float(track.meter_->state, samples.data(), size_t(frames)) !=
            EBUR128_SUCCESS)
            return std::nullopt;
        // Channel by channel, without a division for each sample: this loop
        // runs over every sample of every output that carries ReplayGain.
        for (int channel = 0; channel < channels; ++channel) {
            float peak = float(track.channelPeaks_[size_t(channel)]);
            const float *sample = samples.data() + channel;
            for (qint64 frame = 0; frame < frames; ++frame, sample += channels)
                peak = std::max(peak, std::fabs(*sample));
            track.channelPeaks_[size_t(channel)] = peak;
        }
    }
    if (!track.meter_->state)
        return std::nullopt;
    track.integratedLufs_ =
        Lufs([&](double *lufs) { return ebur128_loudness_global(track.meter_->state, lufs); });
    return track;
}

double TrackLoudness::peak() const
{
    return channelPeaks_.empty() ? 0.0
                                 : *std::max_element(channelPeaks_.begin(), channelPeaks_.end());
}

std::optional<double> TrackLoudness::replayGainDb() const
{
    if (!integratedLufs_)
        return std::nullopt;
    return ReplayGainFor(*integratedLufs_);
}

std::optional<TrackLoudness> MeasureLoudness(const QByteArray &pathBytes,
                                             const std::atomic<bool> *cancel)
{
    const std::unique_ptr<Mp3Decoder> decoder = Mp3Decoder::Open(pathBytes);
    return decoder ? TrackLoudness::Measure(*decoder, cancel) : std::nullopt;
}

std::optional<TrackLoudness> MeasureLoudness(int fd, const std::atomic<bool> *cancel)
{
    const std::unique_ptr<Mp3Decoder> decoder = Mp3Decoder::Open(fd);
    return decoder ? TrackLoudness::Measure(*decoder, cancel) : std::nullopt;
}

std::optional<AlbumLoudness> MeasureAlbumLoudness(const std::vector<const TrackLoudness *> &tracks)
{
    if (tracks.empty())
        return std::nullopt;
    std::vector<ebur128_state *> states;
    AlbumLoudness album;
    for (const TrackLoudness *track : tracks) {
        states.push_back(track->meter_->state);
        album.peak = std::max(album.peak, track->peak());
    }
    album.integratedLufs = Lufs([&](double *lufs) {
        return ebur128_loudness_global_multiple(states.data(), states.size(), lufs);
    });
    if (album.integratedLufs)
        album.replayGainDb = ReplayGainFor(*album.integratedLufs);
    return album;
}

double ReplayGainFor(double lufs)
{
    return std::round((kReplayGainReference - lufs) * 100) / 100;
}

} // namespace velunor::conversion
