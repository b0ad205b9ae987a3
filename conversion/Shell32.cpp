#include "conversion/Shell32.h"

#include "conversion/CommandLine.h"
#include "platform/Processes.h"
#include "shell/Main.h"

#include <QEventLoop>
#include <QProcessEnvironment>
#include <QTimer>

namespace velunor::Shell32 {

namespace {

constexpr int kPollMilliseconds = 100;

} // namespace

QStringList ConverterEnvironment(const QString &stagingFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("SOX_OPTS"));
    // An empty entry in the search path would stand for the current folder.
    if (!stagingFolder.isEmpty()) {
        const QString inherited = environment.value(QStringLiteral("LD_LIBRARY_PATH"));
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"),
                           inherited.isEmpty() ? stagingFolder
                                               : stagingFolder + QLatin1Char(':') + inherited);
    }
    return environment.toStringList();
}

qint32 RunAndWait(ProcessStarter &starter, const CommandLine &commandLine,
                  const StatusText &showStatus)
{
    int error = 0;
    const std::unique_ptr<ChildProcess> process =
        starter.startProcess(commandLine.program(), commandLine.arguments(),
                             ConverterEnvironment(Main::FolderOf(commandLine.program())), error);
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
