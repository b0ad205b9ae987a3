#pragma once

#include "filelist/FolderSearch.h"
#include "platform/Path.h"
#include "platform/Result.h"

#include <QList>
#include <QString>

namespace velunor::cli {

// The paths of `paths` that name neither a file nor a folder.
QList<Path> MissingPaths(const QList<Path> &paths);

// The paths a list holds: one a line, or, with `nulSeparated`, separated by
// NUL bytes as `find -print0` writes them. A separator after the last path is
// no empty path. A failure when the list cannot be read or names an empty
// path.
Expected<QList<Path>> ReadPathList(const Path &source, bool nulSeparated);

// A folder that was not searched, and why.
struct UnsearchedFolder {
    Path folder;
    QString reason;
};

// The search of the command line's paths, in their order: a folder gives the
// "*.mp3" files of itself and of every folder below it, linked folders
// included, found as "Add All MP3 File(s) In Folder" finds them, the nearest
// folders first; any other path is taken as it is, made absolute. The output
// folder and everything below it are never searched: its outputs are no
// inputs. A folder given that lies in it is left out and noted in
// `unsearched`, unless `inPlace` allows it: its inputs then leave their
// place to their outputs (they go to the Trash).
filelist::SearchRequest InputSearch(const QList<Path> &paths, const Path &outputFolder,
                                    QList<UnsearchedFolder> &unsearched, bool inPlace = false);

// The folder below `root` (a search entry as SearchResult::foundUnder gives
// it) that holds `file`: folder names, each followed by "/"; empty for a file
// directly in `root`, or when there is no root.
Path FolderBelow(const Path &file, const Path &root);

// The folders a search could not read, each once, with the system's words.
QList<UnsearchedFolder> UnreadFolders(const filelist::SearchResult &result);

} // namespace velunor::cli
