#pragma once

#include "filelist/FileListModel.h"

#include <QObject>

#include <optional>
#include <unordered_set>

namespace velunor::conversion {

// Follows the file list through a run while the user goes on changing it:
// which items have had their turn, which left the list before it or after
// it. Items are told apart by identity, not by place, so no file is passed
// over because others moved, and none has two turns.
class ListTurns : public QObject {
    Q_OBJECT
public:
    explicit ListTurns(filelist::FileListModel &list, QObject *parent = nullptr);

    // The first item in list order that has not had its turn, as its row
    // in the list now; it has had its turn from then on. None when every
    // item has.
    std::optional<int> takeNext();
    // Items in the list now that have not had their turn.
    int waitingCount() const;
    // False once the item, which has had its turn, has left the list.
    bool isStillListed(filelist::ItemId item) const { return leftAfterTurn_.count(item) == 0; }

    // The paths of the items that were in the list during the run and left
    // it before their turn, in the order they left.
    const QList<Path> &removedBeforeTurn() const { return removed_; }
    // The paths of the items in the list now that have not had their turn,
    // in list order.
    QList<Path> waitingPaths() const;

private:
    void noteLeaving(int first, int last);

    filelist::FileListModel &list_;
    std::unordered_set<filelist::ItemId> hadTurn_;
    std::unordered_set<filelist::ItemId> leftAfterTurn_;
    int listedWithTurn_ = 0; // items in the list now that have had their turn
    // Every item before this row has had its turn.
    int searchFrom_ = 0;
    QList<Path> removed_;
};

} // namespace velunor::conversion
