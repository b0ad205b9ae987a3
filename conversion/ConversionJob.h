#pragma once

#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "conversion/FinishOutput.h"
#include "platform/BackgroundWork.h"
#include "platform/Processes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace velunor {

// Where a run takes its files from, in list order.
class FileSource {
public:
    virtual ~FileSource() = default;
    // The plan of the next file in list order, decided now; none when no
    // file is left now. May let the window handle events (an error report),
    // and the run may be stopped meanwhile.
    virtual std::optional<FilePlan> nextFile() = 0;
    // How many files wait for their turn (their plan) now.
    virtual int waitingCount() const = 0;
    // False once the file of `plan` has left the list: it is not started.
    virtual bool stillListed(const FilePlan &plan) const = 0;
};

// What a job needs besides its files.
struct JobSetup {
    StagedConverter converter;
    int parallel = 1;
    // Shared with the workers, which may outlive the job: the names of the
    // run's outputs, for a name taken meanwhile, and the listed-file check
    // before a rename.
    std::shared_ptr<OutputNames> names;
    ListedWaitingCheck listed;
    // Why the staged converter must not be run now, or ""; asked before each
    // start.
    std::function<QString()> converterProblem;
    // Milliseconds on a clock that never goes back, for the time left; the
    // system's monotonic clock when not given.
    std::function<qint64()> clockMs;
};

// How far a run has got, by the audio it holds rather than by its files, so
// that a long file counts for what it is.
struct RunProgress {
    // Of the whole run's audio: never falls during a run, and reaches 1
    // only when it has ended.
    double fraction = 0.0;
    // Estimated from the audio converted per second so far, once there is
    // enough to go by.
    std::optional<qint64> secondsLeft;
    int filesLeft = 0;
    // The length of all the run's audio, as far as it is known: files not
    // measured yet count as long as the average of those that are.
    double audioSeconds = 0.0;
    // The earliest listed file being converted; empty when none is.
    Path atWork;
};

// A time left as a clock shows it: "0:42", "3:10", "1:02:03".
QString DurationText(qint64 seconds);

// A conversion run without a window. It takes every file's plan from its
// source in list order (a little at a time, so the window never waits for a
// long list), measures how long each file is on a thread of its own, keeps up
// to `parallel` converters working with the longest files first, checks and
// completes each output on a worker, and records how every file ended, in
// list order. Stop and the program's exit take at most two seconds whatever
// the workers are doing. Everything is driven by the event loop.
class ConversionJob : public QObject {
    Q_OBJECT
public:
    ConversionJob(ProcessStarter &starter, JobSetup setup, FileSource &source,
                  QObject *parent = nullptr);
    ~ConversionJob() override;

    // Conversions at once on this machine: one per online processor.
    static int ConversionsAtOnce();

    // Plans and starts the first files; finished() follows from the event
    // loop.
    void start();
    // Ends every running converter at once (SIGTERM, then SIGKILL after a
    // second) and starts nothing more. Files whose converter had ended well
    // are still finished if that fits in the time left. finished() follows
    // within two seconds.
    void stop();
    // The same for the program's exit: returns once every file is settled,
    // within two seconds, having let the event loop run meanwhile without
    // user input.
    void stopNow();

    // How the files planned so far ended, in list order; files not ended
    // yet are left out.
    QList<FileOutcome> outcomes() const;
    // Files planned and not ended.
    int activeCount() const { return static_cast<int>(records_.size()) - finished_; }
    RunProgress progress();

signals:
    // A file was planned, started or ended.
    void progressed();
    // One file's outcome is settled (emitted once per planned file, in the
    // order they end).
    void fileFinished(const velunor::FileOutcome &outcome);
    void finished();

private:
    enum class Phase { NotStarted, Running, Stopping, Finished };
    enum class FileState { Planned, Converting, Completing, Done };

    struct FileRecord {
        FilePlan plan;
        FileState state = FileState::Planned;
        std::optional<double> seconds;              // the input's length, once measured
        std::unique_ptr<TemporaryOutput> temporary; // while converting
        ChildProcess *process = nullptr;            // owned while converting
        bool endedBeforeStop = false;
        std::shared_ptr<CompletionControl> control; // while completing
        QElapsedTimer completingSince;
        qint64 outputBytes = 0; // what the converter has written so far
        int bytesPerSecond = 0; // of its output, once known
        FileOutcome outcome;    // once done
        DiskFullLog::Clock::time_point startedAt;
    };

    struct Measurer;

    void schedulePump();
    void pump();
    bool planSome();
    void startSome();
    std::optional<int> nextToStart();
    void launch(int sequence);
    void onConverterEnded(int sequence);
    void complete(int sequence, FileRecord &record, const ProcessEnd &end,
                  const QByteArray &errorOutput);
    void onCompleted(int sequence, const std::shared_ptr<CompletionControl> &control,
                     const FileOutcome &outcome);
    void onMeasured(int sequence, std::optional<double> seconds);
    void finish(int sequence, FileRecord &record, FileOutcome outcome);
    void finish(int sequence, FileRecord &record, FileOutcome::Result result,
                const QString &detail = QString(), int number = 0);
    void checkDeadlines();
    void giveUpOnWorkers();
    void signalConverters(int signal);
    void maybeFinish();
    double averageSeconds() const;
    void noteOutputSize(FileRecord &record);
    void forgetWaiting(int sequence, const FileRecord &record);

    ProcessStarter &starter_;
    JobSetup setup_;
    FileSource &source_;
    Phase phase_ = Phase::NotStarted;

    // By plan, in list order.
    std::map<int, FileRecord> records_;
    int nextSequence_ = 0;
    int finished_ = 0;
    bool sourceEmpty_ = false;
    std::set<int> converting_;
    std::set<int> completing_;
    std::set<FileIdentity> inputs_; // each input is converted once
    // Planned files waiting to start: measured ones longest first, the
    // others in list order.
    std::set<std::pair<double, int>> measuredWaiting_; // (-seconds, sequence)
    std::set<int> unmeasuredWaiting_;
    // Sums for the progress, kept as files are planned, measured and done,
    // so that a long list costs nothing per look.
    double measuredSeconds_ = 0.0;
    int measuredCount_ = 0;
    double doneMeasuredSeconds_ = 0.0;
    int doneUnmeasuredCount_ = 0;

    enum class Pump { Idle, Scheduled, Running, RunAgain };
    Pump pump_ = Pump::Idle;

    std::shared_ptr<ResultMailbox> mailbox_;
    std::shared_ptr<DiskFullLog> diskFull_ = std::make_shared<DiskFullLog>();
    std::shared_ptr<Measurer> measurer_;
    QTimer killTimer_;
    QTimer giveUpTimer_;
    QTimer deadlineTimer_;
    std::optional<qint64> workStartMs_; // when the first converter started
    double shownFraction_ = 0.0;
};

} // namespace velunor
