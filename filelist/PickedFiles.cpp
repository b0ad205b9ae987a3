#include "filelist/PickedFiles.h"

#include "platform/FileSystem.h"

#include <dirent.h>

namespace velunor::filelist {

QList<Path> PickedFilePaths(const QString &dialogResult)
{
    if (dialogResult.isEmpty())
        return {};
    const QStringList pieces = dialogResult.split(QChar(u'\0'));
    if (pieces.size() == 1)
        return {RecoveredPath(pieces.front())};

    const QString &folder = pieces.front();
    QList<Path> paths;
    paths.reserve(pieces.size() - 1);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (pieces[i].isEmpty())
            continue;
        paths << RecoveredPath(folder + QLatin1Char('/') + pieces[i]).collapsed();
    }
    return paths;
}

Path RecoveredPath(const QString &text)
{
    const Path path = Path::FromText(text);
    if (!text.contains(QChar::ReplacementCharacter) || platform::FileSystem::HasEntry(path))
        return path;
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    const QString name = text.mid(slash + 1);
    // The folder part may have lost bytes too.
    const Path folder = slash <= 0 ? Path::FromBytes("/") : RecoveredPath(text.left(slash));
    DIR *listing = ::opendir(folder.c_str());
    if (!listing)
        return path;
    Path found;
    int matches = 0;
    while (const dirent *entry = ::readdir(listing)) {
        if (QString::fromUtf8(entry->d_name) == name) {
            found = folder.child(entry->d_name);
            ++matches;
        }
    }
    ::closedir(listing);
    return matches == 1 ? found : path;
}

} // namespace velunor::filelist
