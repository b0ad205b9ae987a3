#pragma once

#include "platform/FileSystem.h" // IsExistingFile
#include "platform/Path.h"

#include <QList>
#include <QString>

#include <atomic>

namespace velunor::filelist {

// Searching folders for files: used by the folder adder, by drag and drop, by
// the sample loader and by the command line. (The folder picker of this
// module is in shell/ui/BrowseForFolder.h.)
//
// A folder list is a list of folder paths that each end in "/"; it keeps its
// order and may hold the same folder twice. The root folder chosen by the
// user appears as "//".
namespace AddFolder {

// A folder a search could not read, and why (the errno value).
struct UnreadFolder {
    Path folder;
    int error = 0;
};

// What a search is told besides its folders. The window's searches drop what
// they cannot read, as they always did; the command line names it.
struct SearchOptions {
    bool recurse = true;
    // Where the search notes each folder it could not read; none: nowhere.
    QList<UnreadFolder> *unread = nullptr;
    // A folder that is never searched, nor anything below it, however it is
    // reached (the command line's output folder, whose outputs are no inputs).
    Path excluded;
    // Raised to end the search early; what was found so far stays.
    const std::atomic<bool> *cancel = nullptr;
    // A link that leads nowhere (its file is gone, or links lead round in a
    // loop) is taken as a file, so that the command line names it rather
    // than passing it over.
    bool brokenLinksToo = false;
};

// Extends `folders` in place, breadth-first and level by level, with every
// qualifying subfolder of its entries; with `recurse` false, with one level
// only. A subfolder qualifies unless it lies on a kernel file system (proc,
// sysfs, devtmpfs, ...) or is a folder the search has met already, by its
// device and inode: a linked folder is searched where the link leads, once,
// and a link that leads back up ends there. "/" always qualifies, and so does
// a folder given, which the user named. Entries given that do not qualify
// stay but are not searched. Subfolders with unsafe names are left out. A
// folder that cannot be opened for any reason (gone, no access, a name too
// long, a device error) is removed and the search goes on, so nothing found
// elsewhere is lost. Blocks for as long as the folders take to read: for a
// worker.
void CollectSubfolders(QList<Path> &folders, const SearchOptions &options);
void CollectSubfolders(QList<Path> &folders, bool recurse);

// True when `name` must not be used as a folder to search: it holds a control
// character (below 32 or from 127 to 159) or "?". Bytes that are not text are
// no reason: every name can be handed on as the bytes it is.
bool HasUnsafeChars(const Path &name);

// The bare names of the files (not folders, hidden files included) in
// `folder` whose names, as shown, match the wildcard `pattern` ("*.mp3",
// "*.*", ...) without regard to case, sorted by name as a file manager shows
// them. Every name passes IsExistingFile. A folder that cannot be listed
// gives no names.
QList<Path> ListMatchingFiles(const Path &folder, const QString &pattern);

// Appends to `items`, folder by folder in list order, the full path of every
// file of each folder of `folders` that matches `pattern`, except names
// beginning with "~" and writable hidden files (a name beginning with "." on an
// ordinary, writable file that is not a link). Links and hidden names are
// looked up again just before they are taken, and doubled separators are
// collapsed into one. A folder whose files cannot be listed is noted in
// `unread` when given. With `brokenLinksToo`, a link that leads nowhere is
// taken too.
void AddFilesFromFolders(const QList<Path> &folders, const QString &pattern, QList<Path> &items,
                         QList<UnreadFolder> *unread = nullptr, bool brokenLinksToo = false);

} // namespace AddFolder
} // namespace velunor::filelist
