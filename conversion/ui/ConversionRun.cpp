#include "conversion/ui/ConversionRun.h"

#include "app/FileListView.h"
#include "app/Form1.h"
#include "app/ProgressBar.h"
#include "conversion/Shell32.h"
#include "shell/Locations.h"
#include "shell/Main.h"
#include "shell/ui/WindowMain.h"

#include <QLineEdit>

namespace velunor {

namespace {

constexpr int kPollMilliseconds = 100;
const QString kIdleText = QStringLiteral("Progress Bar");

} // namespace

ConversionRun::ConversionRun(Form1 &form, int conversionsAtOnce)
    : form_(form), conversionsAtOnce_(conversionsAtOnce),
      guard_(form.platform(), &form, Location::PushButton2_Click), turns_(form.ListView1->items())
{
    clock_.start();
    ticker_.setInterval(kPollMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, [this] { tick(); });
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::start()
{
    stage();
    guard_.step(134, [&] { converterPath_ = StagedPath(lease_.folder(), ConverterProgram()); });
    // The user may have stopped the run while the converter was staged.
    if (stopped_) {
        finish();
        return;
    }
    guard_.step(136, [&] {
        job_ = std::make_unique<ConversionJob>(
            form_.platform(), converterPath_, Shell32::ConverterEnvironment(lease_.folder()),
            conversionsAtOnce_, static_cast<FileSource &>(*this));
    });
    if (!job_) {
        finish();
        return;
    }
    connect(job_.get(), &ConversionJob::progressed, this, [this] { showProgress(); });
    connect(job_.get(), &ConversionJob::finished, this, [this] { finish(); });
    ticker_.start();
    job_->start();
}

// Steps 104 to 132: for each converter file, load its bytes, look whether it
// is staged already, and write it when it is not.
void ConversionRun::stage()
{
    int step = 104;
    for (const ConverterFile &file : ConverterFileSet()) {
        const QString stagedPath = StagedPath(lease_.folder(), file);
        QByteArray buffer;
        guard_.step(step, [&] { buffer = LoadConverterResource(file.resourceId); });
        if (!guard_.test(step + 2, [&] { return Main::PathExists(stagedPath); }))
            guard_.step(step + 4, [&] {
                WriteResourceFile(buffer, stagedPath, file.executable, Main::YieldToEvents);
            });
        step += 6;
    }
}

// Steps 168 to 176: the staged files go, whoever wrote them, once no other
// run uses them.
void ConversionRun::removeStagedFiles(const Yield &yield)
{
    int step = 168;
    for (const ConverterFile &file : ConverterFileSet()) {
        guard_.step(step, [&] { DeleteFileQuietly(StagedPath(lease_.folder(), file), yield); });
        step += 2;
    }
}

// Steps 152 to 162: the channel mode selected now; none when no mode is.
std::optional<ChannelMode> ConversionRun::chosenMode()
{
    std::optional<ChannelMode> mode;
    if (guard_.test(152, [&] { return form_.Option1->isChecked(); }))
        guard_.step(154, [&] { mode = ChannelMode::Mix; });
    else if (guard_.test(156, [&] { return form_.Option2->isChecked(); }))
        guard_.step(158, [&] { mode = ChannelMode::LeftOnly; });
    else if (guard_.test(160, [&] { return form_.Option3->isChecked(); }))
        guard_.step(162, [&] { mode = ChannelMode::RightOnly; });
    return mode;
}

std::optional<FilePlan> ConversionRun::nextFile()
{
    FileListModel &list = form_.ListView1->items();
    const std::optional<int> index = turns_.takeNext();
    if (!index)
        return std::nullopt;
    guard_.step(138, [&] {
        if (!holdsPointer_) {
            form_.holdBusyPointer();
            holdsPointer_ = true;
        }
    });
    FileTurn turn;
    if (!guard_.step(140, [&] { turn.inputPath = list.text(*index); })) {
        FilePlan unreadable;
        unreadable.skipReason = QStringLiteral("its name could not be read from the list");
        return unreadable;
    }
    // The output folder and the mode are read at each file's turn, so a
    // change takes effect from the next file on.
    turn.outputFolder = form_.Text1->text();
    turn.mode = chosenMode();
    turn.converterProblem = UntrustedConverterReason(lease_.folder());
    turn.isListedInput = [this](const FileIdentity &file) { return turns_.isListed(file); };
    FilePlan plan;
    if (!guard_.step(148, [&] { plan = PlanFile(turn); })) {
        plan = FilePlan{};
        plan.inputPath = turn.inputPath;
        plan.skipReason = QStringLiteral("no output name could be formed");
    }
    return plan;
}

QString ConversionRun::replaceProblem(const FilePlan &plan)
{
    const auto existing = FileSystem::IdentityOf(plan.outputPath);
    if (existing && turns_.isListed(*existing))
        return QStringLiteral("skipped, the output would replace the listed file %1")
            .arg(plan.outputPath);
    return QString();
}

void ConversionRun::showProgress()
{
    if (!job_)
        return;
    const int finished = job_->finishedCount();
    const int total = finished + job_->activeCount() + turns_.waitingCount();
    // Computed exactly in whole numbers: 29 of 100 shows 29.
    const int percent = total > 0 ? static_cast<int>(qint64(finished) * 100 / total) : 0;
    guard_.step(142, [&] { form_.ProgressBar1->setValue(percent); });
    const QString oldest = job_->oldestConverting();
    if (!oldest.isEmpty() && oldest != shownFile_) {
        shownFile_ = oldest;
        polls_ = 0;
        guard_.step(144, [&] {
            form_.ProgressBar1->setText(QStringLiteral("Processing: ") + Main::FileNameOf(oldest));
        });
    }
}

void ConversionRun::tick()
{
    if (!job_ || job_->oldestConverting().isEmpty())
        return;
    ++polls_;
    form_.ProgressBar1->setText(QStringLiteral("Please wait.. ") + QString::number(polls_));
}

void ConversionRun::stop()
{
    if (!canStop())
        return;
    stopped_ = true;
    if (job_)
        job_->stop();
}

void ConversionRun::endForExit()
{
    stopped_ = true;
    ticker_.stop();
    if (job_)
        job_->stopNow();
    // Nothing may run in between any more: the window is going.
    lease_.release([this] { removeStagedFiles(Yield()); });
}

void ConversionRun::finish()
{
    if (ended_)
        return;
    ended_ = true;
    ticker_.stop();
    lease_.release([this] { removeStagedFiles(Main::YieldToEvents); });
    guard_.step(178, [&] {
        if (holdsPointer_)
            form_.releaseBusyPointer();
        holdsPointer_ = false;
    });
    guard_.step(180, [&] { form_.ProgressBar1->setValue(0); });
    guard_.step(182, [&] { form_.ProgressBar1->setText(kIdleText); });
    emit ended();
}

RunSummary ConversionRun::summary() const
{
    RunSummary summary;
    summary.setStopped(stopped_);
    if (job_) {
        for (const FileOutcome &outcome : job_->outcomes()) {
            if (outcome.converted())
                summary.addConverted();
            else
                summary.addNotConverted(outcome.inputPath, outcome.reason());
        }
    }
    for (const QString &path : turns_.removedBeforeTurn())
        summary.addNotConverted(path, QStringLiteral("removed from the list before its turn"));
    for (const QString &path : turns_.waitingPaths())
        summary.addNotConverted(path, stopped_ ? QStringLiteral("not started, the run was stopped")
                                               : QStringLiteral("not started"));
    return summary;
}

} // namespace velunor
