#pragma once

#include <QByteArray>

namespace velunor::cli {

// The whole program when it is asked for no window (see WantsCommandLine):
// --help, --version, or a batch conversion of the files and folders named.
// Makes its own QCoreApplication and touches nothing of the window's, so it
// needs no display. Returns the exit status: 0 when every file was converted,
// 1 when any was not, 2 for a wrong command line, 130 when a signal stopped
// the run; `stoppedBy`, when given, then holds that signal's number (else 0),
// for the program to end by it once it has let go of everything.
int RunBatchProgram(int argc, char **argv, int *stoppedBy = nullptr);

// Tells on standard error, in the user's language, that the window program
// `window` (empty: whose path could not be found) could not be started for
// the system's `error`, and returns the exit status for it.
int TellWindowNotStarted(int argc, char **argv, const QByteArray &window, int error);

} // namespace velunor::cli
