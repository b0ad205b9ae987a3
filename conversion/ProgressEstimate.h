#pragma once

#include "platform/Path.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace velunor::conversion {

// How far a run has got, by the audio it holds rather than by its files, so
// that a long file counts for what it is.
struct RunProgress {
    // Of the whole run's audio: never falls during a run, and reaches 1
    // only when it has ended.
    double fraction = 0.0;
    // Estimated from the audio converted per second so far, once there is
    // enough to go by.
    std::optional<qint64> secondsLeft;
    int filesLeft = 0;
    // The length of all the run's audio, as far as it is known: files not
    // measured yet count as long as the average of those that are.
    double audioSeconds = 0.0;
    // The earliest listed file being converted; empty when none is.
    Path atWork;
};

// A time left as a clock shows it: "0:42", "3:10", "1:02:03".
QString DurationText(qint64 seconds);

// A file at work, as the estimate weighs it.
struct FileAtWork {
    std::optional<double> seconds; // its length, once measured
    qint64 outputBytes = 0;        // what its converter has written so far
    int bytesPerSecond = 0;        // of its output, once known
    bool completing = false;       // its converter has ended; it is being checked
};

// The share of a run's audio that is done, and the time left, from the
// lengths of its files as they are measured and from how far each file at
// work has got. Kept as sums while files are planned, measured and done, so
// that a long list costs nothing per look.
class ProgressEstimate {
public:
    // `clockMs`: milliseconds on a clock that never goes back.
    explicit ProgressEstimate(std::function<qint64()> clockMs);

    void filePlanned() { ++planned_; }
    // A file taken and then left out (the same input listed twice).
    void fileDropped() { --planned_; }
    // A planned file's length, once measured; `done` when it ended before.
    void fileMeasured(double seconds, bool done);
    // A planned file ended, measured or not.
    void fileDone(std::optional<double> seconds);
    // The first converter started: the time left is told from now on.
    void workStarted();

    // The progress with `waiting` files not planned yet and `atWork` being
    // converted or checked; `ended` once the run is over. A run that is
    // stopping tells no time left.
    RunProgress estimate(int waiting, const std::vector<FileAtWork> &atWork, bool ended,
                         bool stopping = false);

    // The average length of the files measured so far; a second before any.
    double averageSeconds() const;

private:
    std::function<qint64()> clockMs_;
    int planned_ = 0;
    double measuredSeconds_ = 0.0;
    int measuredCount_ = 0;
    double doneMeasuredSeconds_ = 0.0;
    int doneUnmeasuredCount_ = 0;
    std::optional<qint64> workStartMs_;
    double shownFraction_ = 0.0;
};

} // namespace velunor::conversion
