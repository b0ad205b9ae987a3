#include "cli/BatchProgram.h"

#include "cli/BatchInputs.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRun.h"
#include "cli/Console.h"
#include "cli/StoredDefaults.h"
#include "conversion/ConversionJob.h"
#include "filelist/FileListModel.h"
#include "platform/SignalWatcher.h"
#include "shell/Main.h"
#include "shell/SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <csignal>
#include <unistd.h>

namespace velunor::cli {

namespace {

constexpr int kUsageStatus = 2;

// Thrown out of the folder search when a signal asks the program to end.
struct SearchInterrupted {};

int UsageError(Console &console, const QString &reason)
{
    console.printError(QStringLiteral("velunor: ") + reason);
    console.printError(QStringLiteral("Try 'velunor --help' for more information."));
    return kUsageStatus;
}

QString Quoted(const QString &path)
{
    return u'"' + path + u'"';
}

// Why the output folder cannot take the run's files, or "".
QString OutputFolderProblem(const QString &given, const QString &absolute)
{
    if (given.isEmpty())
        return QStringLiteral("no output folder is stored and none was given: give --output "
                              "FOLDER");
    if (!Main::FolderExists(absolute))
        return QStringLiteral("the output folder %1 does not exist").arg(Quoted(given));
    if (::access(QFile::encodeName(absolute).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("the output folder %1 cannot be written").arg(Quoted(given));
    return QString();
}

// The run's choices from the options, and where they leave one out, from
// what the window has stored; "" in `problem` when they are usable.
BatchChoices ChooseSettings(const BatchOptions &options, Console &console, QString &problem)
{
    const SettingsStore settings;
    const StoredDefaults stored = ReadStoredDefaults(settings);
    BatchChoices choices;
    std::optional<ChannelMode> mode = options.mode;
    if (!mode) {
        for (const QString &storedProblem : stored.problems)
            console.printError(QStringLiteral("velunor: warning: ") + storedProblem);
        mode = stored.mode;
    }
    if (!mode) {
        problem = QStringLiteral("no channel mode is stored: give --mode mix, left or right");
        return choices;
    }
    choices.mode = *mode;
    const QString folder = options.outputFolder.value_or(stored.outputFolder);
    const QString absolute = folder.isEmpty() ? QString() : AbsolutePath(folder);
    problem = OutputFolderProblem(folder, absolute);
    choices.outputFolder = Main::FolderWithSeparator(absolute);
    choices.conversionsAtOnce = options.jobs.value_or(ConversionJob::ConversionsAtOnce());
    return choices;
}

QString PathsNamed(const QStringList &paths)
{
    QStringList quoted;
    for (const QString &path : paths)
        quoted << Quoted(path);
    return quoted.join(QStringLiteral(", "));
}

} // namespace

int RunBatchProgram(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velunor"));
    // A reader that goes away (`velunor --batch ... | head`) must not end the
    // run half way: the lines it would have read are dropped instead.
    std::signal(SIGPIPE, SIG_IGN);

    Console console(stdout, stderr, IsTerminal(STDOUT_FILENO) ? TerminalColumns : nullptr);
    const ParsedOptions parsed = ParseOptions(QCoreApplication::arguments().mid(1));
    if (!parsed.ok())
        return UsageError(console, parsed.error);
    const BatchOptions &options = parsed.options;
    if (options.request == BatchOptions::Request::Help) {
        console.printOut(HelpText().chopped(1));
        return 0;
    }
    if (options.request == BatchOptions::Request::Version) {
        console.printOut(VersionText().chopped(1));
        return 0;
    }

    QString problem;
    const BatchChoices choices = ChooseSettings(options, console, problem);
    if (!problem.isEmpty())
        return UsageError(console, problem);
    if (const QStringList missing = MissingPaths(options.paths); !missing.isEmpty())
        return UsageError(console, (missing.size() == 1 ? QStringLiteral("no such file or folder: ")
                                                        : QStringLiteral("no such files or "
                                                                         "folders: ")) +
                                       PathsNamed(missing));

    // Ctrl+C, the end of the session or a closed terminal stop the search,
    // or the run as Stop stops it; a signal the program was started with
    // ignored (nohup) stays ignored.
    bool interrupted = false;
    BatchRun *running = nullptr;
    SignalWatcher endRequests({SIGINT, SIGTERM, SIGHUP});
    QObject::connect(&endRequests, &SignalWatcher::received, &application, [&] {
        interrupted = true;
        if (running)
            running->interrupt();
    });

    FileListModel list;
    // A large archive takes a while to search: the terminal is told how many
    // files were found so far, as often as the run's status line.
    QElapsedTimer sinceShown;
    sinceShown.start();
    try {
        GatherInputs(options.paths, list, [&] {
            HandlePendingEvents();
            if (interrupted)
                throw SearchInterrupted();
            if (sinceShown.elapsed() >= BatchRun::kStatusMilliseconds) {
                sinceShown.restart();
                console.showStatus(
                    QStringLiteral("Searching for MP3 files... %1 found").arg(list.count()));
            }
        });
    } catch (const SearchInterrupted &) {
        console.printError(QStringLiteral("Stopped before any file was converted."));
        return BatchRun::kInterruptedStatus;
    }
    if (list.count() == 0)
        return UsageError(console, QStringLiteral("no MP3 files were found in ") +
                                       PathsNamed(options.paths));

    BatchRun run(list, choices, console);
    running = &run;
    QObject::connect(&run, &BatchRun::ended, &application, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    // Started from the event loop, so that even a run that ends at once is
    // seen to end by it.
    QTimer::singleShot(0, &run, [&run] { run.start(); });
    return QCoreApplication::exec();
}

} // namespace velunor::cli
