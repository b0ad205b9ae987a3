#pragma once

#include "conversion/FilePlan.h"
#include "conversion/Loudness.h"
#include "conversion/OutputMark.h"
#include "tags/ReplayGainTags.h"

#include <QList>

#include <atomic>
#include <memory>
#include <vector>

namespace velunor::conversion {

// What the album's ReplayGain values need of one output whose input carried
// ReplayGain values: where it went, the album it belongs to, and the
// loudness of its audio.
struct AlbumTrack {
    Path inputPath;
    Path output;                     // its final name
    platform::FileIdentity identity; // of the file the run put there
    std::optional<InputFacts> input; // for its mark, written again
    // The output took its input's place: its mark notes its own size and time.
    bool replacesInput = false;
    QByteArray made;     // how, for its mark (see MadeHow)
    qint64 lengthMs = 0; // of its audio, for TLEN
    // The album: the run's outputs of inputs in one folder ("" when its path
    // tells none) with one album tag ("" when the input has none).
    Path inputFolder;
    QString album;
    tags::ReplayGainValues trackValues;
    std::shared_ptr<const TrackLoudness> loudness; // null when not measured
};

// The track's ReplayGain values of the MP3 audio in the file open at `fd`
// (left open), measured over all of it: ReplayGain 2.0's gain against
// -18 LUFS and the sample peak. A value that cannot be had is none: the gain
// of silence, or both when the audio cannot be decoded to its end or
// `cancel` was raised.
struct TrackGain {
    tags::ReplayGainValues values;
    std::shared_ptr<const TrackLoudness> loudness; // null when not measured
};
TrackGain MeasureTrackGain(int fd, const std::atomic<bool> *cancel = nullptr);

// The track of the output of `plan` open at `fd` (left open), `lengthMs`
// long: its track values measured (see MeasureTrackGain), its album told by
// its input's real folder and album tag. Its final name and identity are
// the caller's to fill in once it has one.
std::shared_ptr<AlbumTrack> MeasureAlbumTrack(const FilePlan &plan, int fd, qint64 lengthMs,
                                              const std::atomic<bool> *cancel = nullptr);

// The album tag of the MP3 file at `path` (ID3v2, APE or ID3v1); "" when it
// has none or cannot be read. The tags of other formats carry no ReplayGain
// values over, so their album is never asked for.
QString AlbumTagOf(const Path &path);

// A warning about one input's output, found after the file was finished.
struct OutputWarning {
    Path inputPath;
    QString words;
};

// Gives the outputs of `tracks` that share an input folder and an album tag
// the album's gain and peak, measured over all of them as heard one after
// another, beside each one's own track values, in the tags' own forms. An
// output is written anew beside itself and takes its name back only once it
// is whole, written through to the disk, and the file at that name is still
// the one the run put there. A track without an album tag, and every track
// of an album one of whose tracks could not be measured, keeps its track
// values alone. Runs on a worker; gives up once `cancel` is raised. Each
// output whose album values could not be written is named with the reason;
// it keeps what it had.
QList<OutputWarning> WriteAlbumGains(const std::vector<std::shared_ptr<const AlbumTrack>> &tracks,
                                     const std::atomic<bool> *cancel = nullptr);

} // namespace velunor::conversion
