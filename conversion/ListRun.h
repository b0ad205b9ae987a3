#pragma once

#include "conversion/ConversionJob.h"
#include "conversion/ConverterFiles.h"
#include "conversion/ListTurns.h"
#include "conversion/ListedFiles.h"
#include "conversion/OutputNames.h"
#include "conversion/RunSummary.h"
#include "shell/Steps.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>

#include <memory>

namespace velunor {

// What the front end chooses for each file at its turn.
class RunChoices {
public:
    virtual ~RunChoices() = default;
    virtual Path outputFolder() = 0;
    // None when no channel mode is chosen.
    virtual std::optional<ChannelMode> channelMode() = 0;
};

// One conversion run of a file list, from the staging of the converter to
// the last staged file removed, for any front end: the window and the
// command line both drive it. The files are taken from the list in list
// order while the list may go on changing; the output folder and the channel
// mode come from the front end at each file's turn. The numbered steps (the
// staging, each turn's plan, the removal) are run through the front end's
// step runner.
class ListRun : public QObject, private FileSource {
    Q_OBJECT
public:
    ListRun(ProcessStarter &starter, FileListModel &list, RunChoices &choices, StepRunner &steps,
            int conversionsAtOnce, Yield yield);
    ~ListRun() override;

    // Stages the converter and starts the first files.
    void start();
    // The user asked to stop: the converters end, nothing more starts.
    void stop();
    // The program is ending: stops at once (within two seconds), removes
    // what the run staged and returns; finished() is not emitted.
    void stopForExit();

    // False once the run is stopping or cleaning up after its last file.
    bool canStop() const
    {
        return !stopRequested_ && (state_ == State::Staging || state_ == State::Running);
    }
    bool wasStopped() const { return stopRequested_; }
    RunProgress progress();
    // How the run ended, for its final message.
    RunSummary summary() const;
    qint64 elapsedMilliseconds() const { return clock_.elapsed(); }

signals:
    // A file was planned, started or ended.
    void progressed();
    // One file's outcome is settled.
    void fileFinished(const velunor::FileOutcome &outcome);
    // Every converter has ended and the staged files are cleaned up.
    void finished();

private:
    enum class State { NotStarted, Staging, Running, Ending, Ended };

    std::optional<FilePlan> nextFile() override;
    int waitingCount() const override { return turns_.waitingCount(); }
    bool stillListed(const FilePlan &plan) const override;

    void stage();
    void startJob();
    void removeStagedFiles(const Yield &yield);
    void sweepLeftovers(const Path &folder);
    bool refusesWindowsNames(const Path &folderKey);
    void finish();

    ProcessStarter &starter_;
    FileListModel &list_;
    RunChoices &choices_;
    StepRunner &steps_;
    int conversionsAtOnce_;
    Yield yield_;
    State state_ = State::NotStarted;
    bool stopRequested_ = false;
    bool waitingForList_ = false; // staged, and the listed files are being looked up
    std::unique_ptr<StagingLease> lease_;
    Path converterPath_;
    ListTurns turns_;
    ListedFiles listed_;
    std::shared_ptr<OutputNames> names_ = std::make_shared<OutputNames>();
    QSet<Path> sweptFolders_;
    QHash<Path, bool> windowsNames_; // by the output folder's real path
    std::unique_ptr<ConversionJob> job_;
    QElapsedTimer clock_;
};

} // namespace velunor
