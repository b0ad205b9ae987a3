#include "shell/Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velunor::shell::Main {

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString DesktopPath()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && platform::Main::FolderExists(Path::FromText(desktop)))
        return desktop;
    return QDir::homePath();
}

Path OutputFolderOf(const QString &text)
{
    if (text != QLatin1String("~") && !text.startsWith(QLatin1String("~/")))
        return Path::FromText(text);
    // The home folder's own bytes, whatever their encoding.
    const QByteArray home = qgetenv("HOME");
    if (home.isEmpty())
        return Path::FromText(text);
    return Path::FromBytes(home).withSuffix(Path::FromText(text.mid(1)).bytes());
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

} // namespace velunor::shell::Main
