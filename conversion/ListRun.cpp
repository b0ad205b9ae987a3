#include "conversion/ListRun.h"

#include "conversion/Shell32.h"
#include "conversion/TemporaryOutput.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>

namespace velunor {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ListRun)
};

} // namespace

ListRun::ListRun(ProcessStarter &starter, FileListModel &list, RunFrontEnd &frontEnd,
                 int conversionsAtOnce)
    : starter_(starter), list_(list), frontEnd_(frontEnd), conversionsAtOnce_(conversionsAtOnce),
      turns_(list), listed_(list), mailbox_(std::make_shared<ResultMailbox>(this))
{
    clock_.start();
}

ListRun::~ListRun()
{
    mailbox_->close();
    // A run deleted before its end (the program ends) lets go of the
    // staging folder at once; the converters went with the job.
    job_.reset();
    if (lease_ && state_ != State::Ending)
        ReleaseStaging(*lease_);
}

void ListRun::start()
{
    if (state_ != State::NotStarted)
        return;
    state_ = State::Staging;
    // The listed files are looked up in the background from now on, for the
    // check that no output replaces one of them.
    listed_.build();
    RunDetached([mailbox = mailbox_, this] {
        const Staging staging = StageConverter();
        mailbox->post([this, staging] { onStaged(staging); });
    });
}

void ListRun::onStaged(const Staging &staging)
{
    lease_ = staging.lease;
    converterPath_ = staging.converter;
    for (const StepFailure &failure : staging.failures)
        frontEnd_.stepFailed(failure);
    // The user may have stopped the run while the converter was staged.
    if (stopRequested_) {
        finish();
        return;
    }
    // Names are claimed past the listed files, so the files are planned once
    // they are all looked up: a long list waits a moment, the window never.
    if (listed_.isComplete())
        startJob();
    else
        connect(&listed_, &ListedFiles::completed, this, &ListRun::startJob,
                Qt::SingleShotConnection);
}

void ListRun::startJob()
{
    if (state_ != State::Staging)
        return;
    if (stopRequested_) {
        finish();
        return;
    }
    JobSetup setup;
    setup.converter = {converterPath_, Shell32::ConverterEnvironment(lease_->folder())};
    setup.parallel = conversionsAtOnce_;
    setup.names = names_;
    setup.plan = FilePlanner::PlanWithNames(names_);
    setup.listed = listed_.sharedCheck();
    setup.converterUsable = [lease = lease_] {
        if (const Done locked = lease->locked(); !locked)
            return locked;
        return CheckConverterTrusted(lease->folder());
    };
    job_ = std::make_unique<ConversionJob>(starter_, std::move(setup),
                                           static_cast<FileSource &>(*this));
    state_ = State::Running;
    connect(job_.get(), &ConversionJob::progressed, this, &ListRun::progressed);
    connect(job_.get(), &ConversionJob::atWorkChanged, this, &ListRun::atWorkChanged);
    connect(job_.get(), &ConversionJob::fileFinished, this, &ListRun::fileFinished);
    connect(job_.get(), &ConversionJob::finished, this, [this] { finish(); });
    job_->start();
}

std::optional<FileTurn> ListRun::nextTurn()
{
    const std::optional<int> row = turns_.takeNext();
    if (!row)
        return std::nullopt;
    FileTurn turn;
    turn.item = list_.itemId(*row);
    turn.inputPath = list_.path(*row);
    const FileChoices chosen = frontEnd_.choices();
    turn.outputFolder = chosen.outputFolder;
    turn.outputSubfolder = frontEnd_.outputSubfolder(turn.item);
    turn.mode = chosen.mode;
    turn.options = chosen.options;
    turn.isListedInput = [check = listed_.sharedCheck()](const FileIdentity &file) {
        const std::atomic<bool> dontWait{true};
        return check(file, &dontWait);
    };
    sweepLeftovers(turn.outputSubfolder.isEmpty() ? turn.outputFolder
                                                  : turn.outputFolder.child(turn.outputSubfolder));
    return turn;
}

// Hidden files that a killed run left in an output folder are removed once
// per run and folder, beside the conversions.
void ListRun::sweepLeftovers(const Path &folder)
{
    if (folder.isEmpty() || sweptFolders_.contains(folder))
        return;
    sweptFolders_.insert(folder);
    sweeps_.post([folder] { RemoveDeadLeftovers(folder); });
}

void ListRun::stop()
{
    if (state_ != State::Running && state_ != State::Staging)
        return;
    stopRequested_ = true;
    if (job_)
        job_->stop();
    else if (lease_)
        finish(); // staged, and waiting for the listed files to be looked up
}

void ListRun::finish()
{
    if (state_ == State::Ending || state_ == State::Ended)
        return;
    state_ = State::Ending;
    RunDetached([mailbox = mailbox_, lease = lease_, this] {
        if (lease)
            ReleaseStaging(*lease);
        mailbox->post([this] {
            lease_.reset();
            state_ = State::Ended;
            emit finished();
        });
    });
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
            summary.addNotConverted(path, Words::tr("not started"));
    }
    return summary;
}

} // namespace velunor
