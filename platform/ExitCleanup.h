#pragma once

#include "platform/Path.h"

#include <functional>
#include <sys/types.h>

// What must not outlive the program when it ends without its own clean-up:
// Qt's X11 plugin calls exit(1) from inside the event loop when the display
// connection breaks, and nothing of the window's closing runs then. The
// program notes here, as it goes, the converters at work, the unfinished
// outputs and the staging lease; RunNow() ends and removes whatever is noted
// at that moment. The first note installs an atexit hook that calls RunNow().
//
// Every function may be called from any thread.
namespace velunor::platform::ExitCleanup {

// A file to delete. A path noted twice is deleted once and forgotten at the
// first RemoveFile().
void AddFile(const Path &path);
void RemoveFile(const Path &path);

// An action to run, known by the object it belongs to; one per owner (a
// second replaces the first). Actions run after the files are deleted, in
// the order they were added, and may call RemoveAction() themselves.
void AddAction(const void *owner, std::function<void()> action);
void RemoveAction(const void *owner);

// A process group to kill (SIGKILL). The program's own spawning notes every
// process it starts, which leads a group of its own, and forgets it when the
// process is reaped, before its number can be taken by another.
void AddProcessGroup(pid_t group);
void RemoveProcessGroup(pid_t group);

// Kills the noted process groups and waits a moment (at most half a second)
// for their leaders to end, so that none writes a file once it has been
// deleted; then deletes the noted files and runs the noted actions.
// Everything done is forgotten, so a second call does nothing more.
void RunNow();

} // namespace velunor::platform::ExitCleanup
