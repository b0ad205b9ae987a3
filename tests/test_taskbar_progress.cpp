// The taskbar progress as a dock receives it: over a private session bus
// started for the test, to a listener of the test's own on a connection of
// its own, and with no bus at all.

#include "PrivateBus.h"
#include "platform/ui/TaskbarProgress.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

constexpr int kHour = 3600 * 1000;

// A dock: notes every launcher entry update on the bus, from anyone.
class Dock : public QObject {
    Q_OBJECT

public:
    struct Update {
        QString appUri;
        QVariantMap properties;
    };
    QList<Update> updates;

    explicit Dock(const QString &address)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, "dock");
        bus.connect(QString(), QString(), "com.canonical.Unity.LauncherEntry", "Update", this,
                    SLOT(update(QString, QVariantMap)));
    }
    ~Dock() override { QDBusConnection::disconnectFromBus("dock"); }

    const QVariantMap &last() const { return updates.last().properties; }

public slots:
    void update(const QString &appUri, const QVariantMap &properties)
    {
        updates << Update{appUri, properties};
    }
};

} // namespace

class TaskbarProgressTest : public QObject {
    Q_OBJECT

    PrivateBus bus_;
    QString address_;

    // The program's side of the private bus; the session bus is left to the
    // test without one.
    QDBusConnection bus() const { return QDBusConnection::connectToBus(address_, "program"); }

    // Waits until the dock has heard `count` updates. The bus keeps the order
    // of what one connection sends, so an update sent in between would be
    // among them.
    static void WaitFor(Dock &dock, qsizetype count)
    {
        QTRY_COMPARE_WITH_TIMEOUT(dock.updates.size(), count, 20000);
    }

private slots:
    void initTestCase()
    {
        address_ = bus_.address();
        QVERIFY2(!address_.isEmpty(), "dbus-daemon did not start");
    }

    // A run's progress on the session bus, in the types the docks read; a
    // flood within the gap is held back, and the end is sent at once.
    void aRunShowsItsProgressAndItsEndHidesIt()
    {
        Dock dock(address_);
        platform::TaskbarProgress progress(bus(), kHour);
        progress.show(0.25, 3);
        for (int done = 26; done <= 100; ++done)
            progress.show(done / 100.0, 2);
        progress.hide();
        WaitFor(dock, 2);
        QCOMPARE(dock.updates.front().appUri,
                 QStringLiteral("application://org.velunor.Velunor.desktop"));
        const QVariantMap shown = dock.updates.front().properties;
        QCOMPARE(shown.value("progress").metaType(), QMetaType::fromType<double>());
        QCOMPARE(shown.value("progress").toDouble(), 0.25);
        QCOMPARE(shown.value("progress-visible"), QVariant(true));
        QCOMPARE(shown.value("count").metaType(), QMetaType::fromType<qlonglong>());
        QCOMPARE(shown.value("count").toLongLong(), 3);
        QCOMPARE(shown.value("count-visible"), QVariant(true));
        QCOMPARE(dock.last().value("progress-visible"), QVariant(false));
        QCOMPARE(dock.last().value("count-visible"), QVariant(false));

        // An entry showing nothing is not told again; the next run shows at
        // once.
        progress.hide();
        progress.show(0.5, 2);
        WaitFor(dock, 3);
        QCOMPARE(dock.last().value("progress").toDouble(), 0.5);
    }

    // Only what the dock would show differently is sent; within the gap the
    // latest value waits for its end; a run's bar goes with its object.
    void onlyChangesAreSentAndTheLatestFollowsTheGap()
    {
        Dock dock(address_);
        {
            // The gap's timer runs only when events are handled: two shows
            // in a row fall within it.
            platform::TaskbarProgress progress(bus(), 0);
            progress.show(0.1, 9);
            progress.show(0.2, 8);
            progress.show(0.3, 7);
            WaitFor(dock, 2);
            QCOMPARE(dock.updates.front().properties.value("progress").toDouble(), 0.1);
            QCOMPARE(dock.last().value("progress").toDouble(), 0.3);
            QCOMPARE(dock.last().value("count").toLongLong(), 7);

            progress.show(0.3, 7);
            progress.show(0.304, 7); // the same whole percent
            progress.show(0.57, 0);
            WaitFor(dock, 3);
            QCOMPARE(dock.last().value("progress").toDouble(), 0.57);
            // No files left is no badge.
            QCOMPARE(dock.last().value("count-visible"), QVariant(false));
        }
        WaitFor(dock, 4);
        QCOMPARE(dock.last().value("progress-visible"), QVariant(false));
    }

    // A desktop without a session bus: the progress is shown nowhere, and
    // nothing complains.
    void withoutASessionBusNothingIsSentNorWarned()
    {
        QTest::failOnWarning(QRegularExpression("."));
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DISPLAY");
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QVERIFY(!QDBusConnection::sessionBus().isConnected());
        Dock dock(address_);
        {
            platform::TaskbarProgress progress;
            progress.show(0.5, 1);
            progress.show(0.75, 1);
            progress.hide();
            progress.show(0.8, 1);
        }
        // A later update on the private bus is the first the dock hears.
        platform::TaskbarProgress(bus(), 0).show(0.1, 9);
        WaitFor(dock, 2);
        QCOMPARE(dock.updates.front().properties.value("progress").toDouble(), 0.1);
    }
};

QTEST_MAIN(TaskbarProgressTest)
#include "test_taskbar_progress.moc"
