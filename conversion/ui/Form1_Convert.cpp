// "Start Converting": checks the list and the output folder, then hands the
// files to a conversion run that works while the window stays free; pressed
// again during a run, it offers to stop.

#include "app/Form1.h"

#include "app/FileListView.h"
#include "app/ProgressBar.h"
#include "conversion/ConversionJob.h"
#include "conversion/ui/ConversionRun.h"
#include "shell/Locations.h"
#include "shell/Main.h"

#include <QApplication>
#include <QLineEdit>

namespace velunor::app {

namespace {

const char *const kNoFiles = QT_TRANSLATE_NOOP("velunor::app::Form1", "No files added.");
const char *const kNoFolder = QT_TRANSLATE_NOOP(
    "velunor::app::Form1", "Folder does not exist. Please select another folder.");
const char *const kStopQuestion = QT_TRANSLATE_NOOP(
    "velunor::app::Form1", "Stop converting now? Files already converted are kept.");

} // namespace

void Form1::PushButton2_Click()
{
    if (run_) {
        askToStopRun();
        return;
    }
    shell::StepGuard guard(platform_, this, shell::Location::PushButton2_Click);
    filelist::FileListModel &list = ListView1->items();
    if (!guard.test(100, [&] { return list.count() > 0; })) {
        showMessage(tr(kNoFiles));
        return;
    }
    if (!guard.test(102, [&] {
            return platform::Main::FolderExists(shell::Main::OutputFolderOf(Text1->text()));
        })) {
        showMessage(tr(kNoFolder));
        return;
    }
    run_ = std::make_unique<conversion::ConversionRun>(
        static_cast<conversion::RunWindow &>(*this),
        conversionsAtOnce_ > 0 ? conversionsAtOnce_
                               : conversion::ConversionJob::ConversionsAtOnce());
    connect(run_.get(), &conversion::ConversionRun::ended, this, [this] { endRun(); });
    run_->start();
}

void Form1::askToStopRun()
{
    // One question at a time; a run that is stopping needs no second one.
    if (stopQuestionOpen_ || !run_->canStop())
        return;
    stopQuestionOpen_ = true;
    const bool stop =
        platform_.messageBox(this, tr(kStopQuestion), applicationTitle_,
                             platform::MessageButtons::YesNoDefaultNo,
                             platform::MessageIcon::None) == platform::MessageAnswer::Yes;
    stopQuestionOpen_ = false;
    // The run may have ended while the question was open: its message
    // follows the question now.
    if (runEnded_)
        endRun();
    else if (stop)
        run_->stop();
}

void Form1::endRun()
{
    if (!run_)
        return;
    // A stop question still open is answered first.
    runEnded_ = true;
    if (stopQuestionOpen_)
        return;
    runEnded_ = false;
    const conversion::RunSummary summary = run_->summary();
    const bool tookLong = run_->elapsedMilliseconds() > noticeAfterMs_;
    run_.release()->deleteLater();
    // Someone who turned to another program during a long run learns that it
    // ended without looking; the message waits in the window as ever.
    if (tookLong && QApplication::activeWindow() == nullptr)
        platform_.notify(summary.heading(), summary.counts());
    // Step 184. The box names a few files of each kind; its details name
    // every one.
    shell::StepGuard guard(platform_, this, shell::Location::PushButton2_Click);
    guard.step(184, [&] { showMessage(summary.message(), summary.details()); });
}

filelist::FileListModel &Form1::listedFiles()
{
    return ListView1->items();
}

QString Form1::outputFolderText() const
{
    return Text1->text();
}

bool Form1::isModeSelected(conversion::ChannelMode mode) const
{
    switch (mode) {
    case conversion::ChannelMode::Mix:
        return Option1->isChecked();
    case conversion::ChannelMode::LeftOnly:
        return Option2->isChecked();
    case conversion::ChannelMode::RightOnly:
        return Option3->isChecked();
    }
    return false;
}

void Form1::showPercent(int percent)
{
    ProgressBar1->setValue(percent);
}

void Form1::showBarText(const QString &text)
{
    ProgressBar1->setText(text);
}

void Form1::showRunState(const QString &state)
{
    setWindowTitle(state.isEmpty() ? DisplayName
                                   : state + QStringLiteral(" \u2013 ") + DisplayName);
}

} // namespace velunor::app
