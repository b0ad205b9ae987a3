#include "conversion/ui/ConversionRun.h"

#include "app/FileListView.h"
#include "app/Form1.h"
#include "app/ProgressBar.h"
#include "shell/Locations.h"

#include <QLineEdit>

namespace velunor {

namespace {

constexpr int kPollMilliseconds = 100;
constexpr qint64 kShowEveryMs = 50;
const QString kIdleText = QStringLiteral("Progress Bar");

} // namespace

QString RunTitle(int percent, std::optional<qint64> secondsLeft, const QString &name)
{
    QString title = QString::number(percent) + QLatin1Char('%');
    if (secondsLeft)
        title += QStringLiteral(" \u00b7 ") + DurationText(*secondsLeft) + QStringLiteral(" left");
    return title + QStringLiteral(" \u2013 ") + name;
}

int StepNumber(const StepFailure &failure)
{
    // Each converter file has a group of three steps: load, look, write.
    const int group = 104 + 6 * failure.index;
    switch (failure.step) {
    case RunStep::LoadConverterFile:
        return group;
    case RunStep::WriteStagedFile:
        return group + 4;
    }
    return group;
}

ConversionRun::ConversionRun(Form1 &form, int conversionsAtOnce)
    : form_(form), guard_(form.platform(), &form, Location::PushButton2_Click),
      laterGuard_(form.platform(), &form, Location::PushButton2_Click, StepGuard::Reports::Later),
      run_(form.platform(), form.ListView1->items(), *this, conversionsAtOnce)
{
    ticker_.setInterval(kPollMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, [this] { tick(); });
    // A run of many short files makes progress many times a second; the bar
    // and the title are drawn again at most every 50 ms, so that drawing
    // them never takes the converters' time.
    pendingShow_.setSingleShot(true);
    connect(&pendingShow_, &QTimer::timeout, this, [this] { showProgress(); });
    connect(&run_, &ListRun::progressed, this, [this] {
        const qint64 sinceShown = lastShown_.isValid() ? lastShown_.elapsed() : kShowEveryMs;
        if (sinceShown >= kShowEveryMs)
            showProgress();
        else if (!pendingShow_.isActive())
            pendingShow_.start(static_cast<int>(kShowEveryMs - sinceShown));
    });
    // The file at work is shown the moment it changes, however short it is.
    connect(&run_, &ListRun::atWorkChanged, this, [this] { showFileAtWork(); });
    connect(&run_, &ListRun::finished, this, [this] { finish(); });
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::start()
{
    // Step 138: the hourglass for as long as the run works, staging included.
    guard_.step(138, [&] {
        form_.holdBusyPointer();
        holdsPointer_ = true;
    });
    ticker_.start();
    run_.start();
}

// Step 148 reads the output folder; steps 152 to 162 the channel mode
// selected now, none when no mode is.
FileChoices ConversionRun::choices()
{
    FileChoices chosen;
    laterGuard_.step(148, [&] { chosen.outputFolder = Path::FromText(form_.Text1->text()); });
    if (laterGuard_.test(152, [&] { return form_.Option1->isChecked(); }))
        laterGuard_.step(154, [&] { chosen.mode = ChannelMode::Mix; });
    else if (laterGuard_.test(156, [&] { return form_.Option2->isChecked(); }))
        laterGuard_.step(158, [&] { chosen.mode = ChannelMode::LeftOnly; });
    else if (laterGuard_.test(160, [&] { return form_.Option3->isChecked(); }))
        laterGuard_.step(162, [&] { chosen.mode = ChannelMode::RightOnly; });
    return chosen;
}

void ConversionRun::stepFailed(const StepFailure &failure)
{
    guard_.report(StepNumber(failure), failure.failure);
}

void ConversionRun::showProgress()
{
    lastShown_.start();
    pendingShow_.stop();
    const RunProgress progress = run_.progress();
    const int percent = static_cast<int>(progress.fraction * 100);
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        guard_.step(142, [&] { form_.ProgressBar1->setValue(percent); });
    }
    form_.setWindowTitle(RunTitle(percent, progress.secondsLeft, Form1::DisplayName));
    taskbar_.show(progress.fraction, progress.filesLeft);
}

// Step 144 for each file that starts: its name while its converter works;
// "Progress Bar" again once no converter works, while outputs are checked.
void ConversionRun::showFileAtWork()
{
    const Path atWork = run_.atWork();
    if (atWork == shownFile_)
        return;
    shownFile_ = atWork;
    polls_ = 0;
    if (atWork.isEmpty()) {
        form_.ProgressBar1->setText(kIdleText);
        return;
    }
    guard_.step(144, [&] {
        form_.ProgressBar1->setText(QStringLiteral("Processing: ") + atWork.fileName().text());
    });
}

void ConversionRun::tick()
{
    showProgress();
    if (shownFile_.isEmpty())
        return;
    ++polls_;
    form_.ProgressBar1->setText(QStringLiteral("Please wait.. ") + QString::number(polls_));
}

void ConversionRun::stop()
{
    run_.stop();
}

void ConversionRun::finish()
{
    ticker_.stop();
    pendingShow_.stop();
    guard_.step(178, [&] {
        if (holdsPointer_)
            form_.releaseBusyPointer();
        holdsPointer_ = false;
    });
    guard_.step(180, [&] { form_.ProgressBar1->setValue(0); });
    guard_.step(182, [&] { form_.ProgressBar1->setText(kIdleText); });
    form_.setWindowTitle(Form1::DisplayName);
    taskbar_.hide();
    emit ended();
}

} // namespace velunor
