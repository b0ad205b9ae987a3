#pragma once

#include "app/PointerKind.h"
#include "filelist/FileListModel.h"

#include <QCursor>
#include <QTreeView>

#include <functional>
#include <optional>

class QMouseEvent;

namespace velunor::app {

// The list control: a report view with one resizable, captioned column over
// the file list. Item numbers are 1-based; 0 means "no item".
class FileListView : public QTreeView {
    Q_OBJECT
public:
    explicit FileListView(QWidget *parent = nullptr);

    filelist::FileListModel &items() { return model_; }
    const filelist::FileListModel &items() const { return model_; }

    // The list control's items by their numbers, from 1. A number outside
    // 1..count() fails with PlatformError ("Index out of bounds", 35600), so
    // a stale number is reported by the handler that used it.
    QString itemText(int index) const;
    void removeItem(int index);
    void exchangeItems(int first, int second);

    // The selected item's number, or 0.
    int selectedIndex() const;
    // Selects item `index` alone; 0 clears the selection.
    void select(int index);
    // The item at (x, y) in the viewport, or 0.
    int hitTest(const QPoint &viewportPoint) const;
    void ensureVisible(int index);

    // Runs the view's own handling of a button press in the viewport (the
    // selection follows the pressed item) so that the caller can act on the
    // new selection before anything else sees the press.
    void pressAsView(QMouseEvent *event);

    // The list's own pointer kind, apart from the window's: Default, Arrow,
    // or Custom, the picture in mouseIcon() (the arrow when there is none).
    PointerKind mousePointer() const { return mousePointer_; }
    void setMousePointer(PointerKind kind);
    const std::optional<QCursor> &mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(std::optional<QCursor> picture);

private:
    void applyPointer();
    void checkIndex(int index) const;

    filelist::FileListModel model_;
    PointerKind mousePointer_;
    std::optional<QCursor> mouseIcon_;
};

} // namespace velunor::app
