#pragma once

#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "conversion/FilePlanner.h"
#include "conversion/FinishOutput.h"
#include "conversion/InputMeasurer.h"
#include "conversion/ProgressEstimate.h"
#include "conversion/StopSchedule.h"
#include "platform/BackgroundWork.h"
#include "platform/Processes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace velunor::conversion {

// What the front end chooses for a file: read when the file's turn is taken
// and again as it starts.
struct FileChoices {
    Path outputFolder;
    std::optional<ChannelMode> mode; // none when no mode is chosen
    // How the output is encoded; none: as the encoder does by default.
    std::optional<OutputQuality> quality;
    RunOptions options = {};
};

// Where a job takes its files from, in list order.
class FileSource {
public:
    virtual ~FileSource() = default;
    // The next file in list order with the choices read now; it has had its
    // turn from then on. None when no file waits now.
    virtual std::optional<FileTurn> nextTurn() = 0;
    // How many files wait for their turn now.
    virtual int waitingCount() const = 0;
    // False once the file has left the list: it is not started.
    virtual bool stillListed(filelist::ItemId item) const = 0;
    // The choices as they are now.
    virtual FileChoices currentChoices() = 0;
};

// What a job needs besides its files.
struct JobSetup {
    StagedConverter converter;
    int parallel = 1;
    // How a file's plan is decided, on the planner's worker; PlanFile with
    // the run's names when not given.
    FilePlanner::Decide plan;
    // Shared with the workers, which may outlive the job: the names of the
    // run's outputs, for a name taken meanwhile, and the listed-file check
    // before a rename.
    std::shared_ptr<OutputNames> names;
    ListedWaitingCheck listed;
    // Whether the staged converter may be run now, or why not; asked before
    // each start.
    std::function<Done()> converterUsable;
    // Milliseconds on a clock that never goes back, for the time left; the
    // system's monotonic clock when not given.
    std::function<qint64()> clockMs;
    // The converter is still being staged: the files are planned meanwhile,
    // and none is measured or started before ConversionJob::converterStaged
    // gives the converter and `converterUsable`.
    bool stagingPending = false;
};

// The scheduler of a conversion run. It takes the files from its source in
// list order (a little at a time, so the window never waits for a long
// list), has each planned and measured on workers of their own, keeps up to
// `parallel` converters working with the longest files first, has each
// output checked and completed on a worker, and records how every file
// ended, in list order. What an input's MPEG frames say (mono already, the
// bit rate) decides how it is converted: a file the measuring has not
// reached yet has them walked on a worker as it is about to start, holding
// its place meanwhile, so files chosen at the same moment may start in
// either order. An input that is mono already is copied on a worker, never
// encoded again. A file whose choices changed since it was planned is
// planned again as it starts, so a change reaches every file that has not
// started. Stop ends the run within two seconds whatever the workers do.
// Everything is driven by the event loop; nothing here waits for anything.
class ConversionJob : public QObject {
    Q_OBJECT
public:
    ConversionJob(platform::ProcessStarter &starter, JobSetup setup, FileSource &source,
                  QObject *parent = nullptr);
    ~ConversionJob() override;

    // Conversions at once: one per processor the program may keep busy.
    static int ConversionsAtOnce();

    // Takes the first files; finished() follows from the event loop.
    void start();
    // The converter the job waited for is staged: the files waiting are
    // measured and started from now on.
    void converterStaged(StagedConverter converter, std::function<Done()> usable);
    // Ends every running converter at once (SIGTERM, then SIGKILL after a
    // second) and starts nothing more. Files whose converter had ended well
    // are still finished if that fits in the time left. finished() follows
    // within two seconds.
    void stop();

    // How the files taken so far ended, in list order; files not ended yet
    // are left out.
    QList<FileOutcome> outcomes() const;
    // Files taken and not ended.
    int activeCount() const { return static_cast<int>(records_.size()) - finished_; }
    // Whether the files taken so far may still run the converter: one may
    // still start, or a file being completed may still need the converter
    // to tell its input's length.
    bool mayNeedConverter() const;
    // The earliest listed file whose converter works now; empty when none.
    Path atWork() const;
    RunProgress progress();

signals:
    // A file was planned, started or ended.
    void progressed();
    // A converter has started or ended, so the file at work may be another.
    void atWorkChanged();
    // One file's outcome is settled (emitted once per file taken, in the
    // order they end).
    void fileFinished(const velunor::conversion::FileOutcome &outcome);
    void finished();

private:
    enum class Phase { NotStarted, Running, Stopping, Finished };
    // Preparing: the input's frames are walked before it starts, as the
    // measuring had not yet done it.
    enum class FileState { Planning, Waiting, Replanning, Preparing, Converting, Completing, Done };

    struct FileRecord {
        FileTurn turn;
        FilePlan plan;
        FileState state = FileState::Planning;
        std::optional<double> seconds;                       // the input's length, once measured
        bool walked = false;                                 // its frames were looked at
        std::optional<tags::MpegAudioLength> audio;          // what they say
        std::unique_ptr<TemporaryOutput> temporary;          // while converting
        std::shared_ptr<const InputLevelsAhead> inputLevels; // measured while converting
        platform::ChildProcess *process = nullptr;           // owned while converting
        bool endedBeforeStop = false;
        std::shared_ptr<CompletionControl> control; // while completing
        bool completedWithLength = false;           // its completion was given the input's length
        QElapsedTimer completingSince;
        qint64 outputBytes = 0; // what the converter has written so far
        int bytesPerSecond = 0; // of its output, once known
        FileOutcome outcome;    // once done
        DiskFullLog::Clock::time_point startedAt;
    };

    void schedulePump();
    void pump();
    bool takeTurns();
    void onPlanned(int sequence, const FilePlan &plan);
    void finishUpToDate(int sequence, FileRecord &record);
    void measure(int sequence, const FileRecord &record);
    void onMeasured(int sequence, const MeasuredInput &measured);
    void onPrepared(int sequence, const std::optional<tags::MpegAudioLength> &audio);
    void startSome();
    std::optional<int> nextToStart();
    void launch(int sequence);
    bool choicesChanged(FileRecord &record);
    void onConverterEnded(int sequence);
    // Has the output checked and completed on a worker; `copyAudio`: the
    // input's audio frames are first copied into it, for an input that is
    // mono already.
    void complete(int sequence, FileRecord &record, const platform::ProcessEnd &end,
                  const QByteArray &errorOutput, bool copyAudio = false);
    void onCompleted(int sequence, const std::shared_ptr<CompletionControl> &control,
                     const FileOutcome &outcome);
    void finish(int sequence, FileRecord &record, FileOutcome outcome);
    void finish(int sequence, FileRecord &record, FileOutcome::Result result,
                const QString &detail = QString(), OutcomeNumber number = {});
    void checkDeadlines();
    void giveUpOnWorkers();
    void signalConverters(int signal);
    void maybeFinish();
    void noteOutputSize(FileRecord &record);
    void forgetWaiting(int sequence, const FileRecord &record);
    int busySlots() const
    {
        return static_cast<int>(converting_.size() + replanning_.size() + preparing_.size());
    }

    platform::ProcessStarter &starter_;
    JobSetup setup_;
    FileSource &source_;
    Phase phase_ = Phase::NotStarted;

    // By turn, in list order.
    std::map<int, FileRecord> records_;
    int nextSequence_ = 0;
    int finished_ = 0;
    bool sourceEmpty_ = false;
    bool pumpScheduled_ = false;
    std::set<int> planning_;
    std::set<int> replanning_;
    std::set<int> preparing_;
    std::set<int> converting_;
    std::set<int> completing_;
    std::set<platform::FileIdentity> inputs_; // each input is converted once
    // Folders made for outputs; those that stay empty go again at the end.
    std::vector<Path> madeFolders_;
    // Planned files waiting to start: measured ones longest first, the
    // others in list order.
    std::set<std::pair<double, int>> measuredWaiting_; // (-seconds, sequence)
    std::set<int> unmeasuredWaiting_;

    std::shared_ptr<platform::ResultMailbox> mailbox_;
    std::shared_ptr<DiskFullLog> diskFull_ = std::make_shared<DiskFullLog>();
    FilePlanner planner_;
    InputMeasurer measurer_;
    // Raised to give up the walks of inputs about to start.
    std::shared_ptr<std::atomic<bool>> walksCancel_ = std::make_shared<std::atomic<bool>>(false);
    ProgressEstimate estimate_;
    StopSchedule stopSchedule_;
    QTimer deadlineTimer_;
};

} // namespace velunor::conversion
