#include "conversion/ListRun.h"

#include "conversion/Shell32.h"
#include "conversion/TemporaryOutput.h"
#include "platform/BackgroundWork.h"
#include "platform/PlatformError.h"
#include "shell/Main.h"

namespace velunor {

ListRun::ListRun(ProcessStarter &starter, FileListModel &list, RunChoices &choices,
                 StepRunner &steps, int conversionsAtOnce, Yield yield)
    : starter_(starter), list_(list), choices_(choices), steps_(steps),
      conversionsAtOnce_(conversionsAtOnce), yield_(std::move(yield)), turns_(list), listed_(list)
{
    clock_.start();
}

ListRun::~ListRun() = default;

void ListRun::start()
{
    if (state_ != State::NotStarted)
        return;
    state_ = State::Staging;
    // The listed files are looked up in the background from now on, for the
    // check that no output replaces one of them.
    listed_.build();
    lease_ = std::make_unique<StagingLease>(yield_);
    stage();
    steps_.step(134, [&] { converterPath_ = StagedPath(lease_->folder(), ConverterProgram()); });
    // The user may have stopped the run while the converter was staged.
    if (stopRequested_) {
        finish();
        return;
    }
    // Names are claimed past the listed files, so the files are planned once
    // they are all looked up: a long list waits a moment, the window never.
    if (listed_.isComplete()) {
        startJob();
        return;
    }
    waitingForList_ = true;
    connect(&listed_, &ListedFiles::completed, this, &ListRun::startJob, Qt::SingleShotConnection);
}

void ListRun::startJob()
{
    waitingForList_ = false;
    if (state_ != State::Staging)
        return;
    if (stopRequested_) {
        finish();
        return;
    }
    steps_.step(136, [&] {
        JobSetup setup;
        setup.converter = {converterPath_, Shell32::ConverterEnvironment(lease_->folder())};
        setup.parallel = conversionsAtOnce_;
        setup.names = names_;
        setup.listed = listed_.sharedCheck();
        setup.converterProblem = [this] {
            if (!lease_->isLocked())
                return lease_->problem();
            return UntrustedConverterReason(lease_->folder());
        };
        job_ = std::make_unique<ConversionJob>(starter_, std::move(setup),
                                               static_cast<FileSource &>(*this));
    });
    if (!job_) {
        finish();
        return;
    }
    state_ = State::Running;
    connect(job_.get(), &ConversionJob::progressed, this, &ListRun::progressed);
    connect(job_.get(), &ConversionJob::fileFinished, this, &ListRun::fileFinished);
    connect(job_.get(), &ConversionJob::finished, this, [this] { finish(); });
    job_->start();
}

// Steps 104 to 132: for each converter file, load its bytes, look whether it
// is staged already as this version carries it, and write it when it is not.
void ListRun::stage()
{
    // Parts of staged files that a killed run left behind.
    if (lease_->isLocked())
        RemoveDeadLeftovers(lease_->folder());
    int step = 104;
    for (const ConverterFile &file : ConverterFileSet()) {
        const Path stagedPath = StagedPath(lease_->folder(), file);
        QByteArray buffer;
        steps_.step(step, [&] { buffer = LoadConverterResource(file.resourceId); });
        // A staged file is used only under the lock and only when it holds
        // exactly what this version carries: a converter left behind by an
        // older version, or damaged, is replaced.
        if (!steps_.test(step + 2, [&] {
                return lease_->isLocked() && StagedFileMatches(stagedPath, buffer);
            }))
            steps_.step(step + 4, [&] {
                if (!lease_->isLocked())
                    throw PlatformError(lease_->problem());
                if (FileSystem::HasEntry(stagedPath))
                    lease_->replace(buffer, stagedPath, file.executable, yield_);
                else
                    WriteResourceFile(buffer, stagedPath, file.executable, yield_);
            });
        step += 6;
    }
}

// Steps 168 to 176: the staged files go, whoever wrote them, once no other
// run uses them.
void ListRun::removeStagedFiles(const Yield &yield)
{
    int step = 168;
    for (const ConverterFile &file : ConverterFileSet()) {
        steps_.step(step, [&] { DeleteFileQuietly(StagedPath(lease_->folder(), file), yield); });
        step += 2;
    }
}

std::optional<FilePlan> ListRun::nextFile()
{
    const std::optional<int> index = turns_.takeNext();
    if (!index)
        return std::nullopt;
    FileTurn turn;
    if (!steps_.step(140, [&] {
            turn.item = list_.itemId(*index);
            turn.inputPath = list_.path(*index);
        })) {
        FilePlan unreadable;
        unreadable.skipReason = QStringLiteral("its name could not be read from the list");
        return unreadable;
    }
    // The output folder and the mode are read at each file's turn, so a
    // change takes effect from the next file on.
    turn.outputFolder = choices_.outputFolder();
    turn.mode = choices_.channelMode();
    turn.isListedInput = [this](const FileIdentity &file) { return listed_.containsNow(file); };
    turn.refusesWindowsNames = [this](const Path &folderKey) {
        return refusesWindowsNames(folderKey);
    };
    FilePlan plan;
    if (!steps_.step(148, [&] { plan = PlanFile(turn, *names_); })) {
        plan = FilePlan{};
        plan.inputPath = turn.inputPath;
        plan.skipReason = QStringLiteral("no output name could be formed");
    }
    if (!plan.isSkipped())
        sweepLeftovers(plan.outputFolderKey);
    return plan;
}

// Hidden files that a killed run left in an output folder are removed once
// per run and folder, beside the conversions.
// Asked once per folder and run, by making a hidden file there.
bool ListRun::refusesWindowsNames(const Path &folderKey)
{
    const auto known = windowsNames_.constFind(folderKey);
    if (known != windowsNames_.constEnd())
        return *known;
    const bool refuses = FolderRefusesWindowsNames(folderKey);
    windowsNames_.insert(folderKey, refuses);
    return refuses;
}

void ListRun::sweepLeftovers(const Path &folder)
{
    if (sweptFolders_.contains(folder))
        return;
    sweptFolders_.insert(folder);
    RunDetached([folder] { RemoveDeadLeftovers(folder); });
}

bool ListRun::stillListed(const FilePlan &plan) const
{
    return turns_.isStillListed(plan.item);
}

void ListRun::stop()
{
    if (state_ != State::Running && state_ != State::Staging)
        return;
    stopRequested_ = true;
    if (job_)
        job_->stop();
    else if (waitingForList_)
        finish();
}

void ListRun::stopForExit()
{
    stopRequested_ = true;
    if (job_) {
        job_->disconnect(this);
        job_->stopNow();
    }
    state_ = State::Ended;
    // Nothing may run in between any more: the program is going.
    if (lease_)
        lease_->release([this] { removeStagedFiles(Yield()); });
}

void ListRun::finish()
{
    if (state_ == State::Ending || state_ == State::Ended)
        return;
    state_ = State::Ending;
    if (lease_)
        lease_->release([this] { removeStagedFiles(yield_); });
    state_ = State::Ended;
    emit finished();
}

RunProgress ListRun::progress()
{
    if (!job_)
        return {};
    return job_->progress();
}

RunSummary ListRun::summary() const
{
    RunSummary summary;
    summary.setStopped(stopRequested_);
    if (job_)
        for (const FileOutcome &outcome : job_->outcomes())
            summary.add(outcome);
    // Files that never had a turn end as a file that was planned would.
    const auto neverPlanned = [&summary](const Path &path, FileOutcome::Result result) {
        FileOutcome outcome;
        outcome.inputPath = path;
        outcome.result = result;
        summary.add(outcome);
    };
    for (const Path &path : turns_.removedBeforeTurn())
        neverPlanned(path, FileOutcome::Result::LeftList);
    for (const Path &path : turns_.waitingPaths()) {
        if (stopRequested_)
            neverPlanned(path, FileOutcome::Result::NotReached);
        else
            summary.addNotConverted(path, QStringLiteral("not started"));
    }
    return summary;
}

} // namespace velunor
