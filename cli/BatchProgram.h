#pragma once

namespace velunor::cli {

// The whole program when it is asked for no window (see WantsCommandLine):
// --help, --version, or a batch conversion of the files and folders named.
// Makes its own QCoreApplication and touches nothing of the window's, so it
// needs no display. Returns the exit status: 0 when every file was converted,
// 1 when any was not, 2 for a wrong command line, 130 when a signal stopped
// the run.
int RunBatchProgram(int argc, char **argv);

} // namespace velunor::cli
