#include "conversion/Shell32.h"

#include "conversion/CommandLine.h"
#include "platform/Processes.h"
#include "shell/Main.h"

#include <QEventLoop>
#include <QTimer>
#include <unistd.h>

namespace velunor::Shell32 {

namespace {

constexpr int kPollMilliseconds = 100;

} // namespace

QByteArrayList ConverterEnvironment(const Path &stagingFolder)
{
    // Taken as the bytes they are: a folder in LD_LIBRARY_PATH need not be
    // UTF-8 any more than a file's name.
    QByteArrayList environment;
    QByteArray inherited;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const QByteArray variable(*entry);
        if (variable.startsWith("SOX_OPTS="))
            continue;
        if (variable.startsWith("LD_LIBRARY_PATH=")) {
            inherited = variable.mid(int(sizeof("LD_LIBRARY_PATH=")) - 1);
            continue;
        }
        environment << variable;
    }
    // An empty entry in the search path would stand for the current folder.
    QByteArray searchPath = stagingFolder.bytes();
    if (!inherited.isEmpty())
        searchPath = searchPath.isEmpty() ? inherited : searchPath + ':' + inherited;
    if (!searchPath.isEmpty())
        environment << "LD_LIBRARY_PATH=" + searchPath;
    return environment;
}

qint32 RunAndWait(ProcessStarter &starter, const CommandLine &commandLine,
                  const StatusText &showStatus)
{
    int error = 0;
    const std::unique_ptr<ChildProcess> process =
        starter.startProcess(commandLine.program(), commandLine.arguments(),
                             ConverterEnvironment(commandLine.program().folder()), error);
    if (!process)
        return StartFailureCode(error);

    int polls = 0;
    auto poll = [&] {
        ++polls;
        showStatus(QStringLiteral("Please wait.. ") + QString::number(polls));
    };
    poll();
    if (!process->end()) {
        QEventLoop wait;
        QTimer ticks;
        ticks.setInterval(kPollMilliseconds);
        QObject::connect(&ticks, &QTimer::timeout, &wait, [&] {
            // A tick may come after the end and before its notice: it counts
            // nothing.
            if (process->end())
                wait.quit();
            else
                poll();
        });
        QObject::connect(process.get(), &ChildProcess::ended, &wait, &QEventLoop::quit);
        ticks.start();
        // Checked once more now that the loop is armed: an end before the
        // connection would otherwise never be seen.
        if (!process->end())
            wait.exec();
    }
    showStatus(QStringLiteral("Progress Bar"));
    return process->end()->code();
}

} // namespace velunor::Shell32
