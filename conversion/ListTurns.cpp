#include "conversion/ListTurns.h"

namespace velunor::conversion {

ListTurns::ListTurns(filelist::FileListModel &list, QObject *parent) : QObject(parent), list_(list)
{
    connect(&list_, &filelist::FileListModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int) {
                searchFrom_ = std::min(searchFrom_, first);
            });
    connect(&list_, &filelist::FileListModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { noteLeaving(first, last); });
    connect(&list_, &filelist::FileListModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int) {
                searchFrom_ = std::min(searchFrom_, first);
            });
    connect(&list_, &filelist::FileListModel::modelAboutToBeReset, this,
            [this] { noteLeaving(0, list_.count() - 1); });
    connect(&list_, &filelist::FileListModel::modelReset, this, [this] { searchFrom_ = 0; });
    // A reorder moves items without adding or removing any.
    connect(
        &list_, &filelist::FileListModel::dataChanged, this,
        [this](const QModelIndex &topLeft) { searchFrom_ = std::min(searchFrom_, topLeft.row()); });
}

void ListTurns::noteLeaving(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const filelist::ItemId id = list_.itemId(row);
        if (hadTurn_.count(id) != 0) {
            --listedWithTurn_;
            leftAfterTurn_.insert(id);
        } else {
            removed_.append(list_.path(row));
        }
    }
}

std::optional<int> ListTurns::takeNext()
{
    for (int row = searchFrom_; row < list_.count(); ++row) {
        const filelist::ItemId id = list_.itemId(row);
        if (hadTurn_.insert(id).second) {
            ++listedWithTurn_;
            searchFrom_ = row + 1;
            return row;
        }
    }
    searchFrom_ = list_.count();
    return std::nullopt;
}

int ListTurns::waitingCount() const
{
    return list_.count() - listedWithTurn_;
}

QList<Path> ListTurns::waitingPaths() const
{
    QList<Path> waiting;
    for (int row = 0; row < list_.count(); ++row)
        if (hadTurn_.count(list_.itemId(row)) == 0)
            waiting.append(list_.path(row));
    return waiting;
}

} // namespace velunor::conversion
