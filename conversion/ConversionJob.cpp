#include "conversion/ConversionJob.h"

#include "tags/MpegAudio.h"

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor {

namespace {

using Result = FileOutcome::Result;

// Taking turns gives the window back this often, so that a list of many
// thousand files never holds it.
constexpr qint64 kTurnSliceMs = 10;
// A file's checks and completion may take this long, plus a second per
// megabyte written, before the disk counts as not answering.
constexpr qint64 kCompletionBaseMs = 60000;
constexpr qint64 kCompletionBytesPerMs = 1000;
// How much of its output a converter has written before its bit rate is
// read from it.
constexpr qint64 kHeadBytes = 4096;

std::function<qint64()> SteadyClock()
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    return [clock] { return clock->elapsed(); };
}

} // namespace

ConversionJob::ConversionJob(ProcessStarter &starter, JobSetup setup, FileSource &source,
                             QObject *parent)
    : QObject(parent), starter_(starter), setup_(std::move(setup)), source_(source),
      mailbox_(std::make_shared<ResultMailbox>(this)),
      planner_(setup_.plan ? setup_.plan
                           : FilePlanner::PlanWithNames(
                                 setup_.names ? setup_.names : std::make_shared<OutputNames>()),
               mailbox_),
      measurer_(setup_.converter, mailbox_),
      estimate_(setup_.clockMs ? setup_.clockMs : SteadyClock())
{
    setup_.parallel = std::max(1, setup_.parallel);
    connect(&stopSchedule_, &StopSchedule::killNow, this, [this] { signalConverters(SIGKILL); });
    connect(&stopSchedule_, &StopSchedule::giveUpNow, this, [this] { giveUpOnWorkers(); });
    deadlineTimer_.setInterval(1000);
    connect(&deadlineTimer_, &QTimer::timeout, this, [this] { checkDeadlines(); });
}

ConversionJob::~ConversionJob()
{
    mailbox_->close();
    planner_.stop();
    measurer_.stop();
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
    pump();
}

void ConversionJob::schedulePump()
{
    if (pumpScheduled_)
        return;
    pumpScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        pumpScheduled_ = false;
        pump();
    });
}

void ConversionJob::pump()
{
    const bool moreTurns = takeTurns();
    startSome();
    emit progressed();
    if (moreTurns)
        schedulePump();
    maybeFinish();
}

// Takes the files that wait, in list order, for a slice of time; true when
// more may wait.
bool ConversionJob::takeTurns()
{
    QElapsedTimer slice;
    slice.start();
    // Asked afresh each time: the user may have added files since.
    sourceEmpty_ = false;
    while (phase_ == Phase::Running) {
        if (slice.elapsed() >= kTurnSliceMs)
            return true;
        std::optional<FileTurn> turn = source_.nextTurn();
        if (!turn) {
            sourceEmpty_ = true;
            return false;
        }
        const int sequence = nextSequence_++;
        FileRecord &record = records_[sequence];
        record.turn = std::move(*turn);
        record.plan.item = record.turn.item;
        record.plan.inputPath = record.turn.inputPath;
        planning_.insert(sequence);
        estimate_.filePlanned();
        planner_.plan(record.turn,
                      [this, sequence](const FilePlan &plan) { onPlanned(sequence, plan); });
    }
    return false;
}

void ConversionJob::onPlanned(int sequence, const FilePlan &plan)
{
    const auto found = records_.find(sequence);
    if (found == records_.end())
        return;
    FileRecord &record = found->second;
    if (record.state == FileState::Replanning) {
        replanning_.erase(sequence);
        record.plan = plan;
        if (plan.isSkipped())
            finish(sequence, record, Result::Skipped, plan.skipReason);
        else
            launch(sequence);
        pump();
        return;
    }
    if (record.state != FileState::Planning)
        return; // stopped meanwhile
    planning_.erase(sequence);
    record.plan = plan;
    if (plan.isSkipped()) {
        finish(sequence, record, Result::Skipped, plan.skipReason);
    } else if (plan.input && !inputs_.insert(plan.input->identity).second) {
        // The same file listed twice is converted once, with no word.
        records_.erase(found);
        estimate_.fileDropped();
    } else {
        record.state = FileState::Waiting;
        unmeasuredWaiting_.insert(sequence);
        measurer_.measure(plan.inputPath, [this, sequence](std::optional<double> seconds) {
            onMeasured(sequence, seconds);
        });
    }
    pump();
}

void ConversionJob::onMeasured(int sequence, std::optional<double> seconds)
{
    const auto found = records_.find(sequence);
    if (found == records_.end() || !seconds || found->second.seconds)
        return;
    FileRecord &record = found->second;
    const bool waiting = record.state == FileState::Waiting && unmeasuredWaiting_.erase(sequence);
    record.seconds = seconds;
    estimate_.fileMeasured(*seconds, record.state == FileState::Done);
    if (waiting)
        measuredWaiting_.insert({-*seconds, sequence});
    emit progressed();
}

void ConversionJob::startSome()
{
    while (phase_ == Phase::Running && busySlots() < setup_.parallel) {
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
        const double average = estimate_.averageSeconds();
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

// The output folder and the mode are those chosen when the file starts: a
// file planned with others is planned again, and starts when that is done.
bool ConversionJob::choicesChanged(FileRecord &record)
{
    const FileChoices now = source_.currentChoices();
    const FilePlan &plan = record.plan;
    if (now.outputFolder == plan.outputFolder && now.mode == plan.mode)
        return false;
    record.turn.outputFolder = now.outputFolder;
    record.turn.mode = now.mode;
    return true;
}

void ConversionJob::launch(int sequence)
{
    FileRecord &record = records_[sequence];
    if (!source_.stillListed(record.plan.item)) {
        finish(sequence, record, Result::LeftList);
        return;
    }
    if (record.state == FileState::Waiting && choicesChanged(record)) {
        record.state = FileState::Replanning;
        replanning_.insert(sequence);
        planner_.plan(record.turn,
                      [this, sequence](const FilePlan &plan) { onPlanned(sequence, plan); });
        return;
    }
    const FilePlan &plan = record.plan;
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
    estimate_.workStarted();
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
    process->deleteLater();
    converting_.erase(sequence);
    // Looked at the moment the converter is seen to end, before any worker
    // removes an unfinished file and frees space again.
    if (record.temporary && errorOutput.contains("write failed"))
        diskFull_->checkNow(record.plan.outputFolder);
    emit converterEnded();

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
    // The worker owns the completion and shares the control and the
    // mailbox; it never touches the job, which may be gone when it ends.
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
    planner_.stop();
    measurer_.stop();
    for (auto &[sequence, record] : records_)
        if (record.state == FileState::Planning || record.state == FileState::Waiting ||
            record.state == FileState::Replanning)
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
    if (phase_ == Phase::Finished || phase_ == Phase::NotStarted)
        return;
    if (!converting_.empty() || !completing_.empty() || !planning_.empty() || !replanning_.empty())
        return;
    if (phase_ == Phase::Running &&
        (!sourceEmpty_ || !measuredWaiting_.empty() || !unmeasuredWaiting_.empty()))
        return;
    phase_ = Phase::Finished;
    stopSchedule_.cancel();
    deadlineTimer_.stop();
    planner_.stop();
    measurer_.stop();
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

RunProgress ConversionJob::progress()
{
    std::vector<FileAtWork> atWork;
    Path earliest;
    for (const int sequence : converting_) {
        FileRecord &record = records_[sequence];
        noteOutputSize(record);
        atWork.push_back({record.seconds, record.outputBytes, record.bytesPerSecond, false});
        if (earliest.isEmpty())
            earliest = record.plan.inputPath;
    }
    for (const int sequence : completing_)
        atWork.push_back({records_[sequence].seconds, 0, 0, true});
    const int waiting = phase_ == Phase::Running ? source_.waitingCount() : 0;
    RunProgress progress =
        estimate_.estimate(waiting, atWork, phase_ == Phase::Finished, phase_ == Phase::Stopping);
    progress.filesLeft = activeCount() + waiting;
    progress.atWork = earliest;
    return progress;
}

} // namespace velunor
