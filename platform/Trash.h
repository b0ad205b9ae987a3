#pragma once

#include "platform/Path.h"

namespace velunor::Trash {

// Moves `path` to the desktop's Trash and returns where it went; empty when
// there is no Trash for it (a file system without one, or a name Qt's Trash
// cannot hold). Nothing is ever lost: a file that did not land in a Trash is
// put back where it was.
Path MoveToTrash(const Path &path);

} // namespace velunor::Trash
