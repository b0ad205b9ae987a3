#include "conversion/ReplayGainUpdate.h"

#include "conversion/Mp3Decoder.h"
#include "conversion/TemporaryOutput.h"
#include "platform/BackgroundWork.h"
#include "platform/FileSystem.h"
#include "platform/Processors.h"
#include "tags/AlbumTag.h"
#include "tags/TagCopy.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ReplayGainUpdate)
};

// The one failure that keeps the output as it was, told by the system's
// words for `error`.
Failure SystemFailure(int error)
{
    return {error, platform::FileSystem::SystemMessage(error)};
}

// Writes the output of `track` anew with ReplayGain values `values`, beside
// itself, and gives it the output's name once whole.
Done WriteValues(const AlbumTrack &track, const tags::ReplayGainValues &values,
                 const std::atomic<bool> *cancel)
{
    const Path folder = track.output.folder();
    Expected<std::unique_ptr<TemporaryOutput>> reserved = TemporaryOutput::Reserve(folder);
    if (!reserved)
        return SystemFailure(reserved.failure().code);
    TemporaryOutput &rewritten = **reserved;
    const Expected<bool> copied = tags::CopyTags(
        track.output, track.output, [&]() -> Expected<Path> { return rewritten.path(); },
        track.lengthMs, cancel, [&](const tags::ReplayGainForms &) { return values; });
    if (!copied)
        return copied.failure();
    if (!*copied)
        return {}; // no tag left that holds values
    // The output keeps the time it was given (its input's, with the dates
    // kept), which a later run's look at its mark may rely on.
    struct stat before {};
    if (::stat(track.output.c_str(), &before) == 0) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
        ::futimens(rewritten.descriptor(), times);
    }
    // An output in its input's place is written through before its mark
    // notes its time, as when it was made.
    if (track.replacesInput && ::fsync(rewritten.descriptor()) != 0)
        return SystemFailure(errno);
    if (track.input) {
        // Where the file system keeps no marks, there was none before either.
        const Done marked =
            WriteOutputMark(rewritten.descriptor(), *track.input, track.made, track.replacesInput);
        if (!marked && marked.failure().code != ENOTSUP && marked.failure().code != EOPNOTSUPP)
            return SystemFailure(marked.failure().code);
    }
    if (::fsync(rewritten.descriptor()) != 0)
        return SystemFailure(errno);
    // Held as a new output's name is claimed, so that no other run's output
    // comes between the look and the rename.
    const platform::FileSystem::FolderClaimLock claim(folder, cancel);
    if (!claim.isHeld())
        return Failure::Because(Words::tr("the run was stopped"));
    if (platform::FileSystem::IdentityOf(track.output) != track.identity)
        return Failure::Because(Words::tr("the output was replaced meanwhile"));
    if (const Done moved = rewritten.moveTo(track.output); !moved)
        return SystemFailure(moved.failure().code);
    platform::FileSystem::SyncFolder(folder);
    return {};
}

} // namespace

TrackGain MeasureTrackGain(int fd, const std::atomic<bool> *cancel)
{
    TrackGain gain;
    std::optional<TrackLoudness> measured = MeasureLoudness(fd, cancel);
    if (!measured)
        return gain;
    auto loudness = std::make_shared<const TrackLoudness>(std::move(*measured));
    gain.values.trackGainDb = loudness->replayGainDb();
    gain.values.trackPeak = loudness->peak();
    gain.loudness = std::move(loudness);
    return gain;
}

std::shared_ptr<AlbumTrack> MeasureAlbumTrack(const FilePlan &plan, int fd, qint64 lengthMs,
                                              const std::atomic<bool> *cancel)
{
    const TrackGain gain = MeasureTrackGain(fd, cancel);
    auto track = std::make_shared<AlbumTrack>();
    track->inputPath = plan.inputPath;
    track->input = plan.input;
    track->replacesInput = plan.replacesInput;
    track->lengthMs = lengthMs;
    const Path input =
        plan.input && !plan.input->real.isEmpty() ? plan.input->real : plan.inputPath;
    track->inputFolder = input.folder();
    track->album = AlbumTagOf(plan.inputPath);
    track->trackValues = gain.values;
    // A track of no album has no use for its measurement any more.
    if (!track->album.isEmpty())
        track->loudness = gain.loudness;
    return track;
}

QString AlbumTagOf(const Path &path)
{
    QFile file;
    if (!platform::FileSystem::Open(file, path, QIODevice::ReadOnly).ok())
        return QString();
    return tags::AlbumInFile(file);
}

QList<OutputWarning> WriteAlbumGains(const std::vector<std::shared_ptr<const AlbumTrack>> &tracks,
                                     const std::atomic<bool> *cancel)
{
    std::map<std::pair<QByteArray, QString>, std::vector<const AlbumTrack *>> albums;
    for (const auto &track : tracks)
        if (track && !track->album.isEmpty())
            albums[{track->inputFolder.bytes(), track->album}].push_back(track.get());

    struct Rewrite {
        const AlbumTrack *track;
        tags::ReplayGainValues values;
        std::optional<Failure> failure;
    };
    std::vector<Rewrite> rewrites;
    for (const auto &[album, members] : albums) {
        std::vector<const TrackLoudness *> loudness;
        for (const AlbumTrack *track : members)
            if (track->loudness)
                loudness.push_back(track->loudness.get());
        // An album measured in part would give its tracks a wrong gain.
        if (loudness.size() != members.size())
            continue;
        const std::optional<AlbumLoudness> measured = MeasureAlbumLoudness(loudness);
        if (!measured)
            continue;
        for (const AlbumTrack *track : members) {
            tags::ReplayGainValues values = track->trackValues;
            values.albumGainDb = measured->replayGainDb;
            values.albumPeak = measured->peak;
            rewrites.push_back({track, values, std::nullopt});
        }
    }

    // The run's last moments are these rewrites, each waiting on the disk
    // for much of its time: they share the processors as the conversions
    // did, rather than leave all but one idle.
    platform::ForEachAtOnce(rewrites.size(), size_t(platform::ProcessorsAllowed()), [&](size_t at) {
        if (cancel && cancel->load())
            return;
        Rewrite &rewrite = rewrites[at];
        const Done written = WriteValues(*rewrite.track, rewrite.values, cancel);
        if (!written && !(cancel && cancel->load()))
            rewrite.failure = written.failure();
    });

    QList<OutputWarning> warnings;
    for (const Rewrite &rewrite : rewrites)
        if (rewrite.failure)
            warnings.append(
                {rewrite.track->inputPath,
                 Words::tr("the album's ReplayGain values could not be written (%1); it "
                           "keeps the track's")
                     .arg(rewrite.failure->words)});
    return warnings;
}

} // namespace velunor::conversion
