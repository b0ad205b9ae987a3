#pragma once

#include "conversion/ListRun.h"
#include "platform/SystemProcessStarter.h"

#include <QObject>
#include <QTimer>

namespace velunor::cli {

class Console;

// Lets the command line's own events (a signal, a timer) be handled once: the
// Yield that the batch run passes to long work.
void HandlePendingEvents();

// What every file of a batch run is converted with.
struct BatchChoices {
    Path outputFolder; // absolute, ending in "/"
    ChannelMode mode = ChannelMode::Mix;
    int conversionsAtOnce = 1;
};

// The choices of a batch run, the same for every file's turn.
class FixedChoices : public RunChoices {
public:
    explicit FixedChoices(const BatchChoices &choices) : choices_(choices) {}
    Path outputFolder() override { return choices_.outputFolder; }
    std::optional<ChannelMode> channelMode() override { return choices_.mode; }

private:
    BatchChoices choices_;
};

// A step of the run that fails is told on standard error, naming the step,
// and the run goes on, as the window's error report lets it.
class PrintedSteps : public StepRunner {
public:
    explicit PrintedSteps(Console &console) : console_(console) {}

private:
    void report(const std::exception_ptr &failure, int number) override;

    Console &console_;
};

// The conversion of a list without a window: the run of the list as the
// window runs it, told on the console as it goes (a status line on a
// terminal, a line per file otherwise) and summed up at its end with the
// window's final message.
class BatchRun : public QObject {
    Q_OBJECT
public:
    static constexpr int kStatusMilliseconds = 100;
    // The exit status after SIGINT or SIGTERM, as a shell gives it.
    static constexpr int kInterruptedStatus = 130;

    BatchRun(FileListModel &list, const BatchChoices &choices, Console &console);
    ~BatchRun() override;

    // Folders the search could not read, each "FOLDER - REASON": named again
    // at the end, and the exit status is 1 even when every file found was
    // converted.
    void setUnsearchedFolders(const QStringList &lines) { unsearched_ = lines; }

    // Stages the converter and starts the first files; ended() follows.
    void start();
    // A signal asked the program to end: the run stops as Stop stops it
    // (converters ended, temporary files removed, finished files kept).
    void interrupt();

signals:
    // The run is over and summed up: 0 when every file was converted, 1 when
    // any was not, 130 when it was interrupted.
    void ended(int exitStatus);

private:
    void tellFile(const FileOutcome &outcome);
    void showStatus();
    void finish();

    FileListModel &list_;
    Console &console_;
    FixedChoices choices_;
    PrintedSteps steps_;
    SystemProcessStarter processes_;
    ListRun run_;
    QTimer statusTimer_;
    int filesDone_ = 0;
    bool interrupted_ = false;
    QStringList unsearched_;
};

// The run's final message as the console prints it: the window's message
// with plain line breaks, every file listed where the message cuts a list
// short, and the folders that could not be searched, if any.
QString SummaryText(const RunSummary &summary, const QStringList &unsearched = {});

} // namespace velunor::cli
