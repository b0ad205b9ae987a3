#include "filelist/PickedFiles.h"

namespace velunor {

namespace {

QString CollapseDoubledSeparators(QString path)
{
    // One pass of replace() turns "///" into "//"; repeat until none is left.
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    return path;
}

} // namespace

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
        paths << CollapseDoubledSeparators(folder + QLatin1Char('/') + pieces[i]);
    }
    return paths;
}

} // namespace velunor
