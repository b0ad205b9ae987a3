#pragma once

// Processes as /proc tells of them, for the tests of starting and ending
// processes.

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

#include <sys/types.h>

namespace velunor::testing {

// The value of a line of /proc/<pid>/status ("SigBlk"), trimmed; "" when
// the process or the line is missing.
inline QByteArray StatusField(pid_t pid, const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed();
    return {};
}

// True while the process runs: it exists, has not ended (a zombie has) and
// no SIGKILL is on its way to it. Without the last the answer could still
// be true for a moment after the kernel has sent the signal.
inline bool IsAlive(pid_t pid)
{
    const QByteArray state = StatusField(pid, "State");
    if (state.isEmpty() || state.startsWith('Z') || state.startsWith('X'))
        return false;
    const quint64 killBit = quint64(1) << (9 - 1);
    for (const QByteArray name : {"SigPnd", "ShdPnd"})
        if (StatusField(pid, name).toULongLong(nullptr, 16) & killBit)
            return false;
    return true;
}

// The processes whose parent is `parent` and whose command line is `words`
// (the first as the process has it: a program started by this program's
// spawning is named by its file name alone).
inline QList<pid_t> ChildrenRunning(pid_t parent, const QStringList &words)
{
    QByteArray commandLine;
    for (const QString &word : words)
        commandLine += QFile::encodeName(word) + '\0';
    QList<pid_t> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (!number || StatusField(pid, "PPid").toInt() != parent)
            continue;
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (command.open(QIODevice::ReadOnly) && command.readAll() == commandLine && IsAlive(pid))
            found.append(pid);
    }
    return found;
}

} // namespace velunor::testing
