#include "app/FileListView.h"

#include "platform/PlatformError.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>

namespace velunor::app {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(FileListView)
};

} // namespace

namespace {
constexpr int kIndexOutOfBounds = 35600;
} // namespace

void FileListView::checkIndex(int index) const
{
    if (index < 1 || index > model_.count())
        throw platform::PlatformError(Words::tr("Index out of bounds"), kIndexOutOfBounds);
}

QString FileListView::itemText(int index) const
{
    checkIndex(index);
    return model_.text(index - 1);
}

void FileListView::removeItem(int index)
{
    checkIndex(index);
    model_.remove(index - 1);
}

void FileListView::exchangeItems(int first, int second)
{
    checkIndex(first);
    checkIndex(second);
    model_.exchange(first - 1, second - 1);
}

FileListView::FileListView(QWidget *parent) : QTreeView(parent)
{
    setModel(&model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Every row has the height of the first, so a list of a hundred thousand
    // paths lays out without measuring each one.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The item view's own drag-out never starts: a drag reorders instead.
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
}

int FileListView::selectedIndex() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return 0;
    return current.row() + 1;
}

void FileListView::select(int index)
{
    const QModelIndex row = model_.index(index - 1, 0);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}

int FileListView::hitTest(const QPoint &viewportPoint) const
{
    const QModelIndex row = indexAt(viewportPoint);
    return row.isValid() ? row.row() + 1 : 0;
}

void FileListView::ensureVisible(int index)
{
    scrollTo(model_.index(index - 1, 0));
}

void FileListView::pressAsView(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
}

void FileListView::setMousePointer(PointerKind kind)
{
    mousePointer_ = kind;
    applyPointer();
}

void FileListView::setMouseIcon(std::optional<QCursor> picture)
{
    mouseIcon_ = std::move(picture);
    applyPointer();
}

// The rows are drawn by the viewport, so the pointer belongs there.
void FileListView::applyPointer()
{
    mousePointer_.applyTo(viewport(), mouseIcon_);
}

} // namespace velunor::app
