#include "shell/Main.h"
#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/AddFolder.h"
#include "platform/FileSystem.h"
#include "platform/SignalWatcher.h"
#include "platform/ui/QtPlatform.h"
#include "shell/Languages.h"
#include "shell/SettingsStore.h"

#include <QApplication>
#include <QUrl>

#include <csignal>

namespace {

// Files handed over by the file manager ("Open With Velunor") join the list,
// as full paths, in the order given, taken as the bytes the program was given
// (a "file://" address is decoded to its bytes). Anything that is not a file
// is passed over.
QList<velunor::Path> FilesToList(int argc, char **argv)
{
    QList<velunor::Path> files;
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        if (argument.startsWith("file://"))
            argument = QByteArray::fromPercentEncoding(
                QUrl::fromEncoded(argument).path(QUrl::FullyEncoded).toLatin1());
        const velunor::Path path =
            velunor::platform::FileSystem::AbsoluteOf(velunor::Path::FromBytes(argument));
        if (velunor::platform::AddFolder::IsExistingFile(path))
            files << path;
    }
    return files;
}

} // namespace

// The window program: `velunor` started without a command line for scripts
// (see cli/main.cpp) becomes this program, with the same arguments.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velunor"));
    QApplication::setDesktopFileName(QStringLiteral("org.velunor.Velunor"));
    // The window speaks the user's language, Qt's own dialogs and buttons
    // included.
    velunor::shell::Languages::Install({velunor::shell::Languages::CommandLineCatalogue,
                                        velunor::shell::Languages::WindowCatalogue},
                                       {QStringLiteral("qtbase")});

    velunor::platform::QtPlatform platform;
    velunor::shell::SettingsStore settings;
    velunor::app::Form1 window(platform, settings, velunor::shell::Main::ProgramFolder());
    // The end of the session (SIGTERM from the session manager, SIGHUP from
    // a closed terminal) and Ctrl+C end the program as closing the window
    // does, without a question, also while a message is open. A lost display
    // connection ends it through exit() inside Qt; ExitCleanup's hook cleans
    // up then.
    velunor::platform::SignalWatcher sessionEnd({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&sessionEnd, &velunor::platform::SignalWatcher::received, &window,
                     [&window] { window.Form_Unload(); });
    window.Form_Load();
    window.addToList(FilesToList(argc, argv));
    window.show();
    return QApplication::exec();
}
