#include "conversion/ConversionJob.h"

#include "conversion/AudioChecks.h"
#include "platform/Processors.h"
#include "tags/MpegAudio.h"

#include <QCoreApplication>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ConversionJob)
};

using Result = FileOutcome::Result;

// Taking turns gives the window back this often, so that a list of many
// thousand files never holds it.
constexpr qint64 kTurnSliceMs = 10;
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

ConversionJob::ConversionJob(platform::ProcessStarter &starter, JobSetup setup, FileSource &source,
                             QObject *parent)
    : QObject(parent), starter_(starter), setup_(std::move(setup)), source_(source),
      mailbox_(std::make_shared<platform::ResultMailbox>(this)),
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
    *walksCancel_ = true;
    // Whatever still works goes with the job: the converters are killed and
    // their unfinished outputs removed with their records; workers that are
    // completing a file never touch its final name any more.
    for (const int sequence : converting_)
        if (platform::ChildProcess *process = records_[sequence].process)
            process->sendSignal(SIGKILL);
    for (const int sequence : completing_)
        if (const auto &control = records_[sequence].control)
            control->abandon();
}

int ConversionJob::ConversionsAtOnce()
{
    return platform::ProcessorsAllowed();
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
    madeFolders_.insert(madeFolders_.end(), plan.madeFolders.begin(), plan.madeFolders.end());
    if (record.state == FileState::Replanning) {
        replanning_.erase(sequence);
        record.plan = plan;
        if (plan.isSkipped())
            finish(sequence, record, Result::Skipped, plan.skipReason);
        else if (plan.upToDate)
            finishUpToDate(sequence, record);
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
    } else if (plan.upToDate) {
        finishUpToDate(sequence, record);
    } else {
        record.state = FileState::Waiting;
        unmeasuredWaiting_.insert(sequence);
        measure(sequence, record);
    }
    pump();
}

// An output made from the input as it is now is there already: it is named,
// and nothing is converted.
void ConversionJob::finishUpToDate(int sequence, FileRecord &record)
{
    FileOutcome outcome;
    outcome.result = Result::UpToDate;
    outcome.outputPath = record.plan.outputPath;
    finish(sequence, record, std::move(outcome));
}

void ConversionJob::startSome()
{
    while (!setup_.stagingPending && phase_ == Phase::Running && busySlots() < setup_.parallel) {
        const std::optional<int> sequence = nextToStart();
        if (!sequence)
            break;
        launch(*sequence);
    }
}

// The longest file waiting, by its measured length; a file not measured yet
// counts as long as the average. Equal lengths go in list order, so a list
// of unmeasured files is taken in list order.
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
    if (now.outputFolder == record.turn.outputFolder && now.mode == record.turn.mode &&
        now.quality == record.turn.quality)
        return false;
    record.turn.outputFolder = now.outputFolder;
    record.turn.mode = now.mode;
    record.turn.quality = now.quality;
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
    // What the input's frames say decides how it is converted: they are
    // walked first on a worker, unless the measuring did it already.
    if (!record.walked) {
        record.state = FileState::Preparing;
        preparing_.insert(sequence);
        platform::RunDetached([path = record.plan.inputPath, cancel = walksCancel_,
                               mailbox = mailbox_, this, sequence] {
            const std::optional<tags::MpegAudioLength> audio = MpegAudioOf(path, cancel.get());
            mailbox->post([this, sequence, audio] { onPrepared(sequence, audio); });
        });
        return;
    }
    record.plan.audio = record.audio;
    const FilePlan &plan = record.plan;
    if (setup_.converterUsable) {
        if (const Done usable = setup_.converterUsable(); !usable) {
            finish(sequence, record, Result::Skipped,
                   Words::tr("the converter was not run: %1").arg(usable.failure().words));
            return;
        }
    }
    Expected<std::unique_ptr<TemporaryOutput>> reserved =
        TemporaryOutput::Reserve(plan.outputFolder);
    if (!reserved) {
        const int error = reserved.failure().code;
        finish(sequence, record,
               FolderWriteFailure(plan.outputFolder, error).value_or(Result::FolderUnwritable),
               QString(), OutcomeNumber::SystemError(error));
        return;
    }
    record.temporary = std::move(*reserved);
    // An input that is mono MP3 already keeps its audio in every mode: it is
    // copied on a worker, never encoded a second time.
    if (plan.audio && plan.audio->isMonoMp3()) {
        estimate_.workStarted();
        complete(sequence, record, platform::ProcessEnd{}, QByteArray(), true);
        // The time its completion may take grows with what it copies.
        record.outputBytes = plan.input ? plan.input->size : 0;
        return;
    }
    const QStringList encoding =
        SoxEncodingOptions(plan.quality, plan.audio, plan.audio ? plan.audio->sampleRate : 0);
    // Mono MPEG audio of another layer is encoded as MP3; its one channel is
    // what every mode keeps, and SoX has no second channel to pick.
    const ChannelMode mode =
        plan.audio && plan.audio->everyFrameMono ? ChannelMode::Mix : plan.mode;
    const ArgumentString arguments =
        ArgumentString::ForMode(mode, plan.inputPath, record.temporary->path(), encoding);
    // SoX takes a file for MP3 by its name, unless its first bytes say
    // otherwise; MPEG audio frames filling the file say nothing else.
    const bool mp3Input = plan.audio && plan.inputPath.bytes().toLower().endsWith(".mp3") &&
                          !setup_.converter.mp3Environment.isEmpty();
    Expected<std::unique_ptr<platform::ChildProcess>> process = starter_.startProcess(
        setup_.converter.path, arguments.arguments(),
        mp3Input ? setup_.converter.mp3Environment : setup_.converter.environment);
    if (!process) {
        finish(sequence, record, Result::NotStarted, QString(),
               OutcomeNumber::SystemError(process.failure().code));
        return;
    }
    record.startedAt = DiskFullLog::Clock::now();
    // The input's side of the checks of the output is measured meanwhile.
    record.inputLevels = InputLevelsAhead::Begin(plan);
    record.process = process->release();
    record.process->setParent(this);
    connect(record.process, &platform::ChildProcess::ended, this,
            [this, sequence] { onConverterEnded(sequence); });
    record.state = FileState::Converting;
    converting_.insert(sequence);
    estimate_.workStarted();
    emit atWorkChanged();
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
            record.bytesPerSecond = tags::MpegStreamBytesPerSecond(head).value_or(0);
    }
}

bool ConversionJob::mayNeedConverter() const
{
    if (!planning_.empty() || !replanning_.empty() || !preparing_.empty() || !converting_.empty() ||
        !measuredWaiting_.empty() || !unmeasuredWaiting_.empty())
        return true;
    return std::any_of(completing_.begin(), completing_.end(),
                       [this](int sequence) { return !records_.at(sequence).completedWithLength; });
}

Path ConversionJob::atWork() const
{
    return converting_.empty() ? Path() : records_.at(*converting_.begin()).plan.inputPath;
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

} // namespace velunor::conversion
