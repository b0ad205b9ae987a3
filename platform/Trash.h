#pragma once

#include "platform/Path.h"

namespace velunor::platform::Trash {

// Moves the file at the absolute `path`, whatever bytes its name holds, to
// the desktop's Trash (the home Trash, or on another file system its own
// .Trash/UID or .Trash-UID) and returns where it went; empty when no Trash can
// be had for it, and the file is then where it was.
Path MoveToTrash(const Path &path);

// Puts a file that MoveToTrash moved to `trashed` back at `original`, which
// must be free, and removes the Trash's note of it. False when it cannot: the
// file then stays in the Trash, whence the user may restore it.
bool PutBack(const Path &trashed, const Path &original);

} // namespace velunor::platform::Trash
