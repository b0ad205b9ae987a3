#include "shell/Main.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cmath>

namespace velunor::Main {

QString FileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString StripExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString DesktopPath()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && FolderExists(desktop))
        return desktop;
    return QDir::homePath();
}

void YieldToEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int HomePageChance(Platform &platform)
{
    platform.seedRandom(static_cast<quint32>(platform.secondsSinceMidnight()));
    const double drawn = platform.nextRandom();
    const int number = static_cast<int>(std::floor(drawn * 100.0)) + 1;
    if (number == 7)
        platform.openUrl(QUrl(kHomePage));
    return number;
}

QString ApplicationTitleFrom(const QString &displayName)
{
    QString title = displayName;
    bool first = true;
    while (first || title.size() > 40) {
        first = false;
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        if (space < 0)
            break;
        title = title.left(space);
    }
    return title;
}

} // namespace velunor::Main
