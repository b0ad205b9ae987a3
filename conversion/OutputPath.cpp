#include "conversion/OutputPath.h"

#include "app/Main.h"

#include <QFile>

#include <sys/stat.h>

namespace velunor {

QString OutputPathFor(const QString &outputFolder, const QString &inputPath)
{
    QString path = outputFolder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + Main::StripExtension(Main::FileNameOf(inputPath)) + QStringLiteral(".mp3");
}

bool IsSameFile(const QString &first, const QString &second)
{
    struct stat one {};
    struct stat other {};
    if (::stat(QFile::encodeName(first).constData(), &one) != 0 ||
        ::stat(QFile::encodeName(second).constData(), &other) != 0)
        return false;
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

} // namespace velunor
