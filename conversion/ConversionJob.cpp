#include "conversion/ConversionJob.h"

#include "conversion/FinishOutput.h"

#include <csignal>
#include <unistd.h>

namespace velunor {

using Result = FileOutcome::Result;

ConversionJob::ConversionJob(ProcessStarter &starter, QString converterPath,
                             QStringList environment, int parallel, FileSource &source,
                             QObject *parent)
    : QObject(parent), starter_(starter), converterPath_(std::move(converterPath)),
      environment_(std::move(environment)), parallel_(std::max(1, parallel)), source_(source)
{
    killTimer_.setSingleShot(true);
    connect(&killTimer_, &QTimer::timeout, this, [this] { signalConverters(SIGKILL); });
    completers_.setMaxThreadCount(parallel_);
}

ConversionJob::~ConversionJob()
{
    if (!active_.empty() || waiting_)
        stopNow();
    completers_.waitForDone();
}

int ConversionJob::ConversionsAtOnce()
{
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

void ConversionJob::start()
{
    if (started_)
        return;
    started_ = true;
    fill();
}

void ConversionJob::fill()
{
    // Deciding a file's plan may show a message, and while it is open other
    // converters end and want to fill their places: that is done here, once
    // the plan in hand is placed.
    if (filling_) {
        refill_ = true;
        return;
    }
    filling_ = true;
    do {
        refill_ = false;
        // Asked afresh each time: the user may have added files since.
        sourceEmpty_ = false;
        while (!stopping_ && convertingCount() < parallel_) {
            int turn = 0;
            FilePlan plan;
            if (waiting_) {
                if (outputBusy(waiting_->second.outputKey))
                    break;
                turn = waiting_->first;
                plan = std::move(waiting_->second);
                waiting_.reset();
            } else {
                if (sourceEmpty_)
                    break;
                std::optional<FilePlan> next = source_.nextFile();
                if (!next) {
                    sourceEmpty_ = true;
                    break;
                }
                turn = nextTurn_++;
                plan = std::move(*next);
                if (plan.isSkipped()) {
                    record(turn, plan, Result::Skipped, plan.skipReason);
                    continue;
                }
                if (stopping_) {
                    ReleaseTemporaryOutput(plan);
                    record(turn, plan, Result::NotReached);
                    break;
                }
                if (outputBusy(plan.outputKey)) {
                    waiting_.emplace(turn, std::move(plan));
                    break;
                }
            }
            launch(turn, std::move(plan));
        }
    } while (refill_ && !stopping_);
    filling_ = false;
    maybeFinish();
}

void ConversionJob::launch(int turn, FilePlan plan)
{
    int error = 0;
    std::unique_ptr<ChildProcess> process =
        starter_.startProcess(converterPath_, plan.arguments.arguments(), environment_, error);
    if (!process) {
        ReleaseTemporaryOutput(plan);
        record(turn, plan, Result::NotStarted, QString(), error);
        return;
    }
    ChildProcess *started = process.release();
    started->setParent(this);
    connect(started, &ChildProcess::ended, this, [this, turn] { onConverterEnded(turn); });
    active_.emplace(turn, Active{std::move(plan), started, Stage::Converting});
    emit progressed();
}

void ConversionJob::onConverterEnded(int turn)
{
    const auto found = active_.find(turn);
    if (found == active_.end() || !found->second.process)
        return;
    Active &active = found->second;
    ChildProcess *process = std::exchange(active.process, nullptr);
    const ProcessEnd end = process->end().value_or(ProcessEnd{});
    const QByteArray errorOutput = process->errorOutput();
    process->deleteLater();

    if (stopping_) {
        ReleaseTemporaryOutput(active.plan);
        const FilePlan plan = active.plan;
        active_.erase(found);
        record(turn, plan, Result::Stopped);
        maybeFinish();
        return;
    }

    active.stage = Stage::Completing;
    const FilePlan plan = active.plan;
    const StagedConverter converter{converterPath_, environment_};
    completers_.start([this, turn, plan, end, errorOutput, converter] {
        const CheckedOutput checked = CheckAndCompleteOutput(plan, end, errorOutput, converter);
        QMetaObject::invokeMethod(
            this,
            [this, turn, checked] {
                onCompleted(turn, checked.result, checked.detail, checked.number);
            },
            Qt::QueuedConnection);
    });
    emit progressed();
    fill();
}

void ConversionJob::onCompleted(int turn, Result result, const QString &detail, int number)
{
    const auto found = active_.find(turn);
    if (found == active_.end())
        return;
    const FilePlan plan = found->second.plan;
    active_.erase(found);

    if (result == Result::Converted) {
        if (const QString problem = source_.replaceProblem(plan); !problem.isEmpty()) {
            ReleaseTemporaryOutput(plan);
            record(turn, plan, Result::Skipped, problem);
        } else if (const QString failure = PutOutputInPlace(plan); !failure.isEmpty()) {
            record(turn, plan, Result::NotFinished, failure);
        } else {
            record(turn, plan, Result::Converted);
        }
    } else {
        ReleaseTemporaryOutput(plan);
        record(turn, plan, result, detail, number);
    }
    fill();
}

void ConversionJob::record(int turn, const FilePlan &plan, Result result, const QString &detail,
                           int number)
{
    done_[turn] = FileOutcome{plan.inputPath, result, detail, number};
    emit progressed();
}

bool ConversionJob::outputBusy(const QString &outputKey) const
{
    for (const auto &[turn, active] : active_)
        if (active.plan.outputKey == outputKey)
            return true;
    return false;
}

int ConversionJob::convertingCount() const
{
    int count = 0;
    for (const auto &[turn, active] : active_)
        count += active.stage == Stage::Converting;
    return count;
}

QString ConversionJob::oldestConverting() const
{
    for (const auto &[turn, active] : active_)
        if (active.stage == Stage::Converting)
            return active.plan.inputPath;
    return QString();
}

QList<FileOutcome> ConversionJob::outcomes() const
{
    QList<FileOutcome> list;
    list.reserve(static_cast<qsizetype>(done_.size()));
    for (const auto &[turn, outcome] : done_)
        list.append(outcome);
    return list;
}

void ConversionJob::signalConverters(int signal)
{
    for (auto &[turn, active] : active_)
        if (active.process)
            active.process->sendSignal(signal);
}

void ConversionJob::stop(int killAfterMs)
{
    if (stopping_)
        return;
    stopping_ = true;
    if (waiting_) {
        ReleaseTemporaryOutput(waiting_->second);
        record(waiting_->first, waiting_->second, Result::NotReached);
        waiting_.reset();
    }
    signalConverters(SIGTERM);
    if (convertingCount() > 0)
        killTimer_.start(killAfterMs);
    maybeFinish();
}

void ConversionJob::stopNow(int killAfterMs)
{
    stop(killAfterMs);
    killTimer_.stop();
    auto waitAll = [this](int milliseconds) {
        for (auto &[turn, active] : active_)
            if (active.process)
                active.process->waitForEnd(milliseconds);
    };
    waitAll(killAfterMs);
    signalConverters(SIGKILL);
    waitAll(5000);
    completers_.waitForDone();
    for (auto &[turn, active] : active_) {
        ReleaseTemporaryOutput(active.plan);
        delete active.process;
    }
    active_.clear();
    finishing_ = true; // nothing is announced any more
}

void ConversionJob::maybeFinish()
{
    if (finishing_ || filling_ || !started_ || !active_.empty())
        return;
    if (!stopping_ && (!sourceEmpty_ || waiting_))
        return;
    finishing_ = true;
    killTimer_.stop();
    QTimer::singleShot(0, this, [this] { emit finished(); });
}

} // namespace velunor
