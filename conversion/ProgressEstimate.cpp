#include "conversion/ProgressEstimate.h"

#include <algorithm>
#include <cmath>

namespace velunor::conversion {

namespace {

// The time left is told once this much work has been done.
constexpr qint64 kEstimateAfterMs = 3000;
// A file counts as this far along, at most, while its converter still works
// and while its output is checked.
constexpr double kMostWhileConverting = 0.97;
constexpr double kMostWhileCompleting = 0.99;

} // namespace

QString DurationText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2")
            .arg(hours > 0 ? QString::number(minutes).rightJustified(2, u'0')
                           : QString::number(minutes))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QString::number(hours) + u':' + minutesAndSeconds : minutesAndSeconds;
}

ProgressEstimate::ProgressEstimate(std::function<qint64()> clockMs) : clockMs_(std::move(clockMs))
{
}

void ProgressEstimate::fileMeasured(double seconds, bool done)
{
    measuredSeconds_ += seconds;
    ++measuredCount_;
    if (done) {
        doneMeasuredSeconds_ += seconds;
        --doneUnmeasuredCount_;
    }
}

void ProgressEstimate::fileDone(std::optional<double> seconds)
{
    if (seconds)
        doneMeasuredSeconds_ += *seconds;
    else
        ++doneUnmeasuredCount_;
}

void ProgressEstimate::workStarted()
{
    if (!workStartMs_)
        workStartMs_ = clockMs_();
}

double ProgressEstimate::averageSeconds() const
{
    return measuredCount_ > 0 ? measuredSeconds_ / measuredCount_ : 1.0;
}

RunProgress ProgressEstimate::estimate(int waiting, const std::vector<FileAtWork> &atWork,
                                       bool ended, bool stopping)
{
    RunProgress progress;
    const double average = averageSeconds();
    const int unmeasured = planned_ - measuredCount_;
    const double total = measuredSeconds_ + (unmeasured + waiting) * average;
    double done = doneMeasuredSeconds_ + doneUnmeasuredCount_ * average;
    for (const FileAtWork &file : atWork) {
        if (file.completing) {
            done += file.seconds.value_or(average) * kMostWhileCompleting;
            continue;
        }
        // How far a converter has got is known only against the file's own
        // length; until it is measured, the file counts as not begun.
        if (file.seconds && file.bytesPerSecond > 0 && *file.seconds > 0)
            done +=
                *file.seconds * std::min(kMostWhileConverting,
                                         file.outputBytes / (*file.seconds * file.bytesPerSecond));
    }
    if (ended)
        shownFraction_ = 1.0;
    else if (total > 0)
        shownFraction_ = std::max(shownFraction_, std::min(done / total, kMostWhileCompleting));
    progress.fraction = shownFraction_;
    progress.audioSeconds = total;
    // Only real lengths tell a time: an estimate waits for a measured file.
    const qint64 workedMs = workStartMs_ ? clockMs_() - *workStartMs_ : 0;
    if (measuredCount_ > 0 && workedMs >= kEstimateAfterMs && done > 0 && !ended && !stopping) {
        const double perSecond = done / (workedMs / 1000.0);
        progress.secondsLeft = std::llround(std::max(0.0, total - done) / perSecond);
    }
    return progress;
}

} // namespace velunor::conversion
