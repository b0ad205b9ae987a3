#pragma once

#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

namespace velunor::conversion {

// The files the list holds now, by identity, so that a run can ask whether
// an output would replace one of them however it is named. The files are
// looked up on a thread of their own the first time build() is called (a
// list of many thousand files would otherwise hold the window), and kept up
// to date as the list changes. Asked from any thread.
class ListedFiles : public QObject {
    Q_OBJECT
public:
    explicit ListedFiles(filelist::FileListModel &list, QObject *parent = nullptr);
    ~ListedFiles() override;

    // Starts looking the listed files up; only the first call does anything.
    void build();
    // True once every file listed now has been looked up.
    bool isComplete() const;

signals:
    // Every file listed now has been looked up (after build(), and again
    // after files added later).
    void completed();

public:
    // True when a file of the list is `file`; false when none is. Waits
    // while the files are being looked up; none when `cancel` was raised
    // meanwhile.
    std::optional<bool> contains(const platform::FileIdentity &file,
                                 const std::atomic<bool> *cancel);
    // The same without waiting: none while the files are being looked up.
    std::optional<bool> containsNow(const platform::FileIdentity &file);
    // contains() for a worker: it shares the looked-up files, so that it
    // may go on asking after this object is gone (it is then told false).
    std::function<std::optional<bool>(const platform::FileIdentity &, const std::atomic<bool> *)>
    sharedCheck() const;

private:
    struct Index;
    void noteAdded(int first, int last);
    void noteLeaving(int first, int last);

    filelist::FileListModel &list_;
    std::shared_ptr<Index> index_;
};

} // namespace velunor::conversion
