#include "shell/Main.h"
#include "app/FileListView.h"
#include "app/Form1.h"
#include "cli/BatchOptions.h"
#include "cli/BatchProgram.h"
#include "platform/SignalWatcher.h"
#include "platform/ui/QtPlatform.h"
#include "shell/SettingsStore.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>

namespace {

// Files handed over by the file manager ("Open With Velunor") join the list,
// as full paths, in the order given. Anything that is not a file is passed
// over.
QStringList FilesToList(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        const QFileInfo file(argument.startsWith(QLatin1String("file://"))
                                 ? QUrl(argument).toLocalFile()
                                 : argument);
        if (file.isFile())
            files << file.absoluteFilePath();
    }
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    // A command line for scripts needs no display: it is told apart before
    // anything of the window is made.
    if (velunor::cli::WantsCommandLine(argc, argv))
        return velunor::cli::RunBatchProgram(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velunor"));
    QApplication::setDesktopFileName(QStringLiteral("org.velunor.Velunor"));

    velunor::QtPlatform platform;
    velunor::SettingsStore settings;
    velunor::Form1 window(platform, settings, velunor::Main::ProgramFolder());
    // The end of the session (SIGTERM from the session manager, SIGHUP from
    // a closed terminal) and Ctrl+C end the program as closing the window
    // does, without a question, also while a message is open. A lost display
    // connection ends it through exit() inside Qt; ExitCleanup's hook cleans
    // up then.
    velunor::SignalWatcher sessionEnd({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&sessionEnd, &velunor::SignalWatcher::received, &window,
                     [&window] { window.Form_Unload(); });
    window.Form_Load();
    window.ListView1->items().add(FilesToList(QApplication::arguments().mid(1)));
    window.show();
    return QApplication::exec();
}
