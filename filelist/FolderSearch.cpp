#include "filelist/FolderSearch.h"

#include "platform/PlatformError.h"

#include <QElapsedTimer>

namespace velunor::filelist {

namespace {

// Folders listed between two looks at the cancel flag and the count: a few,
// so that a stop is seen soon, and not one, so that a tree of many small
// folders is not slowed.
constexpr qsizetype kFoldersPerLook = 32;
constexpr qint64 kProgressEveryMs = 100;

Failure Caught()
{
    return Failure::Because(platform::DescribeFailure(std::current_exception()));
}

} // namespace

SearchResult SearchFolders(const SearchRequest &request, const std::atomic<bool> *cancel,
                           const std::function<void(int found)> &found)
{
    SearchResult result;
    AddFolder::SearchOptions options = request.options;
    options.unread = &result.unread;
    options.cancel = cancel;
    QElapsedTimer sinceTold;
    sinceTold.start();
    for (const Path &entry : request.entries) {
        if (cancel && *cancel)
            break;
        if (!platform::Main::FolderExists(entry)) {
            result.files << entry;
            result.foundUnder << Path();
            continue;
        }
        const qsizetype foundBefore = result.files.size();
        QList<Path> folders{entry.withSeparator()};
        try {
            AddFolder::CollectSubfolders(folders, options);
        } catch (...) {
            result.walkFailure = Caught();
        }
        try {
            for (qsizetype first = 0; first < folders.size(); first += kFoldersPerLook) {
                if (cancel && *cancel)
                    break;
                AddFolder::AddFilesFromFolders(folders.mid(first, kFoldersPerLook), request.pattern,
                                               result.files, &result.unread,
                                               options.brokenLinksToo);
                if (found && sinceTold.elapsed() >= kProgressEveryMs) {
                    sinceTold.restart();
                    found(int(result.files.size()));
                }
            }
        } catch (...) {
            result.listingFailure = Caught();
        }
        const Path root = entry.withSeparator().collapsed();
        for (qsizetype i = foundBefore; i < result.files.size(); ++i)
            result.foundUnder << root;
    }
    return result;
}

FolderSearch::FolderSearch(QObject *parent)
    : QObject(parent), mailbox_(std::make_shared<platform::ResultMailbox>(this))
{
}

FolderSearch::~FolderSearch()
{
    cancel();
    mailbox_->close();
}

void FolderSearch::start(SearchRequest request)
{
    platform::RunDetached(
        [request = std::move(request), mailbox = mailbox_, cancel = cancel_, this] {
            const SearchResult result =
                SearchFolders(request, cancel.get(), [&mailbox, this](int found) {
                    mailbox->post([this, found] { emit progressed(found); });
                });
            mailbox->post([this, result] { emit finished(result); });
        });
}

void FolderSearch::cancel()
{
    *cancel_ = true;
}

} // namespace velunor::filelist
