#include "filelist/PickedFiles.h"

#include "platform/FileSystem.h"

namespace velunor {

QStringList PickedFilePaths(const QString &dialogResult)
{
    if (dialogResult.isEmpty())
        return {};
    const QStringList pieces = dialogResult.split(QChar(u'\0'));
    if (pieces.size() == 1)
        return pieces;

    const QString &folder = pieces.front();
    QStringList paths;
    paths.reserve(pieces.size() - 1);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (pieces[i].isEmpty())
            continue;
        paths << FileSystem::CollapseSeparators(folder + QLatin1Char('/') + pieces[i]);
    }
    return paths;
}

} // namespace velunor
