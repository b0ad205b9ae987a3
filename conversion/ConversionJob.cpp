#include "conversion/ConversionJob.h"

#include "tags/MpegAudio.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QEventLoop>
#include <QFile>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor {

namespace {

using Result = FileOutcome::Result;

// Planning gives the window back this often, so that a list of many
// thousand files never holds it.
constexpr qint64 kPlanSliceMs = 10;
// After Stop: converters that ignore SIGTERM get SIGKILL after a second, and
// whatever is not settled after a second and a half is given up on, so that
// the program can be gone within two.
constexpr int kKillAfterMs = 1000;
constexpr int kGiveUpAfterMs = 1500;
constexpr int kStopNowLimitMs = 2000;
// A file's checks and completion may take this long, plus a second per
// megabyte written, before the disk counts as not answering.
constexpr qint64 kCompletionBaseMs = 60000;
constexpr qint64 kCompletionBytesPerMs = 1000;
// The time left is told once this much work has been done.
constexpr qint64 kEstimateAfterMs = 3000;
// A file counts as this far along, at most, while its converter still works
// and while its output is checked.
constexpr double kMostWhileConverting = 0.97;
constexpr double kMostWhileCompleting = 0.99;
// How much of its output a converter has written before its bit rate is
// read from it.
constexpr qint64 kHeadBytes = 4096;

} // namespace

// Measures the inputs' lengths on a thread of its own, in the order asked.
struct ConversionJob::Measurer {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::pair<int, Path>> queue;
    bool stopped = false;
    std::atomic<bool> cancel{false};
    StagedConverter converter;

    void add(int sequence, const Path &path)
    {
        const std::lock_guard lock(mutex);
        queue.emplace_back(sequence, path);
        wake.notify_one();
    }

    void stop()
    {
        const std::lock_guard lock(mutex);
        stopped = true;
        cancel = true;
        wake.notify_one();
    }

    static void Run(const std::shared_ptr<Measurer> &self,
                    const std::shared_ptr<ResultMailbox> &mailbox, ConversionJob *job)
    {
        std::unique_lock lock(self->mutex);
        for (;;) {
            self->wake.wait(lock, [&] { return self->stopped || !self->queue.empty(); });
            if (self->stopped)
                return;
            const int sequence = self->queue.front().first;
            const Path path = self->queue.front().second;
            self->queue.pop_front();
            lock.unlock();
            const std::optional<double> seconds =
                AudioSeconds(path, self->converter, &self->cancel);
            mailbox->post([job, sequence, seconds] { job->onMeasured(sequence, seconds); });
            lock.lock();
        }
    }
};

ConversionJob::ConversionJob(ProcessStarter &starter, JobSetup setup, FileSource &source,
                             QObject *parent)
    : QObject(parent), starter_(starter), setup_(std::move(setup)), source_(source),
      mailbox_(std::make_shared<ResultMailbox>(this)), measurer_(std::make_shared<Measurer>())
{
    setup_.parallel = std::max(1, setup_.parallel);
    if (!setup_.clockMs) {
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        setup_.clockMs = [clock] { return clock->elapsed(); };
    }
    measurer_->converter = setup_.converter;
    killTimer_.setSingleShot(true);
    connect(&killTimer_, &QTimer::timeout, this, [this] { signalConverters(SIGKILL); });
    giveUpTimer_.setSingleShot(true);
    connect(&giveUpTimer_, &QTimer::timeout, this, [this] { giveUpOnWorkers(); });
    deadlineTimer_.setInterval(1000);
    connect(&deadlineTimer_, &QTimer::timeout, this, [this] { checkDeadlines(); });
}

ConversionJob::~ConversionJob()
{
    mailbox_->close();
    measurer_->stop();
    // Whatever still works goes with the job: the converters are killed and
    // their unfinished outputs removed with their records; workers that are
    // completing a file never touch its final name any more.
    for (const int sequence : converting_)
        if (ChildProcess *process = records_[sequence].process)
            process->sendSignal(SIGKILL);
    for (const int sequence : completing_)
        if (const auto &control = records_[sequence].control)
            control->abandon();
}

int ConversionJob::ConversionsAtOnce()
{
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

void ConversionJob::start()
{
    if (phase_ != Phase::NotStarted)
        return;
    phase_ = Phase::Running;
    RunDetached([measurer = measurer_, mailbox = mailbox_, this] {
        Measurer::Run(measurer, mailbox, this);
    });
    pump();
}

void ConversionJob::schedulePump()
{
    if (pump_ == Pump::Idle) {
        pump_ = Pump::Scheduled;
        QTimer::singleShot(0, this, [this] {
            if (pump_ == Pump::Scheduled)
                pump_ = Pump::Idle;
            pump();
        });
    } else if (pump_ == Pump::Running) {
        pump_ = Pump::RunAgain;
    }
}

void ConversionJob::pump()
{
    // Deciding a file's plan may show a message, and while it is open other
    // converters end and want their places filled: that is done here, once
    // the plan in hand is placed.
    if (pump_ == Pump::Running || pump_ == Pump::RunAgain) {
        pump_ = Pump::RunAgain;
        return;
    }
    bool morePlans = false;
    do {
        pump_ = Pump::Running;
        morePlans = planSome();
        startSome();
    } while (pump_ == Pump::RunAgain);
    pump_ = Pump::Idle;
    emit progressed();
    if (morePlans)
        schedulePump();
    maybeFinish();
}

bool ConversionJob::planSome()
{
    QElapsedTimer slice;
    slice.start();
    // Asked afresh each time: the user may have added files since.
    sourceEmpty_ = false;
    while (phase_ == Phase::Running) {
        if (slice.elapsed() >= kPlanSliceMs)
            return true;
        std::optional<FilePlan> plan = source_.nextFile();
        if (!plan) {
            sourceEmpty_ = true;
            return false;
        }
        // The same file listed twice is converted once.
        if (!plan->isSkipped() && plan->input && !inputs_.insert(plan->input->identity).second)
            continue;
        const int sequence = nextSequence_++;
        FileRecord &record = records_[sequence];
        record.plan = std::move(*plan);
        if (record.plan.isSkipped()) {
            finish(sequence, record, Result::Skipped, record.plan.skipReason);
        } else if (phase_ != Phase::Running) {
            // Stopped while the turn was decided.
            finish(sequence, record, Result::NotReached);
        } else {
            unmeasuredWaiting_.insert(sequence);
            measurer_->add(sequence, record.plan.inputPath);
        }
    }
    return false;
}

void ConversionJob::startSome()
{
    while (phase_ == Phase::Running && static_cast<int>(converting_.size()) < setup_.parallel) {
        const std::optional<int> sequence = nextToStart();
        if (!sequence)
            break;
        launch(*sequence);
    }
}

// The longest file waiting, by its measured length; a file not measured yet
// counts as long as the average. Equal lengths go in list order, so a list
// of unmeasured files starts in list order.
std::optional<int> ConversionJob::nextToStart()
{
    const bool haveMeasured = !measuredWaiting_.empty();
    const bool haveUnmeasured = !unmeasuredWaiting_.empty();
    if (!haveMeasured && !haveUnmeasured)
        return std::nullopt;
    bool takeMeasured = haveMeasured;
    if (haveMeasured && haveUnmeasured) {
        const double longest = -measuredWaiting_.begin()->first;
        const double average = averageSeconds();
        takeMeasured =
            longest > average ||
            (longest == average && measuredWaiting_.begin()->second < *unmeasuredWaiting_.begin());
    }
    int sequence = 0;
    if (takeMeasured) {
        sequence = measuredWaiting_.begin()->second;
        measuredWaiting_.erase(measuredWaiting_.begin());
    } else {
        sequence = *unmeasuredWaiting_.begin();
        unmeasuredWaiting_.erase(unmeasuredWaiting_.begin());
    }
    return sequence;
}

void ConversionJob::forgetWaiting(int sequence, const FileRecord &record)
{
    if (record.seconds)
        measuredWaiting_.erase({-*record.seconds, sequence});
    else
        unmeasuredWaiting_.erase(sequence);
}

void ConversionJob::launch(int sequence)
{
    FileRecord &record = records_[sequence];
    const FilePlan &plan = record.plan;
    if (!source_.stillListed(plan)) {
        finish(sequence, record, Result::LeftList);
        return;
    }
    if (setup_.converterProblem) {
        if (const QString problem = setup_.converterProblem(); !problem.isEmpty()) {
            finish(sequence, record, Result::Skipped,
                   QStringLiteral("the converter was not run: ") + problem);
            return;
        }
    }
    int error = 0;
    record.temporary = TemporaryOutput::Reserve(plan.outputFolder, error);
    if (!record.temporary) {
        finish(sequence, record,
               FolderWriteFailure(plan.outputFolder, error).value_or(Result::FolderUnwritable),
               QString(), error);
        return;
    }
    const ArgumentString arguments =
        ArgumentString::ForMode(plan.mode, plan.inputPath, record.temporary->path());
    std::unique_ptr<ChildProcess> process = starter_.startProcess(
        setup_.converter.path, arguments.arguments(), setup_.converter.environment, error);
    if (!process) {
        finish(sequence, record, Result::NotStarted, QString(), error);
        return;
    }
    record.startedAt = DiskFullLog::Clock::now();
    record.process = process.release();
    record.process->setParent(this);
    connect(record.process, &ChildProcess::ended, this,
            [this, sequence] { onConverterEnded(sequence); });
    record.state = FileState::Converting;
    converting_.insert(sequence);
    if (!workStartMs_)
        workStartMs_ = setup_.clockMs();
}

void ConversionJob::onConverterEnded(int sequence)
{
    const auto found = records_.find(sequence);
    if (found == records_.end() || found->second.state != FileState::Converting)
        return;
    FileRecord &record = found->second;
    ChildProcess *process = std::exchange(record.process, nullptr);
    const ProcessEnd end = process->end().value_or(ProcessEnd{});
    const QByteArray errorOutput = process->errorOutput();
    // Looked at the moment the converter is seen to end, before any worker
    // removes an unfinished file and frees space again.
    if (record.temporary && errorOutput.contains("write failed"))
        diskFull_->checkNow(record.plan.outputFolder);
    process->deleteLater();
    converting_.erase(sequence);

    // A converter that had ended before the stop has a whole output, which
    // is kept like any other; one ended by the stop has not.
    if (phase_ == Phase::Stopping && !record.endedBeforeStop)
        finish(sequence, record, Result::Stopped);
    else
        complete(sequence, record, end, errorOutput);
    pump();
}

void ConversionJob::complete(int sequence, FileRecord &record, const ProcessEnd &end,
                             const QByteArray &errorOutput)
{
    noteOutputSize(record);
    auto completion = std::make_shared<Completion>();
    completion->plan = record.plan;
    completion->end = end;
    completion->errorOutput = errorOutput;
    completion->converter = setup_.converter;
    completion->inputSeconds = record.seconds;
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
    RunDetached([completion, control, mailbox = mailbox_, this, sequence] {
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

void ConversionJob::onMeasured(int sequence, std::optional<double> seconds)
{
    const auto found = records_.find(sequence);
    if (found == records_.end() || !seconds || found->second.seconds)
        return;
    FileRecord &record = found->second;
    const bool waiting = record.state == FileState::Planned && unmeasuredWaiting_.erase(sequence);
    record.seconds = seconds;
    measuredSeconds_ += *seconds;
    ++measuredCount_;
    if (record.state == FileState::Done) {
        doneMeasuredSeconds_ += *seconds;
        --doneUnmeasuredCount_;
    }
    if (waiting)
        measuredWaiting_.insert({-*seconds, sequence});
    emit progressed();
}

void ConversionJob::finish(int sequence, FileRecord &record, FileOutcome::Result result,
                           const QString &detail, int number)
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
    if (record.state == FileState::Planned)
        forgetWaiting(sequence, record);
    outcome.inputPath = record.plan.inputPath;
    record.outcome = std::move(outcome);
    record.state = FileState::Done;
    // An unfinished output goes with its record.
    record.temporary.reset();
    record.control.reset();
    converting_.erase(sequence);
    completing_.erase(sequence);
    ++finished_;
    if (record.seconds)
        doneMeasuredSeconds_ += *record.seconds;
    else
        ++doneUnmeasuredCount_;
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
                   QStringLiteral("the output could not be finished: the disk did not answer "
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
    measurer_->stop();
    for (auto &[sequence, record] : records_)
        if (record.state == FileState::Planned)
            finish(sequence, record, Result::NotReached);
    for (const int sequence : converting_) {
        FileRecord &record = records_[sequence];
        record.endedBeforeStop = record.process->end().has_value();
    }
    signalConverters(SIGTERM);
    killTimer_.start(kKillAfterMs);
    giveUpTimer_.start(kGiveUpAfterMs);
    emit progressed();
    maybeFinish();
}

void ConversionJob::stopNow()
{
    if (phase_ == Phase::Finished)
        return;
    stop();
    if (phase_ == Phase::Finished)
        return;
    QEventLoop settled;
    connect(this, &ConversionJob::finished, &settled, &QEventLoop::quit);
    QTimer::singleShot(kStopNowLimitMs, &settled, &QEventLoop::quit);
    if (phase_ != Phase::Finished)
        settled.exec(QEventLoop::ExcludeUserInputEvents);
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
                   QStringLiteral("the run was stopped while the output was being put in "
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
    if (phase_ == Phase::Finished || phase_ == Phase::NotStarted || pump_ != Pump::Idle)
        return;
    if (!converting_.empty() || !completing_.empty())
        return;
    if (phase_ == Phase::Running &&
        (!sourceEmpty_ || !measuredWaiting_.empty() || !unmeasuredWaiting_.empty()))
        return;
    phase_ = Phase::Finished;
    killTimer_.stop();
    giveUpTimer_.stop();
    deadlineTimer_.stop();
    measurer_->stop();
    QTimer::singleShot(0, this, [this] { emit finished(); });
}

QList<FileOutcome> ConversionJob::outcomes() const
{
    QList<FileOutcome> list;
    list.reserve(finished_);
    for (const auto &[sequence, record] : records_)
        if (record.state == FileState::Done)
            list.append(record.outcome);
    return list;
}

double ConversionJob::averageSeconds() const
{
    return measuredCount_ > 0 ? measuredSeconds_ / measuredCount_ : 1.0;
}

void ConversionJob::noteOutputSize(FileRecord &record)
{
    if (!record.temporary)
        return;
    struct stat facts {};
    if (::fstat(record.temporary->descriptor(), &facts) != 0)
        return;
    record.outputBytes = facts.st_size;
    if (record.bytesPerSecond == 0 && facts.st_size >= kHeadBytes) {
        QByteArray head(kHeadBytes, Qt::Uninitialized);
        if (::pread(record.temporary->descriptor(), head.data(), kHeadBytes, 0) == kHeadBytes)
            record.bytesPerSecond = MpegStreamBytesPerSecond(head).value_or(0);
    }
}

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

RunProgress ConversionJob::progress()
{
    RunProgress progress;
    const double average = averageSeconds();
    const int waiting = phase_ == Phase::Running ? source_.waitingCount() : 0;
    const int unmeasured = static_cast<int>(records_.size()) - measuredCount_;
    const double total = measuredSeconds_ + (unmeasured + waiting) * average;
    double done = doneMeasuredSeconds_ + doneUnmeasuredCount_ * average;
    for (const int sequence : converting_) {
        FileRecord &record = records_[sequence];
        noteOutputSize(record);
        // How far a converter has got is known only against the file's own
        // length; until it is measured, the file counts as not begun.
        if (record.seconds && record.bytesPerSecond > 0 && *record.seconds > 0)
            done += *record.seconds *
                    std::min(kMostWhileConverting,
                             record.outputBytes / (*record.seconds * record.bytesPerSecond));
        if (progress.atWork.isEmpty())
            progress.atWork = record.plan.inputPath;
    }
    for (const int sequence : completing_)
        done += records_[sequence].seconds.value_or(average) * kMostWhileCompleting;

    if (phase_ == Phase::Finished)
        shownFraction_ = 1.0;
    else if (total > 0)
        shownFraction_ = std::max(shownFraction_, std::min(done / total, kMostWhileCompleting));
    progress.fraction = shownFraction_;
    progress.audioSeconds = total;
    progress.filesLeft = activeCount() + waiting;
    // Only real lengths tell a time: an estimate waits for a measured file.
    const qint64 workedMs = workStartMs_ ? setup_.clockMs() - *workStartMs_ : 0;
    if (measuredCount_ > 0 && workedMs >= kEstimateAfterMs && done > 0 &&
        phase_ == Phase::Running) {
        const double perSecond = done / (workedMs / 1000.0);
        progress.secondsLeft = std::llround(std::max(0.0, total - done) / perSecond);
    }
    return progress;
}

} // namespace velunor
