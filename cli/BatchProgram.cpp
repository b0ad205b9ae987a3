#include "cli/BatchProgram.h"

#include "cli/BatchInputs.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRun.h"
#include "cli/Console.h"
#include "cli/StoredDefaults.h"
#include "conversion/ConversionJob.h"
#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"
#include "platform/SignalWatcher.h"
#include "shell/Languages.h"
#include "shell/Main.h"
#include "shell/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchProgram)
};

constexpr int kUsageStatus = 2;

int UsageError(Console &console, const QString &reason)
{
    console.printError(QStringLiteral("velunor: ") + reason);
    console.printError(Words::tr("Try 'velunor --help' for more information."));
    return kUsageStatus;
}

QString Quoted(const Path &path)
{
    return u'"' + path.text() + u'"';
}

// Whether the output folder can take the run's files, or why not.
Done CheckOutputFolder(const Path &given, const Path &absolute)
{
    if (given.isEmpty())
        return Failure::Because(
            Words::tr("no output folder is stored and none was given: give --output FOLDER"));
    if (!platform::Main::FolderExists(absolute)) {
        if (platform::Main::PathExists(absolute))
            return Failure::Because(
                Words::tr("the output folder %1 is not a folder").arg(Quoted(given)));
        return Failure::Because(
            Words::tr("the output folder %1 does not exist").arg(Quoted(given)));
    }
    if (::access(absolute.c_str(), W_OK | X_OK) != 0)
        return Failure::Because(
            Words::tr("the output folder %1 cannot be written").arg(Quoted(given)));
    return {};
}

// The status to leave with once everything is said: a write to standard
// output or error that failed makes an exit status of 0 a 1, and is told on
// standard error when that can still be written.
int WithWriteErrors(Console &console, int status)
{
    int error = console.writeError();
    if (error == 0 && std::fflush(stdout) != 0)
        error = errno;
    if (error == 0)
        return status;
    const QByteArray told = Words::tr("velunor: write error: %1")
                                .arg(platform::FileSystem::SystemMessage(error))
                                .toLocal8Bit();
    std::fprintf(stderr, "%s\n", told.constData());
    return status == 0 ? 1 : status;
}

// The run's choices from the options, and where they leave one out, from
// what the window has stored; a failure when they cannot be used.
Expected<BatchChoices> ChooseSettings(const BatchOptions &options, Console &console)
{
    const shell::SettingsStore settings;
    const StoredDefaults stored = ReadStoredDefaults(settings);
    BatchChoices choices;
    std::optional<conversion::ChannelMode> mode = options.mode;
    if (!mode) {
        for (const QString &storedProblem : stored.problems)
            console.printError(Words::tr("velunor: warning: %1").arg(storedProblem));
        mode = stored.mode;
    }
    if (!mode)
        return Failure::Because(
            Words::tr("no channel mode is stored: give --mode mix, left or right"));
    choices.mode = *mode;
    const Path folder =
        options.outputFolder.value_or(shell::Main::OutputFolderOf(stored.outputFolder));
    const Path absolute = folder.isEmpty() ? Path() : platform::FileSystem::AbsoluteOf(folder);
    if (const Done usable = CheckOutputFolder(folder, absolute); !usable)
        return usable.failure();
    choices.outputFolder = absolute.withSeparator();
    choices.conversionsAtOnce =
        options.jobs.value_or(conversion::ConversionJob::ConversionsAtOnce());
    choices.quality = options.quality;
    choices.options = options.run;
    return choices;
}

QString PathsNamed(const QList<Path> &paths)
{
    QStringList quoted;
    for (const Path &path : paths)
        quoted << Quoted(path);
    return quoted.join(QStringLiteral(", "));
}

// Where --keep-folders puts the output of each file the search found: the
// folder below the output folder that it was found in below its folder
// argument.
QHash<filelist::ItemId, Path> SubfoldersOf(const filelist::SearchResult &found,
                                           const filelist::FileListModel &list)
{
    QHash<filelist::ItemId, Path> subfolders;
    for (int row = 0; row < list.count(); ++row)
        if (const Path below = FolderBelow(found.files[row], found.foundUnder.value(row));
            !below.isEmpty())
            subfolders.insert(list.itemId(row), below);
    return subfolders;
}

// The program's arguments as the bytes it was given.
QByteArrayList ArgumentBytes(int argc, char **argv)
{
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    return arguments;
}

} // namespace

int TellWindowNotStarted(int argc, char **argv, const QByteArray &window, int error)
{
    QCoreApplication application(argc, argv);
    shell::Languages::Install({shell::Languages::CommandLineCatalogue});
    const QString told =
        window.isEmpty()
            ? Words::tr("velunor: the program's own path cannot be read: %1")
                  .arg(platform::FileSystem::SystemMessage(error))
            : Words::tr("velunor: the window program %1 cannot be started: %2")
                  .arg(Path::FromBytes(window).text(), platform::FileSystem::SystemMessage(error));
    std::fprintf(stderr, "%s\n", told.toLocal8Bit().constData());
    return 127;
}

int RunBatchProgram(int argc, char **argv, int *stoppedBy)
{
    if (stoppedBy)
        *stoppedBy = 0;
    // The arguments are taken before Qt sees them: it would read them as
    // text, and a name that is not UTF-8 would be lost.
    const QByteArrayList arguments = ArgumentBytes(argc, argv);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velunor"));
    shell::Languages::Install({shell::Languages::CommandLineCatalogue});
    // A reader that goes away (`velunor --batch ... | head`) must not end the
    // run half way: the lines it would have read are dropped instead.
    std::signal(SIGPIPE, SIG_IGN);

    Console console(stdout, stderr, IsTerminal(STDOUT_FILENO) ? TerminalColumns : nullptr);
    const ParsedOptions parsed = ParseOptions(arguments);
    if (!parsed.ok())
        return WithWriteErrors(console, UsageError(console, parsed.error));
    BatchOptions options = parsed.options;
    if (options.request == BatchOptions::Request::Help) {
        // The console ends each line itself; a translation may or may not
        // end its help with a line break.
        QString help = HelpText();
        if (help.endsWith(u'\n'))
            help.chop(1);
        console.printOut(help);
        return WithWriteErrors(console, 0);
    }
    if (options.request == BatchOptions::Request::Version) {
        console.printOut(VersionText().chopped(1));
        return WithWriteErrors(console, 0);
    }

    // Ctrl+C, the end of the session or a closed terminal stop the staging,
    // the search, or the run as Stop stops it; a signal the program was
    // started with ignored (nohup) stays ignored.
    platform::SignalWatcher endRequests({SIGINT, SIGTERM, SIGHUP});
    // From here on a run is likely: the converter is staged on a worker
    // beside the rest of the start (the choices, the search, the list), and
    // whatever leaves the program lets go of it again.
    const std::shared_ptr<conversion::StagingAhead> staging = conversion::StagingAhead::Begin();
    const auto releaseStaging = qScopeGuard([&staging] { staging->release(); });

    const Expected<BatchChoices> chosen = ChooseSettings(options, console);
    if (!chosen)
        return WithWriteErrors(console, UsageError(console, chosen.failure().words));
    const BatchChoices &choices = *chosen;
    for (const Path &list : std::as_const(options.pathLists)) {
        const Expected<QList<Path>> listed = ReadPathList(list, options.nulSeparated);
        if (!listed)
            return WithWriteErrors(console, UsageError(console, listed.failure().words));
        options.paths << *listed;
    }
    if (const QList<Path> missing = MissingPaths(options.paths); !missing.isEmpty())
        return WithWriteErrors(
            console,
            UsageError(console, (missing.size() == 1 ? Words::tr("no such file or folder: %1")
                                                     : Words::tr("no such files or folders: %1"))
                                    .arg(PathsNamed(missing))));

    filelist::FileListModel list;
    filelist::FolderSearch search;
    std::unique_ptr<BatchRun> run;
    int firstSignal = 0;
    QObject::connect(&endRequests, &platform::SignalWatcher::received, &application,
                     [&](int signalNumber) {
                         if (firstSignal == 0)
                             firstSignal = signalNumber;
                         if (run) {
                             run->interrupt();
                             return;
                         }
                         search.cancel();
                         search.disconnect();
                         console.clearStatus();
                         console.printError(Words::tr("Stopped before any file was converted."));
                         QCoreApplication::exit(BatchRun::kInterruptedStatus);
                     });

    // A large archive takes a while to search: the terminal is told how many
    // files were found so far, as often as the run's status line.
    QObject::connect(
        &search, &filelist::FolderSearch::progressed, &application, [&console](int found) {
            console.showStatus(Words::tr("Searching for MP3 files... %n found", nullptr, found));
        });
    QList<UnsearchedFolder> unsearched;
    const filelist::SearchRequest request =
        InputSearch(options.paths, choices.outputFolder, unsearched, choices.options.trashInputs);
    QObject::connect(
        &search, &filelist::FolderSearch::finished, &application,
        [&](const filelist::SearchResult &found) {
            console.clearStatus();
            QStringList unsearchedLines;
            for (const UnsearchedFolder &folder : unsearched + UnreadFolders(found)) {
                unsearchedLines << folder.folder.text() + QStringLiteral(" - ") + folder.reason;
                console.printError(Words::tr("not searched: %1").arg(unsearchedLines.last()));
            }
            if (found.files.isEmpty()) {
                QCoreApplication::exit(UsageError(
                    console,
                    Words::tr("no MP3 files were found in %1").arg(PathsNamed(options.paths))));
                return;
            }
            list.add(found.files);
            run = std::make_unique<BatchRun>(list, choices, console);
            run->setUnsearchedFolders(unsearchedLines);
            if (options.keepFolders)
                run->setOutputSubfolders(SubfoldersOf(found, list));
            QObject::connect(run.get(), &BatchRun::ended, &application, &QCoreApplication::exit,
                             Qt::QueuedConnection);
            run->start(staging);
        });
    search.start(request);
    const int status = WithWriteErrors(console, QCoreApplication::exec());
    if (stoppedBy && status == BatchRun::kInterruptedStatus)
        *stoppedBy = firstSignal;
    return status;
}

} // namespace velunor::cli
