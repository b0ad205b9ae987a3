#include "app/Form1.h"

#include "app/FileListView.h"
#include "shell/Locations.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace velunor::app {

namespace {

// While a reorder exchanges two texts, a pointer above this screen height
// brings the row before the target into view, one at or below the second the
// row after it. The heights are absolute screen pixels, wherever the window is.
constexpr int kScrollUpAboveScreenY = 305;
constexpr int kScrollDownFromScreenY = 365;

// The drag picture beside the program, read on every item click so that a
// replaced picture shows at once. None when it is missing or unreadable; the
// list then shows the arrow, as the picture is only the pointer's look.
std::optional<QCursor> LoadDragPicture(const QString &path)
{
    QImage picture;
    if (!picture.load(path))
        return std::nullopt;
    return QCursor(QPixmap::fromImage(picture)); // hot spot in the middle, as for any icon
}

} // namespace

// Removal by the Delete key and by double-click. Never while the window is
// busy (a run or a folder search is reading the list), and only when an item
// is selected. Nothing is selected afterwards, so a second press cannot take
// an item the user did not pick.
void Form1::removeSelectedItem()
{
    if (mousePointer_.isBusy())
        return;
    FileListView &list = *ListView1;
    if (list.items().count() == 0)
        return;
    const int selected = list.selectedIndex();
    if (selected == 0)
        return;
    list.removeItem(selected);
    list.clearSelection();
}

void Form1::ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    if (keyCode == Qt::Key_Delete)
        removeSelectedItem();
}

void Form1::ListView1_DblClick()
{
    removeSelectedItem();
}

void Form1::ListView1_ItemClick()
{
    ListView1->setMouseIcon(LoadDragPicture(programFolder() + QStringLiteral("/drag.ico")));
    ListView1->setMousePointer(PointerKind::Custom);
    // Moving over the items with the button held reorders them; it never
    // carries them out of the list.
    ListView1->setDragEnabled(false);
    const int selected = ListView1->selectedIndex();
    DraggedItem = selected ? QPersistentModelIndex(ListView1->items().index(selected - 1, 0))
                           : QPersistentModelIndex();
}

void Form1::ListView1_MouseDown()
{
    DragActive = true;
}

void Form1::ListView1_MouseMove(int x, int y)
{
    if (!MousePointer().isBusy())
        setMousePointer(PointerKind::Default);
    if (!DragActive)
        return;

    filelist::FileListModel &items = ListView1->items();
    const int target = ListView1->hitTest(QPoint(x, y));
    // An item removed since it was clicked takes part in no exchange.
    if (target == 0 || !DraggedItem.isValid())
        return;
    const int dragged = DraggedItem.row() + 1;
    if (ListView1->itemText(target) == ListView1->itemText(dragged))
        return;

    ListView1->exchangeItems(dragged, target);
    ListView1->select(target);
    DraggedItem = items.index(target - 1, 0);

    const int screenY = platform().pointerPosition().y();
    if (screenY < kScrollUpAboveScreenY && target > 1)
        ListView1->ensureVisible(target - 1);
    else if (screenY >= kScrollDownFromScreenY && target + 1 <= items.count())
        ListView1->ensureVisible(target + 1);
}

void Form1::ListView1_MouseUp()
{
    DragActive = false;
    ListView1->setMousePointer(PointerKind::Arrow);
}

void Form1::PushButton4_Click()
{
    shell::StepGuard guard(platform(), this, shell::Location::PushButton4_Click);
    guard.step(100, [this] { ListView1->items().clear(); });
}

// Keys arrive at the list itself, the mouse at its viewport (the rows). The
// view's own handling runs where the list's rules leave room for it.
bool Form1::routeListViewEvent(QObject *watched, QEvent *event)
{
    const bool onRows = watched == ListView1->viewport();
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (watched != ListView1)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        ListView1_KeyDown(key->key(), key->modifiers());
        return key->key() == Qt::Key_Delete;
    }
    case QEvent::MouseButtonPress: {
        if (!onRows)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        // The press selects first, so that the item click names the pressed
        // item and one press-and-drag gesture reorders.
        ListView1->pressAsView(mouse);
        if (ListView1->hitTest(mouse->position().toPoint()) != 0)
            ListView1_ItemClick();
        ListView1_MouseDown();
        return true;
    }
    case QEvent::MouseButtonDblClick:
        // The second press of a double-click is the double-click alone.
        if (!onRows)
            return false;
        ListView1_DblClick();
        return true;
    case QEvent::MouseMove: {
        if (!onRows)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // No button is held, yet the drag is on: its release went elsewhere
        // (a message box that opened meanwhile took it). End the drag, so
        // that merely passing over the rows never reorders them.
        if (DragActive && mouse->buttons() == Qt::NoButton)
            ListView1_MouseUp();
        const QPoint at = mouse->position().toPoint();
        ListView1_MouseMove(at.x(), at.y());
        // With a button held the move belongs to the reorder: the view must
        // neither drag the selection along nor start a drag of its own.
        return mouse->buttons() != Qt::NoButton;
    }
    case QEvent::MouseButtonRelease:
        if (onRows)
            ListView1_MouseUp();
        return false;
    default:
        return false;
    }
}

} // namespace velunor::app
