#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

namespace velunor::platform {

// How a process ended: its exit status, or the signal that ended it.
struct ProcessEnd {
    int exitStatus = 0;
    int signal = 0; // 0 when the process exited by itself

    // One number for both, as a shell gives it: 128 + the signal.
    int code() const { return signal != 0 ? 128 + signal : exitStatus; }
    bool succeeded() const { return signal == 0 && exitStatus == 0; }
};

// A started process, watched through the event loop. Destroying the object
// never stops the process; one that has ended is reaped. Whatever happens,
// the process never outlives this program (see SpawnProcess).
class ChildProcess : public QObject {
    Q_OBJECT
public:
    // How it ended, once it has; looks without waiting.
    virtual std::optional<ProcessEnd> end() = 0;
    // Blocks for at most `milliseconds`, returning early once the process
    // has ended. For the few places that must not return to the event loop
    // (the program's own exit).
    virtual void waitForEnd(int milliseconds) = 0;
    // Sends `signal` (SIGTERM, SIGKILL) while the process has not been reaped.
    virtual void sendSignal(int signal) = 0;
    // The last few kilobytes the process wrote to its standard error. It is
    // read as it comes, so a chatty process never blocks on a full pipe.
    virtual QByteArray errorOutput() const = 0;

signals:
    // Emitted once, from the event loop, when the process has ended and its
    // error output has been read to the end. A receiver that wants to delete
    // the process does so with deleteLater().
    void ended();
};

// Starts processes. The desktop interface (Platform) is one; tests put fake
// processes in its place where timing matters.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts `program` with `arguments` (no shell) and the complete
    // environment `environment` ("NAME=value" entries), its standard input
    // and output on /dev/null and its standard error read by the returned
    // object. A failure carries the errno value.
    virtual Expected<std::unique_ptr<ChildProcess>>
    startProcess(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment) = 0;
};

// The real start, from any thread: the process leads a session of its own,
// holds no descriptor of this program's but its standard input, output and
// error, starts with every signal at its default and none blocked, and is
// watched through a pidfd. It is killed (SIGKILL) the moment this program
// ends, however it ends, even by SIGKILL; its process group is also noted
// for ExitCleanup until it is reaped.
Expected<std::unique_ptr<ChildProcess>> SpawnProcess(const Path &program,
                                                     const QByteArrayList &arguments,
                                                     const QByteArrayList &environment);

// Runs `program` with `arguments` (no shell) in `environment`, started as
// SpawnProcess starts it, and returns what it wrote to its standard output
// when it ended by itself with status 0 within `timeoutMs`; otherwise none.
// When the time is up, or as soon as `*cancel` turns true, its process group
// is killed, and its end is waited for a moment at most. Blocks: for worker
// threads, never for the window's.
std::optional<QByteArray> RunForOutput(const Path &program, const QByteArrayList &arguments,
                                       const QByteArrayList &environment, int timeoutMs,
                                       const std::atomic<bool> *cancel = nullptr);

// The last line of a process's error output that holds anything but spaces,
// shown as paths are shown (see Path::text()), trimmed and cut to at most `maxChars` characters; ""
// when none.
QString LastErrorLine(const QByteArray &errorOutput, int maxChars = 300);

} // namespace velunor::platform
