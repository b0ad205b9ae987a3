#pragma once

#include <QByteArray>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace velunor::conversion {

class Mp3Decoder;
class TrackLoudness;

// ReplayGain 2.0's album figures over the files of one album.
struct AlbumLoudness {
    std::optional<double> integratedLufs; // none when all of it is silence
    std::optional<double> replayGainDb;   // see ReplayGainFor
    double peak = 0;                      // the highest peak of any file
};

// The loudness of `tracks` heard one after another: their gated blocks
// taken together, not an average of their figures. None without tracks.
std::optional<AlbumLoudness> MeasureAlbumLoudness(const std::vector<const TrackLoudness *> &tracks);

// The loudness of one MP3 file as a whole by EBU R128 (ITU-R BS.1770,
// gated), its sample peaks, and the measurement itself, kept so that the
// loudness of an album can be found over several files. A mono file is
// measured as heard from two speakers (dual mono), as a stereo recording of
// the same sound in both channels is, so that a mono conversion gets the
// gain of the stereo file it came from.
class TrackLoudness {
public:
    // Decodes the whole stream of `decoder` and measures it. None when it
    // cannot be decoded to its end, or as soon as `cancel` is true (looked
    // at every few thousand samples).
    static std::optional<TrackLoudness> Measure(Mp3Decoder &decoder,
                                                const std::atomic<bool> *cancel = nullptr);

    TrackLoudness(TrackLoudness &&) noexcept;
    TrackLoudness &operator=(TrackLoudness &&) noexcept;
    ~TrackLoudness();

    // The highest absolute sample of each channel, 1.0 being full scale.
    const std::vector<double> &channelPeaks() const { return channelPeaks_; }
    // The highest of them: ReplayGain's peak.
    double peak() const;
    // Integrated loudness in LUFS; none when the whole file lies below the
    // absolute gate (-70 LUFS), as silence does.
    std::optional<double> integratedLufs() const { return integratedLufs_; }
    // ReplayGain 2.0's track gain (see ReplayGainFor); none for silence.
    std::optional<double> replayGainDb() const;

private:
    friend std::optional<AlbumLoudness>
    MeasureAlbumLoudness(const std::vector<const TrackLoudness *> &tracks);
    struct Meter;
    explicit TrackLoudness(std::unique_ptr<Meter> meter);

    std::unique_ptr<Meter> meter_;
    std::vector<double> channelPeaks_;
    std::optional<double> integratedLufs_;
};

// Opens the MP3 file at `pathBytes`, or open at `fd` (seekable, left open),
// and measures it as TrackLoudness::Measure does. None when it cannot be
// opened. Reentrant.
std::optional<TrackLoudness> MeasureLoudness(const QByteArray &pathBytes,
                                             const std::atomic<bool> *cancel = nullptr);
std::optional<TrackLoudness> MeasureLoudness(int fd, const std::atomic<bool> *cancel = nullptr);

// ReplayGain 2.0's gain for a loudness of `lufs`: what brings it to
// -18 LUFS, in dB to two decimals.
double ReplayGainFor(double lufs);

} // namespace velunor::conversion
