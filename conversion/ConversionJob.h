#pragma once

#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "platform/Processes.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

namespace velunor {

// Where a run takes its files from, one turn at a time.
class FileSource {
public:
    virtual ~FileSource() = default;
    // The plan of the next file, decided now; none when no file is left.
    // May let the window handle events (an error report), and the run may
    // be stopped meanwhile.
    virtual std::optional<FilePlan> nextFile() = 0;
    // Why the finished output of `plan` must not replace what is at its
    // final name now, or "". Asked again just before the output is put in
    // place, as the list may have changed since the file's turn.
    virtual QString replaceProblem(const FilePlan &plan) = 0;
};

// A conversion run without a window: takes the files from its source in
// turn, keeps up to `parallel` converters working at once, checks and
// completes each output on a worker thread, gives it its final name, and
// records how every file ended. Everything is driven by the event loop;
// nothing here waits, except stopNow().
class ConversionJob : public QObject {
    Q_OBJECT
public:
    ConversionJob(ProcessStarter &starter, QString converterPath, QStringList environment,
                  int parallel, FileSource &source, QObject *parent = nullptr);
    ~ConversionJob() override;

    // Conversions at once on this machine: one per online processor.
    static int ConversionsAtOnce();

    // Starts the first files; finished() follows from the event loop.
    void start();
    // Ends every running converter at once (SIGTERM, then SIGKILL after
    // `killAfterMs`) and starts nothing more. Outputs already being completed
    // are kept. finished() follows once every converter has ended.
    void stop(int killAfterMs = 1000);
    // The same for the program's exit: returns when every converter has
    // ended and no temporary output is left. No signal is emitted.
    void stopNow(int killAfterMs = 1000);

    bool isStopped() const { return stopping_; }
    // How the files whose turn has come ended so far, in turn order.
    QList<FileOutcome> outcomes() const;
    int finishedCount() const { return static_cast<int>(done_.size()); }
    // Files whose turn has come that are not finished: being converted,
    // completed, or waiting for another file with the same output.
    int activeCount() const { return static_cast<int>(active_.size()) + (waiting_ ? 1 : 0); }
    // The input of the file that has been converted longest of those still
    // being converted; "" when none is.
    QString oldestConverting() const;

signals:
    // A file started or ended.
    void progressed();
    void finished();

private:
    enum class Stage { Converting, Completing };
    struct Active {
        FilePlan plan;
        ChildProcess *process = nullptr; // owned until it has ended
        Stage stage = Stage::Converting;
    };

    void fill();
    void launch(int turn, FilePlan plan);
    void onConverterEnded(int turn);
    void onCompleted(int turn, FileOutcome::Result result, const QString &detail, int number);
    void record(int turn, const FilePlan &plan, FileOutcome::Result result,
                const QString &detail = QString(), int number = 0);
    bool outputBusy(const QString &outputKey) const;
    int convertingCount() const;
    void signalConverters(int signal);
    void maybeFinish();

    ProcessStarter &starter_;
    QString converterPath_;
    QStringList environment_;
    int parallel_;
    FileSource &source_;

    std::map<int, Active> active_;
    std::map<int, FileOutcome> done_;
    // A file whose output is the same as that of a file still at work: it
    // waits, so that the later file in the list always writes last.
    std::optional<std::pair<int, FilePlan>> waiting_;
    int nextTurn_ = 0;
    bool started_ = false;
    bool sourceEmpty_ = false;
    bool stopping_ = false;
    bool filling_ = false;
    bool refill_ = false;
    bool finishing_ = false;
    QTimer killTimer_;
    // Last, so that it is destroyed first: its destruction waits for the
    // completions still running, which report back to this object.
    QThreadPool completers_;
};

} // namespace velunor
