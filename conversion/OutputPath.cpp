#include "conversion/OutputPath.h"

#include "app/Main.h"

#include <QFile>

#include <optional>
#include <sys/stat.h>

namespace velunor {

QString OutputPathFor(const QString &outputFolder, const QString &inputPath)
{
    QString path = outputFolder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + Main::StripExtension(Main::FileNameOf(inputPath)) + QStringLiteral(".mp3");
}

namespace {
std::optional<std::pair<dev_t, ino_t>> IdentityOf(const QString &path)
{
    struct stat facts {};
    if (::stat(QFile::encodeName(path).constData(), &facts) != 0)
        return std::nullopt;
    return std::make_pair(facts.st_dev, facts.st_ino);
}
} // namespace

ListedFiles::ListedFiles(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (const auto identity = IdentityOf(path))
            identities_.insert(*identity);
    }
}

bool ListedFiles::contains(const QString &path) const
{
    const auto identity = IdentityOf(path);
    return identity && identities_.count(*identity) > 0;
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
