#include "conversion/ListedFiles.h"

#include "platform/BackgroundWork.h"

#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velunor::conversion {

namespace {
constexpr auto kCancelCheck = std::chrono::milliseconds(50);
} // namespace

// Shared with the thread that looks the files up, which may outlive the
// object that started it.
struct ListedFiles::Index {
    std::mutex mutex;
    std::condition_variable changed;
    bool building = false;
    // The list when the lookup began, and the items added since; the thread
    // takes them in batches.
    QList<filelist::ItemId> snapshotIds;
    QList<Path> snapshotPaths;
    std::vector<std::pair<filelist::ItemId, Path>> pending;
    std::unordered_map<filelist::ItemId, platform::FileIdentity> byItem;
    std::map<platform::FileIdentity, int> counts;
    std::unordered_set<filelist::ItemId> gone; // left the list before they were looked up
    bool working = false;                      // a batch is being looked up
    bool stopped = false;
    // Told, on the object's own thread, each time the lookup has caught up.
    std::shared_ptr<platform::ResultMailbox> mailbox;
    std::function<void()> onComplete;

    bool complete() const
    {
        return stopped || !building || (snapshotIds.isEmpty() && pending.empty() && !working);
    }

    std::optional<bool> contains(const platform::FileIdentity &file,
                                 const std::atomic<bool> *cancel)
    {
        std::unique_lock lock(mutex);
        while (!complete()) {
            if (cancel && *cancel)
                return std::nullopt;
            changed.wait_for(lock, kCancelCheck);
        }
        return counts.count(file) != 0;
    }

    void lookUp()
    {
        std::unique_lock lock(mutex);
        if (!snapshotIds.isEmpty()) {
            pending.reserve(pending.size() + snapshotIds.size());
            for (qsizetype i = 0; i < snapshotIds.size(); ++i)
                pending.emplace_back(snapshotIds[i], snapshotPaths[i]);
            snapshotIds.clear();
            snapshotPaths.clear();
        }
        while (!stopped) {
            if (pending.empty()) {
                changed.notify_all();
                changed.wait(lock, [this] { return stopped || !pending.empty(); });
                continue;
            }
            const std::vector<std::pair<filelist::ItemId, Path>> batch = std::move(pending);
            pending.clear();
            working = true;
            // The batch is looked up without the lock, so that the list can
            // go on changing meanwhile.
            lock.unlock();
            std::vector<std::pair<filelist::ItemId, std::optional<platform::FileIdentity>>> found;
            found.reserve(batch.size());
            for (const auto &[id, path] : batch)
                found.emplace_back(id, platform::FileSystem::IdentityOf(path));
            lock.lock();
            for (const auto &[id, identity] : found) {
                if (gone.erase(id) != 0 || !identity)
                    continue;
                byItem.emplace(id, *identity);
                ++counts[*identity];
            }
            working = false;
            if (complete() && mailbox)
                mailbox->post(onComplete);
        }
    }
};

ListedFiles::ListedFiles(filelist::FileListModel &list, QObject *parent)
    : QObject(parent), list_(list), index_(std::make_shared<Index>())
{
    connect(&list_, &filelist::FileListModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { noteAdded(first, last); });
    connect(&list_, &filelist::FileListModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { noteLeaving(first, last); });
    connect(&list_, &filelist::FileListModel::modelAboutToBeReset, this,
            [this] { noteLeaving(0, list_.count() - 1); });
}

ListedFiles::~ListedFiles()
{
    const std::lock_guard lock(index_->mutex);
    if (index_->mailbox)
        index_->mailbox->close();
    index_->stopped = true;
    index_->changed.notify_all();
}

void ListedFiles::build()
{
    const std::lock_guard lock(index_->mutex);
    if (index_->building)
        return;
    index_->building = true;
    // The list as it is now, shared rather than copied: the thread takes
    // it apart, so that a long list costs the window nothing.
    index_->mailbox = std::make_shared<platform::ResultMailbox>(this);
    index_->onComplete = [this] { emit completed(); };
    index_->snapshotIds = list_.itemIds();
    index_->snapshotPaths = list_.paths();
    platform::RunDetached([index = index_] { index->lookUp(); });
}

void ListedFiles::noteAdded(int first, int last)
{
    const std::lock_guard lock(index_->mutex);
    if (!index_->building)
        return;
    for (int row = first; row <= last; ++row)
        index_->pending.emplace_back(list_.itemId(row), list_.path(row));
    index_->changed.notify_all();
}

void ListedFiles::noteLeaving(int first, int last)
{
    const std::lock_guard lock(index_->mutex);
    if (!index_->building)
        return;
    for (int row = first; row <= last; ++row) {
        const filelist::ItemId id = list_.itemId(row);
        const auto identity = index_->byItem.find(id);
        if (identity == index_->byItem.end()) {
            index_->gone.insert(id);
            continue;
        }
        if (--index_->counts[identity->second] == 0)
            index_->counts.erase(identity->second);
        index_->byItem.erase(identity);
    }
}

std::optional<bool> ListedFiles::contains(const platform::FileIdentity &file,
                                          const std::atomic<bool> *cancel)
{
    return index_->contains(file, cancel);
}

std::function<std::optional<bool>(const platform::FileIdentity &, const std::atomic<bool> *)>
ListedFiles::sharedCheck() const
{
    return [index = index_](const platform::FileIdentity &file, const std::atomic<bool> *cancel) {
        return index->contains(file, cancel);
    };
}

bool ListedFiles::isComplete() const
{
    const std::lock_guard lock(index_->mutex);
    return index_->building && index_->complete();
}

std::optional<bool> ListedFiles::containsNow(const platform::FileIdentity &file)
{
    const std::lock_guard lock(index_->mutex);
    if (!index_->complete())
        return std::nullopt;
    return index_->counts.count(file) != 0;
}

} // namespace velunor::conversion
