#pragma once

#include "platform/FileSystem.h" // IsExistingFile
#include "platform/Yield.h"

#include <QString>
#include <QStringList>

namespace velunor {

class FileListModel;

// Searching folders for files: used by the folder adder, by drag and drop and
// by the sample loader. (The folder picker of this module is in
// shell/ui/BrowseForFolder.h.)
//
// A folder list is a QStringList of folder paths that each end in "/"; it
// keeps its order and may hold the same folder twice. The root folder chosen
// by the user appears as "//".
namespace AddFolder {

// Extends `folders` in place, breadth-first and level by level, with every
// qualifying subfolder of its entries; with `recurse` false, with one level
// only. A folder qualifies unless it is a symbolic link or lies on a kernel
// file system (proc, sysfs, devtmpfs, ...); "/" always qualifies, and so does a
// link among the folders given, which the user named. Entries given that do
// not qualify stay but are not searched. Subfolders with unsafe names are left
// out. A folder that cannot be opened for any reason (gone, no access, a name
// too long, a device error) is removed and the search goes on, so nothing
// found elsewhere is lost. Calls `yield` once per folder looked up and once
// per subfolder listed.
void CollectSubfolders(QStringList &folders, bool recurse, const Yield &yield);

// True when `name` must not be used as a folder to search: it holds a control
// character (below 32 or from 127 to 159) or "?", or the file system could not
// be given it back unchanged.
bool HasUnsafeChars(const QString &name);

// The bare names of the files (not folders, hidden files included) in
// `folder` whose names match the wildcard `pattern` ("*.mp3", "*.*", ...)
// without regard to case, sorted by name as a file manager shows them. Every
// name passes IsExistingFile. A folder that cannot be listed gives no names.
QStringList ListMatchingFiles(const QString &folder, const QString &pattern);

// Appends to `items`, folder by folder in list order, the full path of every
// file of each folder of `folders` that matches `pattern`, except names
// beginning with "~" and writable hidden files (a name beginning with "." on an
// ordinary, writable file that is not a link). Links and hidden names are
// looked up again just before they are taken, and doubled separators are
// collapsed into one.
void AddFilesFromFolders(const QStringList &folders, const QString &pattern, FileListModel &items);

} // namespace AddFolder
} // namespace velunor
