#include "conversion/StopSchedule.h"

namespace velunor::conversion {

StopSchedule::StopSchedule(QObject *parent) : QObject(parent)
{
    kill_.setSingleShot(true);
    giveUp_.setSingleShot(true);
    connect(&kill_, &QTimer::timeout, this, &StopSchedule::killNow);
    connect(&giveUp_, &QTimer::timeout, this, &StopSchedule::giveUpNow);
}

void StopSchedule::start()
{
    kill_.start(kKillAfterMs);
    giveUp_.start(kGiveUpAfterMs);
}

void StopSchedule::cancel()
{
    kill_.stop();
    giveUp_.stop();
}

} // namespace velunor::conversion
