#pragma once

#include "platform/Yield.h"

#include <QString>
#include <QStringList>

namespace velunor {
class FileListModel;
}

namespace velunor::cli {

// The absolute form of a path given on the command line, read against the
// current folder. Only "." parts and doubled separators are dropped; ".." is
// kept, as a link before it decides where it leads.
QString AbsolutePath(const QString &path);

// The paths of `paths` that name neither a file nor a folder.
QStringList MissingPaths(const QStringList &paths);

// Fills `list` in the order of `paths`: a folder gives the "*.mp3" files of
// itself and of every folder below it, found as "Add All MP3 File(s) In
// Folder" finds them, the nearest folders first; any other path is listed as
// it is, made absolute. `yield` is called between folders; it may throw to
// end the search, leaving what was found so far in the list.
void GatherInputs(const QStringList &paths, FileListModel &list, const Yield &yield);

} // namespace velunor::cli
