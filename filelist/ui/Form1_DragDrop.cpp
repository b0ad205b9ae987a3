// Files and folders dropped on the list from a file manager. A dropped file is
// listed as it came; a dropped folder is searched, with everything below it,
// for files of any kind.

#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/AddFolder.h"
#include "shell/Main.h"
#include "shell/ui/WindowMain.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace velunor {

namespace {

bool CarriesLocalFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

// The bytes of a dropped file's path, as the URL carries them percent-encoded:
// a name that is not UTF-8 arrives whole, where the URL's text would lose it.
// File managers send folders without a trailing "/", but a URL may carry one;
// the root folder keeps it.
Path DroppedPath(const QUrl &url)
{
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return Path::FromBytes(path);
}

void SearchDroppedFolder(const Path &folder, FileListModel &items)
{
    QList<Path> folders{folder.withSuffix("/")};
    // A drop reports nothing: a search cut short by a failure still adds the
    // files of the folders it has found, and the next dropped path goes on.
    try {
        AddFolder::CollectSubfolders(folders, true, Main::YieldToEvents);
    } catch (const std::exception &) {
    }
    try {
        AddFolder::AddFilesFromFolders(folders, QStringLiteral("*.*"), items);
    } catch (const std::exception &) {
    }
}

} // namespace

bool Form1::routeListViewDrop(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        ListView1_OLEDragOver(static_cast<QDropEvent *>(event));
        return true;
    case QEvent::Drop:
        ListView1_OLEDragDrop(static_cast<QDropEvent *>(event));
        return true;
    default:
        return false;
    }
}

namespace {

// The list keeps only the files' names: a drop copies them (or links to
// them), never moves them, since some sources delete what they moved. A
// source that offers nothing but a move is refused.
bool AcceptWithoutMoving(QDropEvent *event)
{
    const Qt::DropActions offered = event->possibleActions();
    if (offered & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
    } else if (offered & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return false;
    }
    event->accept();
    return true;
}

} // namespace

void Form1::ListView1_OLEDragOver(QDropEvent *event)
{
    if (!CarriesLocalFiles(event->mimeData())) {
        // Refused: the pointer shows that nothing can be dropped here.
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    AcceptWithoutMoving(event);
}

void Form1::ListView1_OLEDragDrop(QDropEvent *event)
{
    if (!CarriesLocalFiles(event->mimeData()) || !AcceptWithoutMoving(event)) {
        event->ignore();
        return;
    }
    // Taken once: the search below lets other events run, and the drag data
    // belongs to the drag source.
    const QList<QUrl> dropped = event->mimeData()->urls();
    FileListModel &items = ListView1->items();
    for (const QUrl &url : dropped) {
        if (!url.isLocalFile())
            continue;
        const Path path = DroppedPath(url);
        // Gone between the drag and the drop: nothing to list.
        if (!Main::PathExists(path))
            continue;
        if (Main::FolderExists(path))
            SearchDroppedFolder(path, items);
        else
            items.add(path);
    }
}

} // namespace velunor
