#include "conversion/ListRun.h"

#include "conversion/Shell32.h"
#include "conversion/TemporaryOutput.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>

#include <utility>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ListRun)
};

} // namespace

ListRun::ListRun(platform::ProcessStarter &starter, filelist::FileListModel &list,
                 RunFrontEnd &frontEnd, int conversionsAtOnce)
    : starter_(starter), list_(list), frontEnd_(frontEnd), conversionsAtOnce_(conversionsAtOnce),
      turns_(list), listed_(list), mailbox_(std::make_shared<platform::ResultMailbox>(this))
{
    clock_.start();
}

ListRun::~ListRun()
{
    *albumsCancel_ = true;
    mailbox_->close();
    // A run deleted before its end (the program ends) lets go of the
    // staging folder at once; the converters went with the job.
    job_.reset();
    if (lease_ && state_ != State::Ending)
        ReleaseStaging(*lease_);
}

void ListRun::start(std::shared_ptr<StagingAhead> ahead)
{
    if (state_ != State::NotStarted)
        return;
    state_ = State::Staging;
    // The listed files are looked up in the background from now on, for the
    // check that no output replaces one of them.
    listed_.build();
    const auto staged = [mailbox = mailbox_, this](const Staging &staging) {
        mailbox->post([this, staging] { onStaged(staging); });
    };
    if (ahead)
        ahead->whenStaged(staged);
    else
        platform::RunDetached([staged] { staged(StageConverter()); });
    // Names are claimed past the listed files, so the files are planned once
    // they are all looked up: a long list waits a moment, the window never.
    // The converter is staged meanwhile.
    if (listed_.isComplete())
        mailbox_->post([this] { startJob(); });
    else
        connect(&listed_, &ListedFiles::completed, this, &ListRun::startJob,
                Qt::SingleShotConnection);
}

void ListRun::onStaged(const Staging &staging)
{
    lease_ = staging.lease;
    converterPath_ = staging.converter;
    staged_ = true;
    for (const StepFailure &failure : staging.failures)
        frontEnd_.stepFailed(failure);
    // The run may have been stopped, or have ended, while the converter was
    // staged.
    if (finishWhenStaged_ || (stopRequested_ && !job_)) {
        finish();
        return;
    }
    if (job_)
        job_->converterStaged(stagedConverter(), converterUsable());
}

StagedConverter ListRun::stagedConverter() const
{
    QByteArrayList environment = Shell32::ConverterEnvironment(lease_->folder());
    QByteArrayList mp3Environment = Shell32::Mp3ConverterEnvironment(environment);
    return {converterPath_, std::move(environment), std::move(mp3Environment)};
}

std::function<Done()> ListRun::converterUsable() const
{
    return [lease = lease_] {
        if (const Done locked = lease->locked(); !locked)
            return locked;
        return CheckConverterTrusted(lease->folder());
    };
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
    if (staged_) {
        setup.converter = stagedConverter();
        setup.converterUsable = converterUsable();
    } else {
        setup.stagingPending = true;
    }
    setup.parallel = conversionsAtOnce_;
    setup.names = names_;
    setup.plan = FilePlanner::PlanWithNames(names_);
    setup.listed = listed_.sharedCheck();
    job_ = std::make_unique<ConversionJob>(starter_, std::move(setup),
                                           static_cast<FileSource &>(*this));
    state_ = State::Running;
    connect(job_.get(), &ConversionJob::progressed, this, &ListRun::progressed);
    connect(job_.get(), &ConversionJob::progressed, this, &ListRun::releaseWhenUnneeded);
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
    turn.quality = chosen.quality;
    turn.options = chosen.options;
    turn.isListedInput = [check = listed_.sharedCheck()](const platform::FileIdentity &file) {
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
    if (state_ == State::Ending)
        *albumsCancel_ = true;
    if (state_ != State::Running && state_ != State::Staging)
        return;
    stopRequested_ = true;
    if (job_)
        job_->stop();
    else if (lease_)
        finish(); // staged, and waiting for the listed files to be looked up
}

void ListRun::releaseWhenUnneeded()
{
    if (!listClosed_ || state_ != State::Running || earlyRelease_ != EarlyRelease::None ||
        !lease_ || turns_.waitingCount() > 0 || job_->mayNeedConverter())
        return;
    earlyRelease_ = EarlyRelease::Running;
    platform::RunDetached([mailbox = mailbox_, lease = lease_, this] {
        ReleaseStaging(*lease);
        mailbox->post([this] {
            earlyRelease_ = EarlyRelease::Done;
            if (state_ == State::Ending && !albumsPending_)
                ended();
        });
    });
}

void ListRun::finish()
{
    if (state_ == State::Ending || state_ == State::Ended)
        return;
    // What is being staged is let go of once it is staged.
    if (!staged_) {
        finishWhenStaged_ = true;
        return;
    }
    state_ = State::Ending;
    // The album of a file is known once the run has converted every file:
    // the albums' values follow then, unless the run was stopped.
    std::vector<std::shared_ptr<const AlbumTrack>> tracks;
    if (job_ && !stopRequested_)
        for (const FileOutcome &outcome : job_->outcomes())
            if (outcome.converted() && outcome.albumTrack)
                tracks.push_back(outcome.albumTrack);
    // The staged files may be let go of already, or being let go of.
    const bool release = earlyRelease_ == EarlyRelease::None;
    if (!release && tracks.empty()) {
        if (earlyRelease_ == EarlyRelease::Done)
            mailbox_->post([this] { ended(); });
        return;
    }
    albumsPending_ = true;
    platform::RunDetached([mailbox = mailbox_, lease = release ? lease_ : nullptr, tracks,
                           cancel = albumsCancel_, this] {
        if (lease)
            ReleaseStaging(*lease);
        const QList<OutputWarning> warnings = WriteAlbumGains(tracks, cancel.get());
        mailbox->post([this, warnings] {
            albumWarnings_ = warnings;
            for (const OutputWarning &warning : warnings)
                emit fileWarned(warning.inputPath, warning.words);
            albumsPending_ = false;
            if (earlyRelease_ != EarlyRelease::Running)
                ended();
        });
    });
}

void ListRun::ended()
{
    lease_.reset();
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
    for (const OutputWarning &warning : albumWarnings_)
        summary.addWarning(warning.inputPath, warning.words);
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

} // namespace velunor::conversion
