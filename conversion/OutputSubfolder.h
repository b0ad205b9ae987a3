#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <functional>
#include <vector>

namespace velunor::conversion {

// The folder `relative` (folder names, each followed by "/") below `folder`,
// made folder by folder where it does not exist yet, as `mkdir -p` makes it.
// A name that a folder's file system refuses as Windows refuses it (asked of
// `refusesWindowsNames` with that folder's real path, only for names that hold
// such characters) is made fit as WindowsSafeStem makes a stem, and `renamed`
// is set. Each folder this call makes is added to `made`, outermost first. A
// failure in words when a folder cannot be made or a file of its name is in
// the way.
Expected<Path> MakeSubfolder(const Path &folder, const Path &relative,
                             const std::function<bool(const Path &folderKey)> &refusesWindowsNames,
                             bool &renamed, std::vector<Path> &made);

// Removes those of `made` (folders made for outputs) that are still empty,
// the deepest first, so that files that failed leave no empty folders behind.
// A folder something went into since, this run's or another's, stays.
void RemoveEmptyMadeFolders(std::vector<Path> made);

} // namespace velunor::conversion
