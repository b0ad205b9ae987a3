// Start-up: the window's make-up, the restore of the remembered choices, the
// home-page chance, the skin, the hand cursor and the hover pointer rules.

#include "Files.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"
#include "shell/Main.h"
#include "shell/ui/ErrorReport.h"
#include "shell/ui/WindowMain.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

QString ReportFor(const QString &description, int step)
{
    return shell::ErrorReportText(description,
                                  QStringLiteral("in Korvath2016/11/03.Form1.Form_Load "), step);
}

QList<bool> Selected(app::Form1 &form)
{
    return {Controls(form).Option1->isChecked(), Controls(form).Option2->isChecked(),
            Controls(form).Option3->isChecked()};
}

void MoveOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void layoutMatchesTheDesign()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QCOMPARE(form.size(), QSize(536, 510));
        QCOMPARE(form.windowTitle(), QStringLiteral("Velunor"));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.applicationTitle(), QStringLiteral("Velunor"));

        const QList<QPair<QAbstractButton *, QString>> captions = {
            {Controls(form).PushButton6, "What is Mono and Stereo?"},
            {Controls(form).PushButton8, "Help"},
            {Controls(form).PushButton1, "Add MP3 File(s)"},
            {Controls(form).PushButton3, "Add All MP3 File(s) In Folder"},
            {Controls(form).PushButton4, "Clear List"},
            {Controls(form).PushButton5, "Load Sample/Example Files"},
            {Controls(form).Option1, "Mix left and right channels into one channel"},
            {Controls(form).Option2,
             "Keep left channel audio only and discard right channel audio"},
            {Controls(form).Option3,
             "Keep right channel audio only and discard left channel audio"},
            {Controls(form).PushButton7, "..."},
            {Controls(form).PushButton2, "Start Converting"},
        };
        for (const auto &[button, caption] : captions) {
            QCOMPARE(button->text(), caption);
            // The long option captions fit their controls: none is cut off.
            if (qobject_cast<QRadioButton *>(button))
                QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(caption));
        }
        QCOMPARE(Controls(form).Frame2->title(), QStringLiteral("Options"));
        QCOMPARE(Controls(form).Frame1->title(), QStringLiteral("Save Results To This Folder"));
        // Every control lies inside the window and overlaps no other; only
        // the hidden first-focus holder stands outside.
        const QList<QWidget *> shown = {
            Controls(form).PushButton6, Controls(form).PushButton8, Controls(form).ListView1,
            Controls(form).PushButton1, Controls(form).PushButton3, Controls(form).PushButton4,
            Controls(form).PushButton5, Controls(form).Frame2,      Controls(form).Frame1,
            Controls(form).PushButton2, Controls(form).ProgressBar1};
        for (QWidget *control : shown) {
            QVERIFY2(form.rect().contains(control->geometry()), qPrintable(control->objectName()));
            for (QWidget *other : shown)
                QVERIFY2(other == control || !control->geometry().intersects(other->geometry()),
                         qPrintable(control->objectName() + " " + other->objectName()));
        }
        QVERIFY(!form.rect().intersects(Controls(form).Command1->geometry()));
        QCOMPARE(Controls(form).Option1->parentWidget(), Controls(form).Frame2);
        QCOMPARE(Controls(form).Text1->parentWidget(), Controls(form).Frame1);
        QCOMPARE(Controls(form).PushButton7->parentWidget(), Controls(form).Frame1);
        // Controls are found by their designer names.
        QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("Text1")), Controls(form).Text1);
        QCOMPARE(form.findChild<QPushButton *>(QStringLiteral("PushButton2")),
                 Controls(form).PushButton2);

        QVERIFY(form.font().bold());
        QCOMPARE(form.font().pointSizeF(), 9.0);
        QCOMPARE(Controls(form).Command1->font().pointSizeF(), 8.25);
        QCOMPARE(Controls(form).ProgressBar1->text(), QStringLiteral("Progress Bar"));
        QCOMPARE(Controls(form).ListView1->items().headerData(0, Qt::Horizontal, Qt::DisplayRole),
                 QVariant(QStringLiteral("MP3 File(s)")));
        QCOMPARE(Controls(form).ListView1->header()->sectionSize(0), 467);
        QVERIFY(Controls(form).ListView1->toolTip().startsWith("Drag and drop files here."));
    }

    void keyboardFocusFollowsTheTabOrder()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), Controls(form).Command1);
        const QList<QWidget *> order = {
            Controls(form).ListView1,   Controls(form).PushButton1, Controls(form).PushButton3,
            Controls(form).PushButton2, Controls(form).PushButton4, Controls(form).PushButton5,
            Controls(form).Text1,       Controls(form).PushButton7, Controls(form).Option1,
            Controls(form).Option2,     Controls(form).Option3,     Controls(form).PushButton6,
            Controls(form).PushButton8, Controls(form).Command1};
        for (QWidget *next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void firstStartStoresTheDefaults_data()
    {
        QTest::addColumn<bool>("withDesktop");
        QTest::newRow("desktop folder") << true;
        QTest::newRow("no desktop folder: home") << false;
    }

    void firstStartStoresTheDefaults()
    {
        QFETCH(bool, withDesktop);
        QTemporaryDir home;
        EnvironmentVariable homeVariable("HOME", QFile::encodeName(home.path()));
        EnvironmentVariable config("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
        if (withDesktop)
            QVERIFY(QDir(home.path()).mkdir("Desktop"));
        const QString expectedFolder = home.path() + (withDesktop ? "/Desktop/" : "/");
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QCOMPARE(Selected(form), (QList<bool>{true, false, false}));
        QCOMPARE(Controls(form).Text1->text(), expectedFolder);
        QCOMPARE(window.stored("Output Folder"), expectedFolder);
        QCOMPARE(window.stored("Option1"), QStringLiteral("True"));
        QCOMPARE(window.stored("Option2"), QStringLiteral("False"));
        QCOMPARE(window.stored("Option3"), QStringLiteral("False"));
        QVERIFY(window.platform.messages.isEmpty());
    }

    void restoresStoredChoices_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QList<bool>>("selected");
        QTest::newRow("all True: the last one wins")
            << QStringList{"True", "True", "True"} << QList<bool>{false, false, true};
        QTest::newRow("all False: none selected")
            << QStringList{"False", "False", "False"} << QList<bool>{false, false, false};
        QTest::newRow("left only")
            << QStringList{"False", "True", "False"} << QList<bool>{false, true, false};
        QTest::newRow("numbers") << QStringList{"0", "-1", "0"} << QList<bool>{false, true, false};
        QTest::newRow("one") << QStringList{"0", "0", "1"} << QList<bool>{false, false, true};
    }

    void restoresStoredChoices()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<bool>, selected);
        TestWindow window;
        window.preset("Option1", stored[0]);
        window.preset("Option2", stored[1]);
        window.preset("Option3", stored[2]);
        window.load();
        QCOMPARE(Selected(window.form()), selected);
        QVERIFY(window.platform.messages.isEmpty());
        // What is stored again is what the window shows.
        QCOMPARE(window.stored("Option3"), shell::BooleanToText(selected[2]));
    }

    void badStoredValueIsReportedAndStartUpGoesOn()
    {
        TestWindow window;
        window.preset("Option2", "maybe");
        window.load();
        app::Form1 &form = window.form();
        QCOMPARE(window.platform.messageTexts(), QStringList{ReportFor("Type mismatch", 136)});
        const ShownMessage &report = window.platform.messages.front();
        QCOMPARE(report.title, QStringLiteral("Application Error"));
        QCOMPARE(report.icon, platform::MessageIcon::Warning);
        QCOMPARE(report.buttons, platform::MessageButtons::Ok);
        // Option2 keeps its designed state; step 138 still ran.
        QCOMPARE(Selected(form), (QList<bool>{true, false, false}));
        QCOMPARE(window.stored("Option3"), QStringLiteral("False"));
    }

    void everyBadValueGetsItsOwnReport()
    {
        TestWindow window;
        window.preset("Option1", "");
        window.preset("Option3", "yes");
        window.load();
        QCOMPARE(window.platform.messageTexts(),
                 (QStringList{ReportFor("Type mismatch", 134), ReportFor("Type mismatch", 138)}));
        QVERIFY(window.form().isVisible());
    }

    void storedEmptyFolderWinsOverTheDefault()
    {
        TestWindow window;
        window.preset("Output Folder", "");
        window.load();
        QCOMPARE(window.ui().Text1->text(), QString());
        QCOMPARE(window.stored("Output Folder"), QString());
    }

    void storedFolderWithCommaComesBackWhole()
    {
        // Written without quotes, as a hand-edited file has it: the INI
        // reader takes the comma for a list separator.
        TestWindow window({}, "[Velunor]\nOutput%20Folder=/music/old, new/\n");
        window.load();
        QCOMPARE(window.ui().Text1->text(), QStringLiteral("/music/old, new/"));
    }

    void homePageOpensOnlyOnSeven_data()
    {
        QTest::addColumn<double>("drawn");
        QTest::addColumn<bool>("opens");
        QTest::newRow("6") << 0.0599 << false;
        QTest::newRow("7 low") << 0.06 << true;
        QTest::newRow("7 high") << 0.0699 << true;
        QTest::newRow("8") << 0.07 << false;
        QTest::newRow("1") << 0.0 << false;
        QTest::newRow("100") << 0.999 << false;
    }

    void homePageOpensOnlyOnSeven()
    {
        QFETCH(double, drawn);
        QFETCH(bool, opens);
        TestWindow window;
        window.platform.randomValue = drawn;
        window.platform.secondsSinceMidnightValue = 4242;
        window.load();
        QCOMPARE(window.platform.seeds, QList<quint32>{4242});
        QCOMPARE(window.platform.openedUrls.size(), opens ? 1 : 0);
        if (opens)
            QCOMPARE(window.platform.openedUrls.front(), QUrl(shell::Main::kHomePage));
    }

    void titleRuleDropsTheLastWord()
    {
        QCOMPARE(shell::Main::ApplicationTitleFrom("Velunor"), QStringLiteral("Velunor"));
        QCOMPARE(shell::Main::ApplicationTitleFrom("Velunor Mono Converter"),
                 QStringLiteral("Velunor Mono"));
        const QString longName =
            QStringLiteral("Alpha Beta Gamma Delta Epsilon Zeta Eta Theta Iota Kappa Lambda");
        const QString title = shell::Main::ApplicationTitleFrom(longName);
        QCOMPARE(title, QStringLiteral("Alpha Beta Gamma Delta Epsilon Zeta Eta"));
        QVERIFY(title.size() <= 40);
    }

    void handCursorShowsOverButtonsOnly()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QVERIFY(form.MouseIcon().has_value());
        QCOMPARE(form.MouseIcon()->shape(), Qt::BitmapCursor);
        QCOMPARE(form.MouseIcon()->hotSpot(), QPoint(13, 1));

        MoveOver(Controls(form).PushButton3);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Custom);
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        MoveOver(Controls(form).Frame2);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Default);
        MoveOver(Controls(form).PushButton7); // inside a frame
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Custom);
        MoveOver(Controls(form).Text1);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Default);
        MoveOver(Controls(form).PushButton8);
        MoveOver(&form);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Default);
        MoveOver(Controls(form).PushButton1);
        MoveOver(Controls(form).Frame1);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Default);
    }

    void realMouseMovesFollowTheSameRules()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QTest::mouseMove(Controls(form).PushButton2, QPoint(20, 10));
        QTRY_COMPARE(form.MousePointer().kind(), app::PointerKind::Custom);
        QTest::mouseMove(&form, QPoint(4, 4));
        QTRY_COMPARE(form.MousePointer().kind(), app::PointerKind::Default);
    }

    void hourglassSurvivesHovering()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        form.setMousePointer(app::PointerKind::Hourglass);
        for (QWidget *area : QList<QWidget *>{Controls(form).PushButton1, &form,
                                              Controls(form).Text1, Controls(form).Frame1,
                                              Controls(form).Frame2, Controls(form).PushButton7})
            MoveOver(area);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Hourglass);
        QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
        QCOMPARE(Controls(form).Text1->cursor().shape(), Qt::WaitCursor);
        form.setMousePointer(app::PointerKind::Default);
        QCOMPARE(Controls(form).Text1->cursor().shape(), Qt::IBeamCursor);
    }

    void withoutCursorFileTheHandIsTheArrow()
    {
        QTemporaryDir programFolder;
        TestWindow window(programFolder.path());
        window.load();
        app::Form1 &form = window.form();
        QVERIFY(!form.MouseIcon().has_value());
        QVERIFY(window.platform.messages.isEmpty());
        MoveOver(Controls(form).PushButton1);
        QCOMPARE(form.MousePointer().kind(), app::PointerKind::Custom);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void damagedCursorFileIsReportedAtStep108()
    {
        QTemporaryDir programFolder;
        QVERIFY(WriteFile(programFolder.filePath("HAND-M.CUR"), "not a cursor at all"));
        TestWindow window(programFolder.path());
        window.load();
        QCOMPARE(window.platform.messageTexts(), QStringList{ReportFor("Invalid picture", 108)});
        QVERIFY(!window.form().MouseIcon().has_value());
        // Start-up went on to the restore.
        QCOMPARE(window.stored("Option1"), QStringLiteral("True"));
    }

    void skinFileRestylesTheWindow()
    {
        QTemporaryDir programFolder;
        QVERIFY(
            WriteFile(programFolder.filePath("x/o.cjs"), "QPushButton { color: rgb(1, 2, 3); }"));
        TestWindow window(programFolder.path());
        window.load();
        app::Form1 &form = window.form();
        QVERIFY(window.platform.messages.isEmpty());
        QCOMPARE(form.styleSheet(), QStringLiteral("QPushButton { color: rgb(1, 2, 3); }"));
        QCOMPARE(form.palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
        QCOMPARE(Controls(form).Frame1->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
    }

    void withoutSkinTheDesignedWhiteStays()
    {
        QTemporaryDir programFolder;
        // A folder where the skin file would be is not a skin.
        QDir().mkpath(programFolder.filePath("x/o.cjs"));
        TestWindow window(programFolder.path());
        window.load();
        app::Form1 &form = window.form();
        QVERIFY(window.platform.messages.isEmpty());
        QVERIFY(form.styleSheet().isEmpty());
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(Controls(form).Option2->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void closingTheWindowEndsTheProgram()
    {
        TestWindow window;
        window.load();
        window.form().close();
        QCOMPARE(window.endProgramCalls, 1);
    }

    void pathExistsNeverFails()
    {
        QTemporaryDir folder;
        QVERIFY(platform::Main::PathExists(AsPath(folder.path())));
        QVERIFY(!platform::Main::PathExists(Path()));
        QVERIFY(!platform::Main::PathExists(AsPath(folder.filePath("missing"))));
        QVERIFY(!platform::Main::PathExists(Path::FromBytes("/no\nsuch\tname")));
        const QString link = folder.filePath("dangling");
        QVERIFY(QFile::link(folder.filePath("nowhere"), link));
        QVERIFY(!platform::Main::PathExists(AsPath(link)));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
