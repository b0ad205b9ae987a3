// Files and folders dropped on the list from a file manager. A dropped file is
// listed as it came; a dropped folder is searched, with everything below it,
// for files of any kind.

#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/FolderSearch.h"
#include "shell/Main.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace velunor::app {

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
    // Taken now: the drag data belongs to the drag source. Dropped folders
    // are searched, with everything below them, for files of any kind on a
    // worker; the files join the list in the order they were dropped once the
    // search is done. A drop reports nothing: a search cut short by a failure
    // still adds the files it has found.
    filelist::SearchRequest request;
    request.pattern = QStringLiteral("*.*");
    for (const QUrl &url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const Path path = DroppedPath(url);
        // Gone between the drag and the drop: nothing to list.
        if (platform::Main::PathExists(path))
            request.entries << (platform::Main::FolderExists(path) ? path.withSuffix("/") : path);
    }
    if (request.entries.isEmpty())
        return;
    // Drops join the list in the order they came, however long each search.
    auto *search = new filelist::FolderSearch(this);
    dropSearches_.append(search);
    connect(search, &filelist::FolderSearch::finished, this,
            [this, search](const filelist::SearchResult &result) {
                droppedFiles_.insert(search, result.files);
                while (!dropSearches_.isEmpty() && droppedFiles_.contains(dropSearches_.front())) {
                    filelist::FolderSearch *first = dropSearches_.takeFirst();
                    ListView1->items().add(droppedFiles_.take(first));
                    first->deleteLater();
                }
            });
    search->start(request);
}

} // namespace velunor::app
