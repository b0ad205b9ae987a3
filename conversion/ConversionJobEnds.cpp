// How the files of a conversion job end: a converter's end and the check and
// completion of its output on a worker, the stop, and what is given up on.

#include "conversion/ConversionJob.h"

#include "conversion/OutputSubfolder.h"

#include <QCoreApplication>

#include <csignal>
#include <utility>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ConversionJob)
};

using Result = FileOutcome::Result;

// A file's checks and completion may take this long, plus a second per
// megabyte written, before the disk counts as not answering.
constexpr qint64 kCompletionBaseMs = 60000;
constexpr qint64 kCompletionBytesPerMs = 1000;

} // namespace

void ConversionJob::onConverterEnded(int sequence)
{
    const auto found = records_.find(sequence);
    if (found == records_.end() || found->second.state != FileState::Converting)
        return;
    FileRecord &record = found->second;
    platform::ChildProcess *process = std::exchange(record.process, nullptr);
    const platform::ProcessEnd end = process->end().value_or(platform::ProcessEnd{});
    const QByteArray errorOutput = process->errorOutput();
    process->deleteLater();
    converting_.erase(sequence);
    // Looked at the moment the converter is seen to end, before any worker
    // removes an unfinished file and frees space again.
    if (record.temporary && errorOutput.contains("write failed"))
        diskFull_->checkNow(record.plan.outputFolder);
    emit atWorkChanged();

    // A converter that had ended before the stop has a whole output, which
    // is kept like any other; one ended by the stop has not.
    if (phase_ == Phase::Stopping && !record.endedBeforeStop)
        finish(sequence, record, Result::Stopped);
    else
        complete(sequence, record, end, errorOutput);
    pump();
}

void ConversionJob::complete(int sequence, FileRecord &record, const platform::ProcessEnd &end,
                             const QByteArray &errorOutput, bool copyAudio)
{
    noteOutputSize(record);
    auto completion = std::make_shared<Completion>();
    completion->plan = record.plan;
    completion->end = end;
    completion->errorOutput = errorOutput;
    completion->copyAudio = copyAudio;
    completion->converter = setup_.converter;
    completion->inputSeconds = record.seconds;
    completion->inputLevels = std::move(record.inputLevels);
    record.completedWithLength = record.seconds.has_value();
    completion->temporary = std::move(record.temporary);
    completion->names = setup_.names;
    completion->listed = setup_.listed;
    completion->diskFull = diskFull_;
    completion->startedAt = record.startedAt;
    auto control = std::make_shared<CompletionControl>();
    control->hold(completion->temporary->path());
    record.control = control;
    record.state = FileState::Completing;
    record.completingSince.start();
    completing_.insert(sequence);
    if (!deadlineTimer_.isActive())
        deadlineTimer_.start();
    // The worker owns the completion and shares the control and the
    // mailbox; it never touches the job, which may be gone when it ends.
    platform::RunDetached([completion, control, mailbox = mailbox_, this, sequence] {
        const FileOutcome outcome = CompleteOutput(*completion, *control);
        // Anything of this file still on disk goes now, on this thread.
        completion->temporary.reset();
        mailbox->post(
            [this, sequence, control, outcome] { onCompleted(sequence, control, outcome); });
    });
}

void ConversionJob::onCompleted(int sequence, const std::shared_ptr<CompletionControl> &control,
                                const FileOutcome &outcome)
{
    const auto found = records_.find(sequence);
    // A worker given up on reports too late: its file is settled already.
    if (found == records_.end() || found->second.state != FileState::Completing ||
        found->second.control != control)
        return;
    finish(sequence, found->second, outcome);
    pump();
}

void ConversionJob::finish(int sequence, FileRecord &record, FileOutcome::Result result,
                           const QString &detail, OutcomeNumber number)
{
    FileOutcome outcome;
    outcome.result = result;
    outcome.detail = detail;
    outcome.number = number;
    finish(sequence, record, std::move(outcome));
}

void ConversionJob::finish(int sequence, FileRecord &record, FileOutcome outcome)
{
    if (record.state == FileState::Done)
        return;
    if (record.state == FileState::Waiting)
        forgetWaiting(sequence, record);
    outcome.inputPath = record.plan.inputPath;
    record.outcome = std::move(outcome);
    record.state = FileState::Done;
    // An unfinished output goes with its record.
    record.temporary.reset();
    record.control.reset();
    planning_.erase(sequence);
    replanning_.erase(sequence);
    preparing_.erase(sequence);
    converting_.erase(sequence);
    completing_.erase(sequence);
    ++finished_;
    estimate_.fileDone(record.seconds);
    emit fileFinished(record.outcome);
}

void ConversionJob::checkDeadlines()
{
    if (completing_.empty()) {
        deadlineTimer_.stop();
        return;
    }
    const std::set<int> completing = completing_;
    for (const int sequence : completing) {
        FileRecord &record = records_[sequence];
        const qint64 limit = kCompletionBaseMs + record.outputBytes / kCompletionBytesPerMs;
        if (record.completingSince.elapsed() < limit)
            continue;
        if (record.control->abandon())
            finish(sequence, record, Result::NotFinished,
                   Words::tr("the output could not be finished: the disk did not answer "
                             "for %1 seconds")
                       .arg(limit / 1000));
    }
    pump();
}

void ConversionJob::stop()
{
    if (phase_ == Phase::NotStarted) {
        phase_ = Phase::Finished;
        QTimer::singleShot(0, this, [this] { emit finished(); });
        return;
    }
    if (phase_ != Phase::Running)
        return;
    phase_ = Phase::Stopping;
    planner_.stop();
    measurer_.stop();
    *walksCancel_ = true;
    for (auto &[sequence, record] : records_)
        if (record.state == FileState::Planning || record.state == FileState::Waiting ||
            record.state == FileState::Replanning || record.state == FileState::Preparing)
            finish(sequence, record, Result::NotReached);
    for (const int sequence : converting_) {
        FileRecord &record = records_[sequence];
        record.endedBeforeStop = record.process->end().has_value();
    }
    signalConverters(SIGTERM);
    stopSchedule_.start();
    emit progressed();
    maybeFinish();
}

// Shortly before the two seconds are up: whatever is not settled is told as
// stopped, and nothing of it reaches a final name any more.
void ConversionJob::giveUpOnWorkers()
{
    const std::set<int> converting = converting_;
    for (const int sequence : converting) {
        FileRecord &record = records_[sequence];
        if (record.process) {
            record.process->disconnect(this);
            record.process = nullptr; // reaped when the job goes
        }
        finish(sequence, record, Result::Stopped);
    }
    const std::set<int> completing = completing_;
    for (const int sequence : completing) {
        FileRecord &record = records_[sequence];
        if (record.control->abandon())
            finish(sequence, record, Result::Stopped);
        else
            finish(sequence, record, Result::NotFinished,
                   Words::tr("the run was stopped while the output was being put in "
                             "place as %1")
                       .arg(record.plan.outputPath.text()));
    }
    maybeFinish();
}

void ConversionJob::signalConverters(int signal)
{
    for (const int sequence : converting_) {
        FileRecord &record = records_[sequence];
        if (record.process && !record.endedBeforeStop)
            record.process->sendSignal(signal);
    }
}

void ConversionJob::maybeFinish()
{
    if (phase_ == Phase::Finished || phase_ == Phase::NotStarted)
        return;
    if (!converting_.empty() || !completing_.empty() || !planning_.empty() ||
        !replanning_.empty() || !preparing_.empty())
        return;
    if (phase_ == Phase::Running &&
        (!sourceEmpty_ || !measuredWaiting_.empty() || !unmeasuredWaiting_.empty()))
        return;
    phase_ = Phase::Finished;
    RemoveEmptyMadeFolders(std::exchange(madeFolders_, {}));
    stopSchedule_.cancel();
    deadlineTimer_.stop();
    planner_.stop();
    measurer_.stop();
    *walksCancel_ = true;
    QTimer::singleShot(0, this, [this] { emit finished(); });
}

} // namespace velunor::conversion
