#include "conversion/Shell32.h"

#include "app/Main.h"
#include "conversion/CommandLine.h"
#include "platform/Platform.h"
#include "platform/ProgressBar.h"

#include <QProcessEnvironment>

namespace velunor::Shell32 {

namespace {

constexpr int kPollMilliseconds = 100;

// The folder part of a program path, as it was written ("/x//sox" gives
// "/x/"); "" when the path names no folder.
QString FolderOf(const QString &programPath)
{
    const qsizetype slash = programPath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : programPath.left(slash);
}

} // namespace

int WindowStyleOf(std::optional<int> requested)
{
    if (!requested || *requested < 0 || *requested > 6)
        return kDefaultWindowStyle;
    return *requested;
}

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

qint32 RunAndWait(Platform &platform, ProgressBar &bar, const CommandLine &commandLine,
                  std::optional<int> windowStyle)
{
    // The converter has no window to show on this desktop; the style is
    // only kept in range.
    [[maybe_unused]] const int style = WindowStyleOf(windowStyle);

    int error = 0;
    const std::unique_ptr<ChildProcess> process =
        platform.startProcess(commandLine.program(), commandLine.arguments(),
                              ConverterEnvironment(FolderOf(commandLine.program())), error);
    if (!process)
        return StartFailureCode(error);

    int polls = 0;
    std::optional<int> exitCode;
    do {
        ++polls;
        bar.setText(QStringLiteral("Please wait.. ") + QString::number(polls));
        exitCode = process->exitCode();
        Main::YieldToEvents();
        if (exitCode)
            break;
        process->waitForEnd(kPollMilliseconds);
        // Looked at again after the wait, so that the end is seen at once
        // instead of one poll later.
        exitCode = process->exitCode();
    } while (!exitCode);

    bar.setText(QStringLiteral("Progress Bar"));
    return *exitCode;
}

} // namespace velunor::Shell32
