#pragma once

#include "platform/Path.h"
#include "platform/Yield.h"

#include <QList>
#include <QString>

namespace velunor {
class FileListModel;
}

namespace velunor::cli {

// The absolute form of a path given on the command line, read against the
// current folder. Only "." parts and doubled separators are dropped; ".." is
// kept, as a link before it decides where it leads.
Path AbsolutePath(const Path &path);

// The paths of `paths` that name neither a file nor a folder.
QList<Path> MissingPaths(const QList<Path> &paths);

// The paths a list holds: one a line, or, with `nulSeparated`, separated by
// NUL bytes as `find -print0` writes them. A separator after the last path is
// no empty path. Empty, with `problem` set, when the list cannot be read or
// names an empty path.
QList<Path> ReadPathList(const Path &source, bool nulSeparated, QString &problem);

// A folder that was not searched, and why.
struct UnsearchedFolder {
    Path folder;
    QString reason;
};

// Fills `list` in the order of `paths`: a folder gives the "*.mp3" files of
// itself and of every folder below it, linked folders included, found as "Add
// All MP3 File(s) In Folder" finds them, the nearest folders first; any other
// path is listed as it is, made absolute. The output folder and everything
// below it are never searched: its outputs are no inputs. `yield` is called
// between folders; it may throw to end the search, leaving what was found so
// far in the list. Returns the folders that could not be searched.
QList<UnsearchedFolder> GatherInputs(const QList<Path> &paths, const Path &outputFolder,
                                     FileListModel &list, const Yield &yield);

} // namespace velunor::cli
