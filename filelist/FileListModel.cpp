#include "filelist/FileListModel.h"

namespace velunor::filelist {

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

// Only the path is shown; the list's tool tip stays the control's own hint,
// which tells how to reveal names too long for the column.
QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return paths_.at(index.row()).text();
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header_;
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void FileListModel::setColumnHeader(const QString &text)
{
    header_ = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

QString FileListModel::text(int row) const
{
    return path(row).text();
}

const Path &FileListModel::path(int row) const
{
    return paths_.at(row);
}

ItemId FileListModel::itemId(int row) const
{
    return ids_.at(row);
}

void FileListModel::exchange(int first, int second)
{
    paths_.swapItemsAt(first, second);
    ids_.swapItemsAt(first, second);
    for (const int row : {first, second}) {
        const QModelIndex changed = createIndex(row, 0);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void FileListModel::add(const Path &path)
{
    add(QList<Path>{path});
}

void FileListModel::add(const QList<Path> &paths)
{
    if (paths.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(paths.size()) - 1);
    paths_.append(paths);
    ids_.reserve(paths_.size());
    for (qsizetype i = 0; i < paths.size(); ++i)
        ids_.append(nextId_++);
    endInsertRows();
}

void FileListModel::remove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    paths_.removeAt(row);
    ids_.removeAt(row);
    endRemoveRows();
}

void FileListModel::clear()
{
    beginResetModel();
    paths_.clear();
    ids_.clear();
    endResetModel();
}

} // namespace velunor::filelist
