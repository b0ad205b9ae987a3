#include "app/Main.h"
#include "app/Form1.h"
#include "platform/QtPlatform.h"
#include "shell/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velunor"));
    QApplication::setDesktopFileName(QStringLiteral("velunor"));

    velunor::QtPlatform platform;
    velunor::SettingsStore settings;
    velunor::Form1 window(platform, settings, velunor::Main::ProgramFolder());
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
