// The notice on the desktop as the real platform posts it: over a private
// session bus started for the test, to a small notification service of the
// test's own, and to a bus where no one provides that service.

#include "PrivateBus.h"
#include "platform/ui/QtPlatform.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

// The freedesktop notification service, noting every notice it is handed.
class NotificationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString appIcon, summary, body, desktopEntry;
        int expireTimeout;
        bool answerAwaited, posterReturned;
    };
    QList<Notice> notices;
    bool posterReturned = false; // set by the test once notify() returned

    // Offered on a connection of its own, as another program would.
    explicit NotificationService(const QString &address)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, "service");
        bus.registerObject("/org/freedesktop/Notifications", this, QDBusConnection::ExportAllSlots);
        bus.registerService("org.freedesktop.Notifications");
    }
    ~NotificationService() override { QDBusConnection::disconnectFromBus("service"); }

public slots:
    uint Notify(const QString &, uint, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &, const QVariantMap &hints,
                int expireTimeout)
    {
        notices << Notice{appIcon,       summary,
                          body,          hints.value("desktop-entry").toString(),
                          expireTimeout, message().isReplyRequired(),
                          posterReturned};
        return 1;
    }
};

} // namespace

class DesktopNoticeTest : public QObject {
    Q_OBJECT

    PrivateBus bus_;
    QString address_;

private slots:
    void initTestCase()
    {
        address_ = bus_.address();
        QVERIFY2(!address_.isEmpty(), "dbus-daemon did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
        // The session bus is chosen at its first use in the process: make
        // sure nothing chose the desktop's own before.
        NotificationService probe(address_);
        QCOMPARE(
            QDBusConnection::sessionBus().interface()->servicePid("org.freedesktop.Notifications"),
            QCoreApplication::applicationPid());
    }

    void aNoticeReachesTheServiceAndNothingWaitsForIt()
    {
        NotificationService service(address_);
        platform::QtPlatform().notify("Stopped.", "1 of 3 files was not converted.");
        service.posterReturned = true;
        QTRY_COMPARE(service.notices.size(), 1);
        const NotificationService::Notice &notice = service.notices.front();
        QCOMPARE(notice.summary, QStringLiteral("Stopped."));
        QCOMPARE(notice.body, QStringLiteral("1 of 3 files was not converted."));
        QCOMPARE(notice.appIcon, QStringLiteral("velunor"));
        QCOMPARE(notice.desktopEntry, QGuiApplication::desktopFileName());
        QCOMPARE(notice.expireTimeout, -1);
        // Handed over while the window went on, and no answer is awaited.
        QVERIFY(notice.posterReturned && !notice.answerAwaited);
    }

    void withoutTheServiceANoticeGoesNowhere()
    {
        QTest::failOnWarning(QRegularExpression("."));
        platform::QtPlatform platform;
        platform.notify("Done.", "All 2 files were converted.");
        // A service that appears afterwards is not handed that notice late.
        NotificationService service(address_);
        platform.notify("Done.", "The file was converted.");
        QTRY_COMPARE(service.notices.size(), 1);
        QCOMPARE(service.notices.front().body, QStringLiteral("The file was converted."));
    }
};

QTEST_MAIN(DesktopNoticeTest)
#include "test_desktop_notice.moc"
