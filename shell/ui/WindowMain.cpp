#include "shell/ui/WindowMain.h"

#include "platform/ui/Platform.h"

#include <QCoreApplication>
#include <QUrl>

#include <cmath>

namespace velunor::shell::Main {

int HomePageChance(platform::Platform &platform)
{
    platform.seedRandom(static_cast<quint32>(platform.secondsSinceMidnight()));
    const double drawn = platform.nextRandom();
    const int number = static_cast<int>(std::floor(drawn * 100.0)) + 1;
    if (number == 7)
        platform.openUrl(QUrl(kHomePage));
    return number;
}

} // namespace velunor::shell::Main
