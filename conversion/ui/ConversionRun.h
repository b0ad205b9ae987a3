#pragma once

#include "conversion/ConversionJob.h"
#include "conversion/ConverterFiles.h"
#include "conversion/ListTurns.h"
#include "conversion/RunSummary.h"
#include "shell/ui/ErrorReport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace velunor {

class Form1;

// One press of "Start Converting" from the staging of the converter to the
// final message: reads the list, the output folder and the channel mode at
// each file's turn, drives the window-free job, and shows its progress on the
// bar. The steps keep their numbers for the error report.
class ConversionRun : public QObject, private FileSource {
    Q_OBJECT
public:
    explicit ConversionRun(Form1 &form, int conversionsAtOnce);
    ~ConversionRun() override;

    // Stages the converter and starts the first files.
    void start();
    // The user asked to stop: the converters end, nothing more starts.
    void stop();
    // The window is closing: stops at once, cleans up and shows nothing.
    void endForExit();

    // False once the run is stopping or cleaning up after its last file.
    bool canStop() const { return !stopped_ && !ended_; }
    // How the run ended, for its final message.
    RunSummary summary() const;
    qint64 elapsedMilliseconds() const { return clock_.elapsed(); }

signals:
    // Every converter has ended and the staged files are cleaned up; the
    // window is idle again apart from the message, which is the receiver's.
    void ended();

private:
    std::optional<FilePlan> nextFile() override;
    QString replaceProblem(const FilePlan &plan) override;

    std::optional<ChannelMode> chosenMode();
    void stage();
    void removeStagedFiles(const Yield &yield);
    void showProgress();
    void tick();
    void finish();

    Form1 &form_;
    int conversionsAtOnce_;
    StepGuard guard_;
    StagingLease lease_;
    QString converterPath_;
    ListTurns turns_;
    std::unique_ptr<ConversionJob> job_;
    bool holdsPointer_ = false;
    bool stopped_ = false;
    bool ended_ = false;
    // The "Please wait.. N" count of the oldest file at work.
    QTimer ticker_;
    QString shownFile_;
    int polls_ = 0;
    QElapsedTimer clock_;
};

} // namespace velunor
