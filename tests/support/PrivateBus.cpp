#include "PrivateBus.h"

#include "Files.h"

namespace velunor::testing {

namespace {
const QString kBusConfig = QStringLiteral(
    "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
    "<policy context='default'><allow send_destination='*'/><allow receive_sender='*'/>"
    "<allow own='*'/></policy></busconfig>");
} // namespace

PrivateBus::PrivateBus()
{
    const QString config = folder_.filePath(QStringLiteral("bus.conf"));
    if (!WriteFile(config, kBusConfig.arg(folder_.path()).toUtf8()))
        return;
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config, QStringLiteral("--print-address"),
                   QStringLiteral("--nofork")});
    while (!daemon_.canReadLine()) {
        if (!daemon_.waitForReadyRead(10000))
            return;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    daemon_.terminate();
    daemon_.waitForFinished();
}

} // namespace velunor::testing
