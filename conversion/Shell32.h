#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velunor {

class CommandLine;
class Platform;
class ProgressBar;

// Running a process and waiting for it.
namespace Shell32 {

// Window styles as a process start understands them (0 hidden ... 6
// minimised without focus). They do not change anything on this desktop,
// where the converter never has a window, but out-of-range values still
// become 6.
inline constexpr int kDefaultWindowStyle = 6;
int WindowStyleOf(std::optional<int> requested);

// The converter's environment: this program's, without SOX_OPTS (which
// could add options to every command line), and with `stagingFolder` first
// in LD_LIBRARY_PATH so that the staged libraries are the ones loaded.
QStringList ConverterEnvironment(const QString &stagingFolder);

// What RunAndWait returns when the process could not be started.
inline constexpr qint32 StartFailureCode(int error)
{
    return static_cast<qint32>(0x80040000u + static_cast<quint32>(error));
}

// Starts the command line's program without a shell, in the converter's
// environment (its staging folder is the program's folder), and waits for
// it while the window stays responsive: every poll shows "Please wait.. "
// and a rising count on `bar`, lets the window handle its events once and
// waits up to 100 ms, less when the process ends sooner. There is no
// time-out and the process is never stopped. Returns its exit code (128 +
// signal when a signal ended it), or StartFailureCode(errno) without
// touching the bar when it could not be started.
qint32 RunAndWait(Platform &platform, ProgressBar &bar, const CommandLine &commandLine,
                  std::optional<int> windowStyle = std::nullopt);

} // namespace Shell32
} // namespace velunor
