#include "conversion/ui/ConversionRun.h"

#include "app/FileListView.h"
#include "app/Form1.h"
#include "app/ProgressBar.h"
#include "shell/Locations.h"
#include "shell/Main.h"
#include "shell/ui/WindowMain.h"

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

ConversionRun::ConversionRun(Form1 &form, int conversionsAtOnce)
    : form_(form), guard_(form.platform(), &form, Location::PushButton2_Click),
      run_(form.platform(), form.ListView1->items(), *this, guard_, conversionsAtOnce,
           Main::YieldToEvents)
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
    connect(&run_, &ListRun::finished, this, [this] { finish(); });
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::start()
{
    // Step 138: the hourglass for as long as the run works.
    guard_.step(138, [&] {
        form_.holdBusyPointer();
        holdsPointer_ = true;
    });
    ticker_.start();
    run_.start();
}

// Steps 152 to 162: the channel mode selected now; none when no mode is.
std::optional<ChannelMode> ConversionRun::channelMode()
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

Path ConversionRun::outputFolder()
{
    return Path::FromText(form_.Text1->text());
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
    atWork_ = progress.atWork;
    if (!progress.atWork.isEmpty() && progress.atWork != shownFile_) {
        shownFile_ = progress.atWork;
        polls_ = 0;
        guard_.step(144, [&] {
            form_.ProgressBar1->setText(QStringLiteral("Processing: ") +
                                        progress.atWork.fileName().text());
        });
    }
}

void ConversionRun::tick()
{
    showProgress();
    if (atWork_.isEmpty())
        return;
    ++polls_;
    form_.ProgressBar1->setText(QStringLiteral("Please wait.. ") + QString::number(polls_));
}

void ConversionRun::stop()
{
    run_.stop();
}

void ConversionRun::endForExit()
{
    ticker_.stop();
    pendingShow_.stop();
    taskbar_.hide();
    run_.disconnect(this);
    run_.stopForExit();
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
