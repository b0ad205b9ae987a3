// The settings store, the storing handlers, and the error report with its
// step guard.

#include "TestWindow.h"
#include "shell/SettingsStore.h"
#include "shell/ui/ErrorReport.h"

#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace velunor;
using namespace velunor::testing;

class SettingsAndReportTest : public QObject {
    Q_OBJECT

private slots:
    // ---- settings -------------------------------------------------------

    void readGivesDefaultOnlyForMissingKeys()
    {
        QTemporaryDir folder;
        auto store = shell::SettingsStore::AtPath(folder.filePath("Tarvenic.conf"));
        QCOMPARE(store->read("Velunor", "Output Folder", "/default/"), QStringLiteral("/default/"));
        store->write("Velunor", "Output Folder", "");
        QCOMPARE(store->read("Velunor", "Output Folder", "/default/"), QString());
        store->write("Velunor", "Option1", "False");
        QCOMPARE(store->read("Velunor", "Option1", "1"), QStringLiteral("False"));
        QCOMPARE(store->read("Other", "Option1", "1"), QStringLiteral("1"));
    }

    // A value written by hand with a comma, unquoted, is the text it is.
    void aStoredTextComesBackAsItIs_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << QByteArray("Output%20Folder=a,b") << "a,b";
        QTest::newRow("comma and space") << QByteArray("Output%20Folder=a, b") << "a, b";
        QTest::newRow("quoted") << QByteArray("Output%20Folder=\"/x,y/\"") << "/x,y/";
    }

    void aStoredTextComesBackAsItIs()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, text);
        QTemporaryDir folder;
        QVERIFY(WriteFile(folder.filePath("Tarvenic.conf"), "[Velunor]\n" + line + "\n"));
        auto store = shell::SettingsStore::AtPath(folder.filePath("Tarvenic.conf"));
        QCOMPARE(store->read("Velunor", "Output Folder", "/default/"), text);
    }

    void everyWriteIsOnDiskAtOnce()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("Tarvenic.conf");
        auto store = shell::SettingsStore::AtPath(path);
        store->write("Velunor", "Output Folder", "/home/u/Music/");
        // Another reader sees it without the store being closed.
        QSettings reader(path, QSettings::IniFormat);
        QCOMPARE(reader.value("Velunor/Output Folder").toString(),
                 QStringLiteral("/home/u/Music/"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[Velunor]"));
    }

    void defaultStoreIsTheTarvenicFile()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        shell::SettingsStore store;
        store.write("Velunor", "Option1", "True");
        QSettings reader(config.filePath("Tarvenic.conf"), QSettings::IniFormat);
        QCOMPARE(reader.value("Velunor/Option1").toString(), QStringLiteral("True"));
    }

    void textToBoolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: type mismatch
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("False") << "False" << 0;
        QTest::newRow("true") << "true" << 1;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("-1") << "-1" << 1;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("2.5") << "2.5" << 1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("yes") << "yes" << -1;
        QTest::newRow("Truest") << "Truest" << -1;
        QTest::newRow("nan") << "nan" << -1;
        QTest::newRow("inf") << "inf" << -1;
    }

    void textToBoolean()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const Expected<bool> value = shell::TextToBoolean(text);
        if (expected < 0) {
            QVERIFY(!value);
            QCOMPARE(value.failure().code, 13);
            return;
        }
        QVERIFY(value);
        QCOMPARE(*value, expected == 1);
    }

    void clickingAnOptionStoresAllThree()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QTest::mouseClick(Controls(form).Option2, Qt::LeftButton, {}, QPoint(6, 7));
        QCOMPARE(window.stored("Option1"), QStringLiteral("False"));
        QCOMPARE(window.stored("Option2"), QStringLiteral("True"));
        QCOMPARE(window.stored("Option3"), QStringLiteral("False"));
        QVERIFY(!Controls(form).Option1->isChecked());
        // Clicking the selected one keeps it selected.
        QTest::mouseClick(Controls(form).Option2, Qt::LeftButton, {}, QPoint(6, 7));
        QVERIFY(Controls(form).Option2->isChecked());
        QCOMPARE(window.stored("Option2"), QStringLiteral("True"));
        QTest::mouseClick(Controls(form).Option3, Qt::LeftButton, {}, QPoint(6, 7));
        QCOMPARE(window.stored("Option2"), QStringLiteral("False"));
        QCOMPARE(window.stored("Option3"), QStringLiteral("True"));
    }

    void typingStoresEveryKeystroke()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        Controls(form).Text1->clear();
        QCOMPARE(window.stored("Output Folder"), QString());
        QStringList seen;
        QObject::connect(Controls(form).Text1, &QLineEdit::textChanged, &form,
                         [&] { seen << window.stored("Output Folder"); });
        QTest::keyClicks(Controls(form).Text1, QStringLiteral("/tmp/out/"));
        QCOMPARE(seen.size(), 9);
        QCOMPARE(seen.front(), QStringLiteral("/"));
        QCOMPARE(window.stored("Output Folder"), QStringLiteral("/tmp/out/"));
    }

    // ---- error report ---------------------------------------------------

    void reportTextIsExact()
    {
        QCOMPARE(shell::ErrorReportText("Permission denied",
                                        "in Korvath2016/11/03.Form1.PushButton6_Click ", 104),
                 QStringLiteral("Permission denied\r\nin Korvath2016/11/03.Form1.PushButton6_Click "
                                "at line 104\r\rPlease email screenshot of this message to ") +
                     shell::kSupportAddress);
        // An empty description gives an empty first line.
        QVERIFY(shell::ErrorReportText("", "in X ", 100).startsWith("\r\nin X at line 100\r\r"));
    }

    void failedStepsAreReportedInOrderAndTheHandlerGoesOn()
    {
        ScriptedPlatform platform;
        shell::StepGuard guard(platform, nullptr, "in Korvath2016/11/03.Form1.PushButton4_Click ");
        QStringList ran;
        guard.step(100, [&] { ran << "100"; });
        QVERIFY(!guard.step(102, [&] {
            ran << "102";
            throw platform::PlatformError(QString::fromLocal8Bit(std::strerror(EACCES)));
        }));
        guard.step(104, [&] { ran << "104"; });
        guard.step(106, [&] { throw std::runtime_error("second failure"); });
        guard.step(108, [&] { ran << "108"; });
        QCOMPARE(ran, (QStringList{"100", "102", "104", "108"}));
        QCOMPARE(platform.messages.size(), 2);
        QCOMPARE(platform.messages[0].text,
                 shell::ErrorReportText("Permission denied",
                                        "in Korvath2016/11/03.Form1.PushButton4_Click ", 102));
        QCOMPARE(platform.messages[1].text,
                 shell::ErrorReportText("second failure",
                                        "in Korvath2016/11/03.Form1.PushButton4_Click ", 106));
        QCOMPARE(platform.messages[0].title, QStringLiteral("Application Error"));
        QCOMPARE(platform.messages[0].icon, platform::MessageIcon::Warning);
    }

    void failedTestCountsAsPassed()
    {
        ScriptedPlatform platform;
        shell::StepGuard guard(platform, nullptr, "in L ");
        bool bodyRan = false;
        if (guard.test(152, []() -> bool { throw platform::PlatformError("broken test"); }))
            bodyRan = true;
        QVERIFY(bodyRan);
        QVERIFY(!guard.test(156, [] { return false; }));
        QCOMPARE(platform.messageTexts(),
                 QStringList{shell::ErrorReportText("broken test", "in L ", 152)});
    }

    void failureInsideALoopResumesInsideTheLoop()
    {
        ScriptedPlatform platform;
        shell::StepGuard steps(platform, nullptr, "in L ");
        int passes = 0;
        for (int i = 1; i <= 3; ++i) {
            steps.step(140, [&] {
                if (i == 2)
                    throw platform::PlatformError("bad item");
            });
            steps.step(142, [&] { ++passes; });
        }
        QCOMPARE(passes, 3);
        QCOMPARE(platform.messageTexts(),
                 QStringList{shell::ErrorReportText("bad item", "in L ", 140)});
    }
};

QTEST_MAIN(SettingsAndReportTest)
#include "test_settings_and_report.moc"
