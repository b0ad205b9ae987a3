#pragma once

#include <QObject>
#include <QTimer>

namespace velunor::conversion {

// What Stop sets going, so that a run is over within two seconds whatever
// its converters and workers do: converters that ignore SIGTERM get SIGKILL
// after a second, and whatever is not settled after a second and a half is
// given up on.
class StopSchedule : public QObject {
    Q_OBJECT
public:
    static constexpr int kKillAfterMs = 1000;
    static constexpr int kGiveUpAfterMs = 1500;

    explicit StopSchedule(QObject *parent = nullptr);

    void start();
    // The run ended before the schedule did: nothing more is sent.
    void cancel();

signals:
    void killNow();
    void giveUpNow();

private:
    QTimer kill_;
    QTimer giveUp_;
};

} // namespace velunor::conversion
