// The notice on the desktop as the real platform posts it: over a private
// session bus started for the test, to a small notification service of the
// test's own, and to a bus where no one provides that service.

#include "platform/ui/QtPlatform.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velunor;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kServiceConnection = QStringLiteral("notification service");

// A bus that starts no service on demand, so that no notification daemon
// installed on the machine can answer in the test's place.
const QString kBusConfig = QStringLiteral(
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig>\n"
    "  <type>session</type>\n"
    "  <listen>unix:dir=%1</listen>\n"
    "  <auth>EXTERNAL</auth>\n"
    "  <servicedir>%1</servicedir>\n"
    "  <policy context=\"default\">\n"
    "    <allow send_destination=\"*\"/>\n"
    "    <allow receive_sender=\"*\"/>\n"
    "    <allow own=\"*\"/>\n"
    "  </policy>\n"
    "</busconfig>\n");

// The freedesktop notification service, noting every notice it is handed.
class NotificationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString appName;
        uint replacesId;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout;
        bool answerAwaited;
        bool posterReturned;
    };
    QList<Notice> notices;
    // Set by the test once notify() has returned.
    bool posterReturned = false;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout)
    {
        notices << Notice{appName,       replacesId,    appIcon,
                          summary,       body,          actions,
                          hints,         expireTimeout, message().isReplyRequired(),
                          posterReturned};
        return static_cast<uint>(notices.size());
    }
};

} // namespace

class DesktopNoticeTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QProcess bus_;
    QString address_;

    // The service on a connection of its own, as another program would be.
    void provideService(NotificationService &service)
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address_, kServiceConnection);
        QVERIFY(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                          &service, QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService(kService));
    }

private slots:
    void initTestCase()
    {
        const QString config = folder_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kBusConfig.arg(folder_.path()).toUtf8());
        file.close();
        bus_.start(QStringLiteral("dbus-daemon"),
                   {"--config-file=" + config, "--print-address", "--nofork"});
        QVERIFY2(bus_.waitForStarted(), "dbus-daemon is missing");
        while (!bus_.canReadLine())
            QVERIFY(bus_.waitForReadyRead(10000));
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());

        // The program's session bus is chosen at its first use in the
        // process; make sure nothing chose the desktop's own before.
        QDBusConnection probe = QDBusConnection::connectToBus(address_, QStringLiteral("probe"));
        const uint probePid =
            QDBusConnection::sessionBus().interface()->servicePid(probe.baseService());
        QDBusConnection::disconnectFromBus(QStringLiteral("probe"));
        QVERIFY2(probePid == QCoreApplication::applicationPid(),
                 "the session bus was chosen before the test could start its own");
    }

    void cleanup() { QDBusConnection::disconnectFromBus(kServiceConnection); }

    void cleanupTestCase()
    {
        bus_.terminate();
        bus_.waitForFinished();
    }

    void aNoticeReachesTheServiceAndNothingWaitsForIt()
    {
        NotificationService service;
        provideService(service);
        QtPlatform platform;
        platform.notify("Stopped.", "1 of 3 files was not converted.");
        service.posterReturned = true;
        QTRY_COMPARE(service.notices.size(), 1);

        const NotificationService::Notice &notice = service.notices.front();
        QCOMPARE(notice.appName, QGuiApplication::applicationDisplayName());
        QCOMPARE(notice.replacesId, 0u);
        QCOMPARE(notice.appIcon, QStringLiteral("velunor"));
        QCOMPARE(notice.summary, QStringLiteral("Stopped."));
        QCOMPARE(notice.body, QStringLiteral("1 of 3 files was not converted."));
        QCOMPARE(notice.actions, QStringList());
        QCOMPARE(notice.hints.value("desktop-entry").toString(),
                 QGuiApplication::desktopFileName());
        QCOMPARE(notice.expireTimeout, -1);
        // Handed over while the window went on, and no answer is awaited.
        QVERIFY(notice.posterReturned);
        QVERIFY(!notice.answerAwaited);
    }

    void withoutTheServiceANoticeGoesNowhere()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QtPlatform platform;
        platform.notify("Done.", "All 2 files were converted.");

        // A service that appears afterwards is not handed the first notice
        // late: the bus dropped it.
        NotificationService service;
        provideService(service);
        platform.notify("Done.", "The file was converted.");
        QTRY_COMPARE(service.notices.size(), 1);
        QCOMPARE(service.notices.front().body, QStringLiteral("The file was converted."));
    }
};

QTEST_MAIN(DesktopNoticeTest)
#include "test_desktop_notice.moc"
