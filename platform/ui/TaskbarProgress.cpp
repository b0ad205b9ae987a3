#include "platform/ui/TaskbarProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace velunor::platform {

namespace {

const QString kDesktopEntryUri = QStringLiteral("application://org.velunor.Velunor.desktop");
const QString kObjectPath = QStringLiteral("/org/velunor/Velunor/LauncherEntry");
const QString kInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
constexpr int kDefaultGapMs = 250;

} // namespace

TaskbarProgress::TaskbarProgress() : TaskbarProgress(QDBusConnection::sessionBus(), kDefaultGapMs)
{
}

TaskbarProgress::TaskbarProgress(const QDBusConnection &bus, int minimumGapMs)
    : bus_(std::make_unique<QDBusConnection>(bus))
{
    gap_.setSingleShot(true);
    gap_.setInterval(minimumGapMs);
    QObject::connect(&gap_, &QTimer::timeout, &gap_, [this] {
        if (sent_ != wanted_)
            sendWanted();
    });
}

TaskbarProgress::~TaskbarProgress()
{
    hide();
}

void TaskbarProgress::show(double fraction, int filesLeft)
{
    if (!bus_->isConnected())
        return;
    // Whole percent, as the window's own bar: a dock's bar is no finer, and
    // a finer value would only send more. The nudge keeps a share stored a
    // hair below its percent (0.57 times 100 is 56.99...) on that percent.
    const double done = std::clamp(std::isfinite(fraction) ? fraction : 0.0, 0.0, 1.0);
    const int percent = static_cast<int>(std::floor(done * 100.0 + 1e-6));
    wanted_ = Shown{percent, std::max(filesLeft, 0), true};
    // Within the gap the latest value waits for its end.
    if (sent_ != wanted_ && !gap_.isActive())
        sendWanted();
}

void TaskbarProgress::hide()
{
    wanted_ = Shown{};
    gap_.stop();
    // Nothing to take off an entry that shows nothing.
    if (!bus_->isConnected() || !sent_ || !sent_->visible)
        return;
    sendWanted();
}

void TaskbarProgress::sendWanted()
{
    QDBusMessage update =
        QDBusMessage::createSignal(kObjectPath, kInterface, QStringLiteral("Update"));
    const QVariantMap properties{
        {QStringLiteral("progress"), wanted_.percent / 100.0},
        {QStringLiteral("progress-visible"), wanted_.visible},
        {QStringLiteral("count"), QVariant::fromValue<qint64>(wanted_.filesLeft)},
        // No files left is no news: the badge goes before the bar.
        {QStringLiteral("count-visible"), wanted_.visible && wanted_.filesLeft > 0},
    };
    update << kDesktopEntryUri << properties;
    // A signal wants no answer: the bus takes it, and the window goes on.
    bus_->send(update);
    sent_ = wanted_;
    if (wanted_.visible)
        gap_.start();
}

} // namespace velunor::platform
