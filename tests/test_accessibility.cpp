// The window as a screen reader reads it, through the QAccessible interfaces
// the desktop's bridge publishes, and as a keyboard user works it.

#include "TestWindow.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

QAccessibleInterface *Published(QWidget *control)
{
    return QAccessible::queryAccessibleInterface(control);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Tab through every stop in the designed order, hearing what each one
    // is, and work each kind of control with the keyboard alone.
    void theKeyboardWalksTheWindowAsAReaderHearsIt()
    {
        QTemporaryDir output;
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        QCOMPARE(Published(&form)->role(), QAccessible::Window);
        QCOMPARE(Published(&form)->text(QAccessible::Name), QStringLiteral("Velunor"));
        Controls(form).ListView1->items().add(
            testing::Paths({"/music/a.mp3", "/music/b.mp3", "/music/c.mp3"}));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        using R = QAccessible::Role;
        const QList<std::pair<R, QString>> stops = {
            {R::Tree, "MP3 files to convert"},
            {R::Button, "Add MP3 File(s)"},
            {R::Button, "Add All MP3 File(s) In Folder"},
            {R::Button, "Start Converting"},
            {R::Button, "Clear List"},
            {R::Button, "Load Sample/Example Files"},
            {R::EditableText, "Output folder"},
            {R::Button, "Browse for the output folder"},
            {R::RadioButton, Controls(form).Option1->text()},
            {R::RadioButton, Controls(form).Option2->text()},
            {R::RadioButton, Controls(form).Option3->text()},
            {R::Button, "What is Mono and Stereo?"},
            {R::Button, "Help"}};
        int stop = 0;
        auto tab = [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QAccessibleInterface *focused = Published(QApplication::focusWidget());
            QVERIFY(focused->state().focused && !focused->state().invisible);
            QVERIFY2(focused->role() == stops[stop].first, qPrintable(stops[stop].second));
            QCOMPARE(focused->text(QAccessible::Name), stops[stop++].second);
        };
        auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };

        tab(); // the list: arrows select a file, Delete removes it
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        press(Qt::Key_Up);
        press(Qt::Key_Delete);
        QCOMPARE(Controls(form).ListView1->items().count(), 2);
        QCOMPARE(Controls(form).ListView1->itemText(2), QStringLiteral("/music/c.mp3"));
        tab(); // Space presses a button
        window.platform.fileDialogAnswers.push_back([] { return QString(); });
        press(Qt::Key_Space);
        QCOMPARE(window.platform.fileDialogs.size(), 1);
        for (int i = 0; i < 5; ++i)
            tab();
        QTest::keyClicks(QApplication::focusWidget(), "/typed/");
        QCOMPARE(window.stored("Output Folder"), QStringLiteral("/typed/"));
        tab();
        window.platform.folderAnswers.push_back(output.path());
        press(Qt::Key_Space);
        QCOMPARE(Controls(form).Text1->text(), output.path() + "/");
        tab();
        tab(); // Space selects an option, and again keeps it selected
        press(Qt::Key_Space);
        press(Qt::Key_Space);
        QVERIFY(Published(Controls(form).Option2)->state().checked);
        QVERIFY(!Published(Controls(form).Option1)->state().checked);
        while (stop < stops.size())
            tab();
        // Round again to the button that holds the first focus, which is
        // not presented.
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Controls(form).Command1);
        QVERIFY(Published(Controls(form).Command1)->state().invisible);
        QCOMPARE(Published(Controls(form).Command1)->text(QAccessible::Name), QString());
        QVERIFY(window.platform.unexpected.isEmpty());
    }

    void optionsAreRadioButtonsUnderTheWindowsRule()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        auto published = [&form] {
            QList<int> states; // 1 checked, 0 not, -1 not even checkable
            for (QWidget *option :
                 {Controls(form).Option1, Controls(form).Option2, Controls(form).Option3}) {
                const QAccessible::State state = Published(option)->state();
                states << (state.checkable ? int(state.checked) : -1);
            }
            return states;
        };
        QCOMPARE(published(), (QList<int>{1, 0, 0}));
        // Pressed through assistive technology, an option is clicked: the
        // window's rule and the stored choice follow.
        QAccessibleActionInterface *option2 = Published(Controls(form).Option2)->actionInterface();
        QVERIFY(option2);
        option2->doAction(QAccessibleActionInterface::pressAction());
        option2->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(published(), (QList<int>{0, 1, 0}));
        QCOMPARE(window.stored("Option2"), QStringLiteral("True"));
        // The program may clear all three.
        form.setOptionValue(Controls(form).Option2, false);
        QCOMPARE(published(), (QList<int>{0, 0, 0}));
    }

    void theBarPublishesItsTextBesidesItsNumber()
    {
        TestWindow window;
        window.load();
        app::ProgressBar &bar = *window.ui().ProgressBar1;
        QAccessibleInterface *published = Published(&bar);
        QCOMPARE(published->text(QAccessible::Name), QStringLiteral("Progress Bar"));
        bar.setText(QStringLiteral("Please wait.. 12"));
        bar.setValue(25);
        QCOMPARE(published->text(QAccessible::Name), QStringLiteral("Please wait.. 12"));
        QCOMPARE(published->valueInterface()->currentValue().toInt(), 25);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
