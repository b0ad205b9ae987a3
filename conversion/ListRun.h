#pragma once

#include "conversion/ConversionJob.h"
#include "conversion/ListTurns.h"
#include "conversion/ListedFiles.h"
#include "conversion/OutputNames.h"
#include "conversion/ReplayGainUpdate.h"
#include "conversion/RunStep.h"
#include "conversion/RunSummary.h"
#include "conversion/Staging.h"
#include "platform/BackgroundWork.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

namespace velunor::conversion {

// What a front end gives the run of a list: the choices for each file, read
// when the file's turn is taken and again as it starts, and where the steps
// that failed are told. Neither is ever asked from inside the run's own
// work: a front end may show a dialog in either.
class RunFrontEnd {
public:
    virtual ~RunFrontEnd() = default;
    virtual FileChoices choices() = 0;
    virtual void stepFailed(const StepFailure &failure) = 0;
    // The folder below the output folder where the output of a listed file
    // goes (folder names, each followed by "/"); empty for the output folder
    // itself.
    virtual Path outputSubfolder(filelist::ItemId /*item*/) const { return Path(); }
};

// One conversion run of a file list, from the staging of the converter to
// the last staged file removed, for any front end: the window and the
// command line both drive it. The converter is staged on a worker; the files
// are taken from the list in list order while the list may go on changing,
// once every listed file has been looked up, and planned while the converter
// is still being staged (none starts before it is); the staged files are
// removed and the albums' ReplayGain values written (see WriteAlbumGains) on
// a worker at the end. The run never waits for any of it: everything answers
// through the event loop.
class ListRun : public QObject, private FileSource {
    Q_OBJECT
public:
    ListRun(platform::ProcessStarter &starter, filelist::FileListModel &list, RunFrontEnd &frontEnd,
            int conversionsAtOnce);
    ~ListRun() override;

    // Stages the converter, or takes the staging that `ahead` began for the
    // run; the first files follow.
    void start(std::shared_ptr<StagingAhead> ahead = nullptr);
    // The front end adds no more files to the list: the staged converter is
    // then let go of as soon as no file can need it any more, beside the
    // completion of the last files rather than after it.
    void closeList() { listClosed_ = true; }
    // The user asked to stop, or the program is ending: the converters end,
    // nothing more starts, the albums' values are not written (or no more),
    // and finished() follows within two seconds or so.
    void stop();

    // False once the run is stopping or cleaning up after its last file.
    bool canStop() const
    {
        return !stopRequested_ && (state_ == State::Staging || state_ == State::Running);
    }
    bool wasStopped() const { return stopRequested_; }
    RunProgress progress();
    // The earliest listed file whose converter works now; empty when none.
    Path atWork() const { return job_ ? job_->atWork() : Path(); }
    // How the run ended, for its final message.
    RunSummary summary() const;
    qint64 elapsedMilliseconds() const { return clock_.elapsed(); }

signals:
    // A file was planned, started or ended.
    void progressed();
    // A converter has started or ended, so the file at work may be another.
    void atWorkChanged();
    // One file's outcome is settled.
    void fileFinished(const velunor::conversion::FileOutcome &outcome);
    // Something the user should know of a file finished before: its album's
    // ReplayGain values could not be written.
    void fileWarned(const velunor::Path &inputPath, const QString &words);
    // Every converter has ended, the albums' ReplayGain values are written
    // and the staged files are cleaned up.
    void finished();

private:
    enum class State { NotStarted, Staging, Running, Ending, Ended };

    std::optional<FileTurn> nextTurn() override;
    int waitingCount() const override { return turns_.waitingCount(); }
    bool stillListed(filelist::ItemId item) const override { return turns_.isStillListed(item); }
    FileChoices currentChoices() override { return frontEnd_.choices(); }

    void onStaged(const Staging &staging);
    StagedConverter stagedConverter() const;
    std::function<Done()> converterUsable() const;
    void startJob();
    void sweepLeftovers(const Path &folder);
    void releaseWhenUnneeded();
    void finish();
    void ended();

    platform::ProcessStarter &starter_;
    filelist::FileListModel &list_;
    RunFrontEnd &frontEnd_;
    int conversionsAtOnce_;
    State state_ = State::NotStarted;
    bool stopRequested_ = false;
    bool staged_ = false;
    bool finishWhenStaged_ = false;
    bool listClosed_ = false;
    // The staged files let go of before the end, once no file needed them.
    enum class EarlyRelease { None, Running, Done } earlyRelease_ = EarlyRelease::None;
    std::shared_ptr<StagingLease> lease_;
    Path converterPath_;
    ListTurns turns_;
    ListedFiles listed_;
    std::shared_ptr<OutputNames> names_ = std::make_shared<OutputNames>();
    QSet<Path> sweptFolders_;
    // One folder after another, however many folders a run writes to.
    platform::SerialWork sweeps_;
    std::shared_ptr<platform::ResultMailbox> mailbox_;
    std::unique_ptr<ConversionJob> job_;
    // Raised to give up writing the albums' values (the program ends).
    std::shared_ptr<std::atomic<bool>> albumsCancel_ = std::make_shared<std::atomic<bool>>(false);
    QList<OutputWarning> albumWarnings_;
    bool albumsPending_ = false; // the albums' values are being written
    QElapsedTimer clock_;
};

} // namespace velunor::conversion
