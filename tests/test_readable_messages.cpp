// Messages as the real desktop shows them: the text can be selected and
// copied, and the details the window passes sit behind the box's details
// button.

#include "app/Form1.h"
#include "platform/ui/QtPlatform.h"
#include "shell/SettingsStore.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>

using namespace velunor;

namespace {

// The real desktop, with the home page's draw fixed on a number that opens
// nothing.
class DesktopWithoutHomePage : public platform::QtPlatform {
public:
    double nextRandom() override { return 0.5; }
};

// Runs `look` on the message box once its own event loop runs, then closes
// it with its first button. Returns whether a box was seen.
class WhileTheBoxIsOpen {
public:
    explicit WhileTheBoxIsOpen(std::function<void(QMessageBox &)> look) : look_(std::move(look))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer_.stop();
            seen_ = true;
            look_(*box);
            box->buttons().front()->click();
        });
        timer_.start();
    }
    bool seen() const { return seen_; }

private:
    std::function<void(QMessageBox &)> look_;
    QTimer timer_;
    bool seen_ = false;
};

} // namespace

class ReadableMessagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theTextCanBeSelectedAndCopiedByKeyboard()
    {
        QApplication::clipboard()->clear();
        QString shownText;
        Qt::TextInteractionFlags flags;
        QString copied;
        WhileTheBoxIsOpen box([&](QMessageBox &shown) {
            auto *label = shown.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shownText = label->text();
            flags = label->textInteractionFlags();
            // The first line, selected and copied with the keyboard alone.
            label->setFocus();
            QTest::keyClick(label, Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClick(label, Qt::Key_End, Qt::ShiftModifier);
            QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
            copied = QApplication::clipboard()->text();
        });
        DesktopWithoutHomePage desktop;
        const platform::MessageAnswer answer =
            desktop.messageBox(nullptr, QStringLiteral("Permission denied\r\nin X at line 102"),
                               QStringLiteral("Application Error"), platform::MessageButtons::Ok,
                               platform::MessageIcon::Warning);
        QVERIFY(box.seen());
        QCOMPARE(answer, platform::MessageAnswer::Ok);
        QVERIFY(flags.testFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
        QCOMPARE(shownText, QStringLiteral("Permission denied\nin X at line 102"));
        QCOMPARE(copied, QStringLiteral("Permission denied"));
    }

    // The window's message with details, through the real box: the whole
    // list is behind the details button, and a message without details has
    // no such button.
    void theWindowsDetailsSitBehindTheBox()
    {
        QTemporaryDir folder;
        const auto settings =
            shell::SettingsStore::AtPath(folder.filePath(QStringLiteral("s.conf")));
        DesktopWithoutHomePage desktop;
        app::Form1 form(desktop, *settings, QStringLiteral(VELUNOR_PROGRAM_DIR));
        form.Form_Load();

        const QString details =
            QStringLiteral("/music/a.mp3: the converter failed: sox FAIL formats\r\n"
                           "/music/b.mp3: not started, the run was stopped");
        QString title, text, detailedText, detailsShown;
        WhileTheBoxIsOpen withDetails([&](QMessageBox &shown) {
            title = shown.windowTitle();
            text = shown.text();
            detailedText = shown.detailedText();
            if (auto *list = shown.findChild<QTextEdit *>())
                detailsShown = list->toPlainText();
        });
        form.showMessage(QStringLiteral("2 of 3 files were not converted."), details);
        QVERIFY(withDetails.seen());
        QCOMPARE(title, form.applicationTitle());
        QCOMPARE(text, QStringLiteral("2 of 3 files were not converted."));
        const QString drawn =
            QStringLiteral("/music/a.mp3: the converter failed: sox FAIL formats\n"
                           "/music/b.mp3: not started, the run was stopped");
        QCOMPARE(detailedText, drawn);
        QCOMPARE(detailsShown, drawn);

        int buttons = 0;
        bool hasDetailsView = true;
        WhileTheBoxIsOpen plain([&](QMessageBox &shown) {
            buttons = static_cast<int>(shown.buttons().size());
            hasDetailsView = shown.findChild<QTextEdit *>() != nullptr;
        });
        form.showMessage(QStringLiteral("Done."));
        QVERIFY(plain.seen());
        QCOMPARE(buttons, 1);
        QVERIFY(!hasDetailsView);
    }
};

QTEST_MAIN(ReadableMessagesTest)
#include "test_readable_messages.moc"
