#include "cli/BatchInputs.h"

#include "filelist/AddFolder.h"
#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QDir>

namespace velunor::cli {

namespace {

const QString kPattern = QStringLiteral("*.mp3");
// Folders listed between two looks at `yield`: a few, so that a stop is seen
// soon, and not one, so that a tree of many small folders is not slowed.
constexpr qsizetype kFoldersPerLook = 32;

} // namespace

QString AbsolutePath(const QString &path)
{
    const QString joined = path.startsWith(u'/') ? path : QDir::currentPath() + u'/' + path;
    QStringList parts = joined.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    const QString absolute = u'/' + parts.join(u'/');
    // A trailing separator says "a folder"; it is kept for the search.
    return path.endsWith(u'/') && absolute.size() > 1 ? absolute + u'/' : absolute;
}

QStringList MissingPaths(const QStringList &paths)
{
    QStringList missing;
    for (const QString &path : paths) {
        const QString absolute = AbsolutePath(path);
        if (!Main::FolderExists(absolute) && !AddFolder::IsExistingFile(absolute))
            missing << path;
    }
    return missing;
}

void GatherInputs(const QStringList &paths, FileListModel &list, const Yield &yield)
{
    for (const QString &path : paths) {
        const QString absolute = AbsolutePath(path);
        if (!Main::FolderExists(absolute)) {
            list.add(absolute);
            continue;
        }
        QStringList folders{Main::FolderWithSeparator(absolute)};
        AddFolder::CollectSubfolders(folders, true, yield);
        for (qsizetype first = 0; first < folders.size(); first += kFoldersPerLook) {
            YieldNow(yield);
            AddFolder::AddFilesFromFolders(folders.mid(first, kFoldersPerLook), kPattern, list);
        }
    }
}

} // namespace velunor::cli
