#include "filelist/FileListModel.h"

#include "platform/PlatformError.h"

namespace velunor {

namespace {

constexpr int kIndexOutOfBounds = 35600;

} // namespace

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

void FileListModel::checkIndex(int index) const
{
    if (index < 1 || index > count())
        throw PlatformError(QStringLiteral("Index out of bounds"), kIndexOutOfBounds);
}

QString FileListModel::text(int index) const
{
    return path(index).text();
}

const Path &FileListModel::path(int index) const
{
    checkIndex(index);
    return paths_.at(index - 1);
}

ItemId FileListModel::itemId(int index) const
{
    checkIndex(index);
    return ids_.at(index - 1);
}

void FileListModel::exchange(int first, int second)
{
    checkIndex(first);
    checkIndex(second);
    paths_.swapItemsAt(first - 1, second - 1);
    ids_.swapItemsAt(first - 1, second - 1);
    for (const int index : {first, second}) {
        const QModelIndex changed = createIndex(index - 1, 0);
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

void FileListModel::remove(int index)
{
    checkIndex(index);
    beginRemoveRows(QModelIndex(), index - 1, index - 1);
    paths_.removeAt(index - 1);
    ids_.removeAt(index - 1);
    endRemoveRows();
}

void FileListModel::clear()
{
    beginResetModel();
    paths_.clear();
    ids_.clear();
    endResetModel();
}

} // namespace velunor
