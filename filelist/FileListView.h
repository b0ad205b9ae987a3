#pragma once

#include "filelist/FileListModel.h"

#include <QTreeView>

namespace velunor {

// The list control: a report view with one resizable, captioned column over
// the file list. Item numbers are 1-based; 0 means "no item".
class FileListView : public QTreeView {
    Q_OBJECT
public:
    explicit FileListView(QWidget *parent = nullptr);

    FileListModel &items() { return model_; }
    const FileListModel &items() const { return model_; }

    // The selected item's number, or 0.
    int selectedIndex() const;
    void select(int index);
    // The item at (x, y) in the viewport, or 0.
    int hitTest(const QPoint &viewportPoint) const;
    void ensureVisible(int index);

private:
    FileListModel model_;
};

} // namespace velunor
