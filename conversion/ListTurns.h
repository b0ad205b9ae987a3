#pragma once

#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"

#include <QObject>

#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace velunor {

// Follows the file list through a run while the user goes on changing it:
// which items have had their turn, which left the list before it, and which
// files the list holds now. Items are told apart by identity, not by place,
// so no file is passed over because others moved, and none has two turns.
class ListTurns : public QObject {
    Q_OBJECT
public:
    explicit ListTurns(FileListModel &list, QObject *parent = nullptr);

    // The first item in list order that has not had its turn, as its number
    // in the list now; it has had its turn from then on. None when every
    // item has.
    std::optional<int> takeNext();
    // Items in the list now that have not had their turn.
    int waitingCount() const;
    // True when a file of the list as it is now is `file`. The files are
    // looked up the first time this is asked, which most runs never do, and
    // kept up to date from then on.
    bool isListed(const FileIdentity &file);

    // The paths of the items that were in the list during the run and left
    // it before their turn, in the order they left.
    const QStringList &removedBeforeTurn() const { return removed_; }
    // The paths of the items in the list now that have not had their turn,
    // in list order.
    QStringList waitingPaths() const;

private:
    void noteAdded(int first, int last);
    void noteLeaving(int first, int last);
    void rememberIdentity(ItemId id, const QString &path);

    // The files of the list, by item and counted; looked up only once the
    // question is first asked.
    struct ListedFiles {
        std::unordered_map<ItemId, FileIdentity> byItem;
        std::map<FileIdentity, int> counts;
    };

    FileListModel &list_;
    std::unordered_set<ItemId> hadTurn_;
    int listedWithTurn_ = 0; // items in the list now that have had their turn
    // Every item before this row has had its turn.
    int searchFrom_ = 0;
    QStringList removed_;
    std::optional<ListedFiles> listed_;
};

} // namespace velunor
