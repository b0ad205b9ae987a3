#pragma once

#include "platform/Path.h"

#include <QByteArrayList>
#include <QString>

#include <functional>

namespace velunor {

class CommandLine;
class ProcessStarter;

// Running a process and waiting for it.
namespace Shell32 {

// The converter's environment: this program's, without SOX_OPTS (which
// could add options to every command line), and with `stagingFolder` first
// in LD_LIBRARY_PATH so that the staged libraries are the ones loaded.
QByteArrayList ConverterEnvironment(const Path &stagingFolder);

// What RunAndWait returns when the process could not be started.
inline constexpr qint32 StartFailureCode(int error)
{
    return static_cast<qint32>(0x80040000u + static_cast<quint32>(error));
}

// Where RunAndWait shows how the wait goes ("Please wait.. 1", ...).
using StatusText = std::function<void(const QString &)>;

// Starts the command line's program without a shell, in the converter's
// environment (its staging folder is the program's folder), and waits for it
// while the event loop keeps running, so the window answers at once. Shows
// "Please wait.. " and a count through `showStatus` at once and every 100 ms
// while it runs, and "Progress Bar" when it has ended, which is noticed the moment
// it happens. There is no time-out and the process is never stopped. Returns
// its exit code (128 + signal when a signal ended it), or
// StartFailureCode(errno) without showing anything when it could not be
// started.
qint32 RunAndWait(ProcessStarter &starter, const CommandLine &commandLine,
                  const StatusText &showStatus);

} // namespace Shell32
} // namespace velunor
