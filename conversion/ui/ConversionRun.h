#pragma once

#include "conversion/ListRun.h"
#include "platform/ui/TaskbarProgress.h"
#include "shell/ui/ErrorReport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace velunor::conversion {

class RunWindow;

// One press of "Start Converting" in the window: the run of the list, with
// the output folder and the channel mode read from the window when each
// file's turn is taken and again as it starts, its progress on the bar and in
// the window title, and its failing steps told in the error report.
class ConversionRun : public QObject, private RunFrontEnd {
    Q_OBJECT
public:
    ConversionRun(RunWindow &window, int conversionsAtOnce);
    ~ConversionRun() override;

    // Holds the busy pointer, stages the converter and starts the first files.
    void start();
    // The user asked to stop, or the window is closing: the converters end,
    // nothing more starts, and ended() follows within two seconds or so.
    void stop();

    // False once the run is stopping or cleaning up after its last file.
    bool canStop() const { return run_.canStop(); }
    RunSummary summary() const { return run_.summary(); }
    qint64 elapsedMilliseconds() const { return run_.elapsedMilliseconds(); }

signals:
    // Every converter has ended and the staged files are cleaned up; the
    // window is idle again apart from the message, which is the receiver's.
    void ended();

private:
    FileChoices choices() override;
    void stepFailed(const StepFailure &failure) override;

    void showProgress();
    void tick();
    void showFileAtWork();
    void finish();

    RunWindow &window_;
    shell::StepGuard guard_;
    // For the steps read while files are planned and started, which must
    // not wait for a dialog.
    shell::StepGuard laterGuard_;
    ListRun run_;
    bool holdsPointer_ = false;
    // The "Please wait.. N" count of the file at work.
    QTimer ticker_;
    QTimer pendingShow_;
    QElapsedTimer lastShown_;
    Path shownFile_; // the file whose name the bar shows

    int polls_ = 0;
    int shownPercent_ = -1;
    // The same progress on the program's entry in the taskbar or dock.
    platform::TaskbarProgress taskbar_;
};

// The run's state in the window title: "42% · 3:10 left", or "42%" before
// the time left can be told.
QString RunState(int percent, std::optional<qint64> secondsLeft);

// The number the error report gives a failed step of the run.
int StepNumber(const StepFailure &failure);

} // namespace velunor::conversion
