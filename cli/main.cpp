#include "cli/BatchOptions.h"
#include "cli/BatchProgram.h"
#include "cli/DisplayCheck.h"
#include "platform/ExitCleanup.h"
#include "platform/ProgramFiles.h"

#include <cerrno>
#include <csignal>
#include <malloc.h>
#include <optional>
#include <pthread.h>
#include <string>
#include <unistd.h>

namespace {

// The window program lies beside this executable (found through the
// executable's real path, also when started through the link in bin/); empty
// when that path cannot be read.
std::string WindowProgram()
{
    const QByteArray window = velunor::platform::FileBesideProgram(VELUNOR_WINDOW_PROGRAM).bytes();
    return window.startsWith('/') ? window.toStdString() : std::string();
}

// Ends the program by `signalNumber` as if it had never been caught: a shell
// that runs the program in a loop stops at Ctrl+C as it stops for any other
// program, and one killed by SIGTERM shows 143.
[[noreturn]] void EndBySignal(int signalNumber)
{
    std::signal(signalNumber, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signalNumber);
    ::_exit(128 + signalNumber);
}

} // namespace

// `velunor`: the command line for scripts runs here, with Qt Core alone. For
// the window this process becomes the window program (same process, same
// arguments, signals left ignored stay ignored), so that a script's run
// never loads and links Qt Widgets, Gui and DBus, which cost more than half
// of a short run's start.
int main(int argc, char *argv[])
{
    if (velunor::cli::WantsCommandLine(argc, argv)) {
        // The few workers of a run allocate little: they share the main
        // thread's heap rather than each setting up one of its own.
        ::mallopt(M_ARENA_MAX, 1);
        int stoppedBy = 0;
        const int status = velunor::cli::RunBatchProgram(argc, argv, &stoppedBy);
        // Everything is said, flushed and let go of by now. What exit() would
        // add (the static objects, the workers that wait for work) only makes
        // the end of every call of a script slower.
        velunor::platform::ExitCleanup::RunNow();
        if (stoppedBy != 0)
            EndBySignal(stoppedBy);
        ::_exit(status);
    }
    // A user at a console, or over ssh, is told what to do instead of the
    // window program's abort.
    if (const std::optional<velunor::cli::DisplayProblem> problem =
            velunor::cli::FindDisplayProblem())
        return velunor::cli::TellNoDisplay(argc, argv, *problem);
    const std::string window = WindowProgram();
    if (window.empty()) {
        const int error = errno;
        return velunor::cli::TellWindowNotStarted(argc, argv, QByteArray(), error);
    }
    ::execv(window.c_str(), argv);
    const int error = errno;
    return velunor::cli::TellWindowNotStarted(argc, argv, QByteArray::fromStdString(window), error);
}
