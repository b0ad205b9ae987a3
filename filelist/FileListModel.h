#pragma once

#include "platform/Path.h"

#include <QAbstractListModel>
#include <QStringList>

namespace velunor::filelist {

// Tells one list item from every other for the life of the list, however the
// items move, even when two hold the same path.
using ItemId = quint64;

// The file list itself: one full path per item, in display order, shown as
// Path::text() shows it. Rows are counted from 0; a row outside the list is
// a caller's mistake (the list control's 1-based numbers and their failure
// are the window's, see FileListView).
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setColumnHeader(const QString &text);

    int count() const { return static_cast<int>(paths_.size()); }
    // The path as the list shows it.
    QString text(int row) const;
    const Path &path(int row) const;
    ItemId itemId(int row) const;
    // Swaps two items, each keeping its identity (a reorder).
    void exchange(int first, int second);
    // Appends at the end; repeats are allowed.
    void add(const Path &path);
    // Appends all of `paths` in one insertion, which the view lays out once.
    void add(const QList<Path> &paths);
    void remove(int row);
    void clear();
    const QList<Path> &paths() const { return paths_; }
    // The items' identities, beside paths(); both are shared, not copied,
    // when taken as they are now.
    const QList<ItemId> &itemIds() const { return ids_; }

private:
    QList<Path> paths_;
    QList<ItemId> ids_; // beside paths_, one per item
    ItemId nextId_ = 1;
    QString header_;
};

} // namespace velunor::filelist
