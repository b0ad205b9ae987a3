#pragma once

#include "platform/Path.h"

namespace velunor::platform::Trash {

// Moves `path` to the desktop's Trash and returns where it went; empty when
// there is no Trash for it (a file system without one, or a name Qt's Trash
// cannot hold). Nothing is ever lost: a file that did not land in a Trash is
// put back where it was.
Path MoveToTrash(const Path &path);

// Puts a file that MoveToTrash moved to `trashed` back at `original`, which
// must be free, and removes the Trash's note of it. False when it cannot: the
// file then stays in the Trash, whence the user may restore it.
bool PutBack(const Path &trashed, const Path &original);

} // namespace velunor::platform::Trash
