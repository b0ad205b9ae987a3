#pragma once

#include "filelist/AddFolder.h"
#include "platform/BackgroundWork.h"
#include "platform/Result.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace velunor::filelist {

// What a search of folders is asked.
struct SearchRequest {
    // Files and folders, in order: each folder is searched with the folders
    // below it, each file is taken as it is.
    QList<Path> entries;
    // The wildcard pattern the files of the folders must match ("*.mp3").
    QString pattern;
    AddFolder::SearchOptions options;
};

// What a search found.
struct SearchResult {
    // The files, in the order of the entries and, within a folder, as
    // AddFilesFromFolders gives them.
    QList<Path> files;
    // Beside each file, the folder entry it was found in or below, as
    // given, collapsed and ending in "/": the file's path begins with it.
    // Empty for a file given as itself.
    QList<Path> foundUnder;
    // The folders that could not be read, with their errno values.
    QList<AddFolder::UnreadFolder> unread;
    // A failure of the walk through the folders, or of the listing of their
    // files: what was found before it is kept.
    std::optional<Failure> walkFailure;
    std::optional<Failure> listingFailure;
};

// Searches as SearchRequest says; calls `found` now and then with the number
// of files found so far. Blocks for as long as the folders take to read: for
// a worker. Ends early, with what it found, once `cancel` is raised.
SearchResult SearchFolders(const SearchRequest &request, const std::atomic<bool> *cancel,
                           const std::function<void(int found)> &found = {});

// One search on a worker, answering through the event loop, so that a
// search of a whole disk never holds a window or a signal. Destroying the
// object ends the search; nothing is told after that.
class FolderSearch : public QObject {
    Q_OBJECT
public:
    explicit FolderSearch(QObject *parent = nullptr);
    ~FolderSearch() override;

    void start(SearchRequest request);
    void cancel();

signals:
    // The number of files found so far, a few times a second.
    void progressed(int found);
    void finished(const velunor::filelist::SearchResult &result);

private:
    std::shared_ptr<platform::ResultMailbox> mailbox_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace velunor::filelist
