// The window as a screen reader reads it (every control's role, name, state
// and value, through the same QAccessible interfaces the desktop's bridge
// uses) and as a keyboard user works it, without the mouse.

#include "TestWindow.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
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

QString NameOf(QWidget *control)
{
    return Published(control)->text(QAccessible::Name);
}

// Every object a reader finds below `root` by walking the accessible tree.
QSet<QObject *> Reachable(QAccessibleInterface *root)
{
    QSet<QObject *> found;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        found.insert(child->object());
        found += Reachable(child);
    }
    return found;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyControlHasItsRoleAndASpokenName()
    {
        TestWindow window;
        window.load();
        Form1 &form = window.form();
        QCOMPARE(Published(&form)->role(), QAccessible::Window);
        QCOMPARE(NameOf(&form), QStringLiteral("Velunor"));

        struct Expected {
            QWidget *control;
            QAccessible::Role role;
            QString name;
        };
        const QList<Expected> expected = {
            {form.PushButton6, QAccessible::Button, "What is Mono and Stereo?"},
            {form.PushButton8, QAccessible::Button, "Help"},
            {form.ListView1, QAccessible::Tree, "MP3 files to convert"},
            {form.PushButton1, QAccessible::Button, "Add MP3 File(s)"},
            {form.PushButton3, QAccessible::Button, "Add All MP3 File(s) In Folder"},
            {form.PushButton4, QAccessible::Button, "Clear List"},
            {form.PushButton5, QAccessible::Button, "Load Sample/Example Files"},
            {form.Frame2, QAccessible::Grouping, "Options"},
            {form.Option1, QAccessible::RadioButton, form.Option1->text()},
            {form.Option2, QAccessible::RadioButton, form.Option2->text()},
            {form.Option3, QAccessible::RadioButton, form.Option3->text()},
            {form.Frame1, QAccessible::Grouping, "Save Results To This Folder"},
            {form.Text1, QAccessible::EditableText, "Output folder"},
            {form.PushButton7, QAccessible::Button, "Browse for the output folder"},
            {form.PushButton2, QAccessible::Button, "Start Converting"},
            {form.ProgressBar1, QAccessible::ProgressBar, "Progress Bar"},
        };
        const QSet<QObject *> reachable = Reachable(Published(&form));
        for (const Expected &item : expected) {
            const QString what = item.control->objectName();
            QAccessibleInterface *control = Published(item.control);
            QVERIFY2(reachable.contains(item.control), qPrintable(what));
            QVERIFY2(control->role() == item.role, qPrintable(what));
            QCOMPARE(control->text(QAccessible::Name), item.name);
            QVERIFY2(!control->state().invisible, qPrintable(what));
            const bool takesFocus =
                !qobject_cast<QGroupBox *>(item.control) && item.control != form.ProgressBar1;
            QVERIFY2(control->state().focusable == takesFocus, qPrintable(what));
        }
        QVERIFY(!Published(form.ListView1)->text(QAccessible::Description).isEmpty());
        QCOMPARE(Published(form.Text1)->text(QAccessible::Value), form.Text1->text());

        // The button that holds the first focus outside the window is not
        // presented, though it has the focus.
        QAccessible::State holder = Published(form.Command1)->state();
        QVERIFY(holder.invisible);
        QVERIFY(holder.focused);
        QCOMPARE(NameOf(form.Command1), QString());
    }

    void optionsAreRadioButtonsUnderTheWindowsRule()
    {
        TestWindow window;
        window.load();
        Form1 &form = window.form();
        // Each option as published: 1 checked, 0 not, -1 not even checkable.
        auto checked = [&form] {
            QList<int> states;
            for (QWidget *option : {form.Option1, form.Option2, form.Option3}) {
                const QAccessible::State state = Published(option)->state();
                states << (state.checkable ? int(state.checked) : -1);
            }
            return states;
        };
        QCOMPARE(checked(), (QList<int>{1, 0, 0}));

        // Selecting through assistive technology follows the window's rule
        // and is stored, twice on the same option keeps it selected.
        QAccessibleActionInterface *option2 = Published(form.Option2)->actionInterface();
        QVERIFY(option2);
        option2->doAction(QAccessibleActionInterface::pressAction());
        option2->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(checked(), (QList<int>{0, 1, 0}));
        QCOMPARE(window.stored("Option2"), QStringLiteral("True"));
        QCOMPARE(window.stored("Option1"), QStringLiteral("False"));

        // The program may clear all three.
        form.setOptionValue(form.Option2, false);
        QCOMPARE(checked(), (QList<int>{0, 0, 0}));
    }

    void theBarPublishesItsTextAndItsNumber()
    {
        TestWindow window;
        window.load();
        ProgressBar &bar = *window.form().ProgressBar1;
        QAccessibleInterface *published = Published(&bar);
        bar.setText(QStringLiteral("Processing: a.mp3"));
        bar.setValue(25);
        QCOMPARE(published->text(QAccessible::Name), QStringLiteral("Processing: a.mp3"));
        QCOMPARE(published->valueInterface()->currentValue().toInt(), 25);
        bar.setText(QStringLiteral("Please wait.. 12"));
        QCOMPARE(published->text(QAccessible::Name), QStringLiteral("Please wait.. 12"));
        QCOMPARE(bar.text(), QStringLiteral("Please wait.. 12"));
    }

    // Tab through every stop in the designed order, hearing each one, and
    // work each kind of control with the keyboard alone.
    void theKeyboardAloneWorksTheWindow()
    {
        QTemporaryDir output;
        TestWindow window;
        window.load();
        Form1 &form = window.form();
        form.ListView1->items().add({"/music/a.mp3", "/music/b.mp3", "/music/c.mp3"});
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        const QStringList heard = {"MP3 files to convert",
                                   "Add MP3 File(s)",
                                   "Add All MP3 File(s) In Folder",
                                   "Start Converting",
                                   "Clear List",
                                   "Load Sample/Example Files",
                                   "Output folder",
                                   "Browse for the output folder",
                                   form.Option1->text(),
                                   form.Option2->text(),
                                   form.Option3->text(),
                                   "What is Mono and Stereo?",
                                   "Help"};
        auto tab = [&](int stop) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(Published(focused)->state().focused);
            QCOMPARE(NameOf(focused), heard[stop]);
        };

        tab(0); // the list: Down selects a file, Delete removes it
        QTest::keyClick(form.ListView1, Qt::Key_Down);
        QTest::keyClick(form.ListView1, Qt::Key_Down);
        QCOMPARE(form.ListView1->selectedIndex(), 3);
        QTest::keyClick(form.ListView1, Qt::Key_Up);
        QTest::keyClick(form.ListView1, Qt::Key_Delete);
        QCOMPARE(form.ListView1->items().count(), 2);
        QCOMPARE(form.ListView1->items().text(2), QStringLiteral("/music/c.mp3"));

        tab(1); // Space presses a button
        window.platform.fileDialogAnswers.push_back([] { return QString(); });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(window.platform.fileDialogs.size(), 1);

        for (int stop = 2; stop <= 6; ++stop)
            tab(stop);
        // The output folder takes typing, all its text selected on arrival.
        QTest::keyClicks(QApplication::focusWidget(), "/typed/");
        QCOMPARE(form.Text1->text(), QStringLiteral("/typed/"));
        QCOMPARE(window.stored("Output Folder"), QStringLiteral("/typed/"));

        tab(7);
        window.platform.folderAnswers.push_back(output.path());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(form.Text1->text(), output.path() + "/");

        tab(8);
        tab(9); // Space selects an option, again keeps it
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(form.Option2->isChecked() && !form.Option1->isChecked());
        QVERIFY(Published(form.Option2)->state().checked);
        QCOMPARE(window.stored("Option2"), QStringLiteral("True"));

        for (int stop = 10; stop < heard.size(); ++stop)
            tab(stop);
        QVERIFY(window.platform.unexpected.isEmpty());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
