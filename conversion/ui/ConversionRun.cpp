#include "conversion/ui/ConversionRun.h"

#include "conversion/ui/RunWindow.h"
#include "shell/Locations.h"
#include "shell/Main.h"

namespace velunor::conversion {

namespace {

constexpr int kPollMilliseconds = 100;
constexpr qint64 kShowEveryMs = 50;
const char *const kIdleText =
    QT_TRANSLATE_NOOP("velunor::conversion::ConversionRun", "Progress Bar");

} // namespace

QString RunState(int percent, std::optional<qint64> secondsLeft)
{
    if (secondsLeft)
        return ConversionRun::tr("%1% \u00b7 %2 left")
            .arg(QString::number(percent), DurationText(*secondsLeft));
    return ConversionRun::tr("%1%").arg(percent);
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

ConversionRun::ConversionRun(RunWindow &window, int conversionsAtOnce)
    : window_(window),
      guard_(window.platform(), window.reportParent(), shell::Location::PushButton2_Click),
      laterGuard_(window.platform(), window.reportParent(), shell::Location::PushButton2_Click,
                  shell::StepGuard::Reports::Later),
      run_(window.platform(), window.listedFiles(), *this, conversionsAtOnce)
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
        window_.holdBusyPointer();
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
    laterGuard_.step(148, [&] {
        chosen.outputFolder = shell::Main::OutputFolderOf(window_.outputFolderText());
    });
    if (laterGuard_.test(152, [&] { return window_.isModeSelected(ChannelMode::Mix); }))
        laterGuard_.step(154, [&] { chosen.mode = ChannelMode::Mix; });
    else if (laterGuard_.test(156, [&] { return window_.isModeSelected(ChannelMode::LeftOnly); }))
        laterGuard_.step(158, [&] { chosen.mode = ChannelMode::LeftOnly; });
    else if (laterGuard_.test(160, [&] { return window_.isModeSelected(ChannelMode::RightOnly); }))
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
        guard_.step(142, [&] { window_.showPercent(percent); });
    }
    window_.showRunState(RunState(percent, progress.secondsLeft));
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
        window_.showBarText(tr(kIdleText));
        return;
    }
    guard_.step(144,
                [&] { window_.showBarText(tr("Processing: %1").arg(atWork.fileName().text())); });
}

void ConversionRun::tick()
{
    showProgress();
    if (shownFile_.isEmpty())
        return;
    ++polls_;
    window_.showBarText(tr("Please wait.. %1").arg(polls_));
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
            window_.releaseBusyPointer();
        holdsPointer_ = false;
    });
    guard_.step(180, [&] { window_.showPercent(0); });
    guard_.step(182, [&] { window_.showBarText(tr(kIdleText)); });
    window_.showRunState(QString());
    taskbar_.hide();
    emit ended();
}

} // namespace velunor::conversion
