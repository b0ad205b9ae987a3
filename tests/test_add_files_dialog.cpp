// Adding files with the file dialog: the result shape the desktop gives (one
// path, or folder and names), the join of folder and names, the overflow of
// the result buffer, and "Add MP3 File(s)" through the real button.

#include "TestWindow.h"
#include "app/FileListView.h"
#include "filelist/PickedFiles.h"
#include "platform/ui/QtPlatform.h"
#include "shell/ui/ErrorReport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <QTimer>
#include <fcntl.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QChar Nul(u'\0');

const QString kTooManyFiles =
    QStringLiteral("You've selected too many files to add.\r\rPlease try adding via the "
                   "\"Add All\" button.");

QString Multi(const QStringList &pieces)
{
    return pieces.join(Nul);
}

// Answers the next file dialog with `result`.
void Answer(TestWindow &window, const QString &result)
{
    window.platform.fileDialogAnswers.push_back([result] { return result; });
}

QStringList Listed(TestWindow &window)
{
    return Texts(window.ui().ListView1->items().paths());
}

void ClickAddFiles(TestWindow &window)
{
    QTest::mouseClick(window.ui().PushButton1, Qt::LeftButton);
}

} // namespace

class AddFilesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theDialogResultNamesThesePaths_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("cancelled") << QString() << QStringList();
        QTest::newRow("one file") << QStringLiteral("/home/ann/Music/a.mp3")
                                  << QStringList({"/home/ann/Music/a.mp3"});
        QTest::newRow("one file is kept exactly")
            << QStringLiteral("/home//ann/a b.mp3") << QStringList({"/home//ann/a b.mp3"});
        QTest::newRow("several in the dialog's order")
            << Multi({"/home/ann/Music", "b.mp3", "a.mp3", "c.mp3"})
            << QStringList(
                   {"/home/ann/Music/b.mp3", "/home/ann/Music/a.mp3", "/home/ann/Music/c.mp3"});
        QTest::newRow("several in the root folder")
            << Multi({"/", "a.mp3", "b.mp3"}) << QStringList({"/a.mp3", "/b.mp3"});
        QTest::newRow("a folder ending in a separator")
            << Multi({"/music/", "a.mp3", "b.mp3"})
            << QStringList({"/music/a.mp3", "/music/b.mp3"});
        QTest::newRow("no doubled separator survives")
            << Multi({"///music//", "a.mp3", "b.mp3"})
            << QStringList({"/music/a.mp3", "/music/b.mp3"});
        QTest::newRow("the same name twice")
            << Multi({"/m", "a.mp3", "a.mp3"}) << QStringList({"/m/a.mp3", "/m/a.mp3"});
        QTest::newRow("spaces and letters beyond ASCII")
            << Multi({QStringLiteral("/m/Ärger und Ölfässer"), QStringLiteral("Ünd 1.mp3"),
                      QStringLiteral("ß.mp3")})
            << QStringList({QStringLiteral("/m/Ärger und Ölfässer/Ünd 1.mp3"),
                            QStringLiteral("/m/Ärger und Ölfässer/ß.mp3")});
        QTest::newRow("names below the folder") << Multi({"/", "home/ann/a.mp3", "tmp/b.mp3"})
                                                << QStringList({"/home/ann/a.mp3", "/tmp/b.mp3"});
        QTest::newRow("an empty name names no file")
            << Multi({"/m", "a.mp3", "", "b.mp3", ""}) << QStringList({"/m/a.mp3", "/m/b.mp3"});
    }

    void theDialogResultNamesThesePaths()
    {
        QFETCH(QString, result);
        QFETCH(QStringList, paths);
        QCOMPARE(Texts(filelist::PickedFilePaths(result)), paths);
    }

    // A dialog shows a name that is not UTF-8 with a replacement character:
    // the file it stands for is found again by its bytes.
    void aNameTheDialogCouldNotDecodeIsFoundAgain()
    {
        QTemporaryDir folder;
        const QByteArray bytes = QFile::encodeName(folder.path()) + "/caf\xe9.mp3";
        const int file = ::open(bytes.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(file >= 0);
        ::close(file);
        const QString shown = folder.path() + QStringLiteral("/caf\uFFFD.mp3");
        const QList<Path> picked = filelist::PickedFilePaths(shown);
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.front().bytes(), bytes);
        ::unlink(bytes.constData());
    }

    void theDesktopJoinsPicksIntoTheResultShape()
    {
        QCOMPARE(platform::JoinFileDialogResult({}, 32768), QString());
        QCOMPARE(platform::JoinFileDialogResult({"/m/a.mp3"}, 32768), QStringLiteral("/m/a.mp3"));
        QCOMPARE(platform::JoinFileDialogResult({"/m/a.mp3", "/m/b.mp3"}, 32768),
                 Multi({"/m", "a.mp3", "b.mp3"}));
        QCOMPARE(platform::JoinFileDialogResult({"/a.mp3", "/b.mp3"}, 32768),
                 Multi({"/", "a.mp3", "b.mp3"}));

        // Joined and split again, the picks come back unchanged.
        for (const QStringList &picks :
             {QStringList({"/a.mp3", "/b c.mp3"}), QStringList({"/x/y z/1.mp3", "/x/y z/2.mp3"}),
              QStringList({"/x/only.mp3"}),
              // A name typed with a folder of its own keeps that folder.
              QStringList({"/one/a.mp3", "/other/x.mp3", "/one/b.mp3"})})
            QCOMPARE(Texts(filelist::PickedFilePaths(platform::JoinFileDialogResult(picks, 32768))),
                     picks);
    }

    // The buffer holds the text and its terminating NUL; a multi-selection
    // ends in a second NUL.
    void theResultBufferOverflowsAtItsLastCharacter()
    {
        const QStringList one = {"/m/a.mp3"}; // 8 characters
        QCOMPARE(platform::JoinFileDialogResult(one, 9), one.front());
        try {
            platform::JoinFileDialogResult(one, 8);
            QFAIL("an overlong single pick was accepted");
        } catch (const platform::PlatformError &error) {
            QCOMPARE(error.number(), platform::kDialogBufferTooSmall);
        }

        const QStringList two = {"/m/a.mp3", "/m/b.mp3"}; // "/m" NUL "a.mp3" NUL "b.mp3": 14
        QCOMPARE(platform::JoinFileDialogResult(two, 16).size(), 14);
        try {
            platform::JoinFileDialogResult(two, 15);
            QFAIL("an overlong multi-selection was accepted");
        } catch (const platform::PlatformError &error) {
            QCOMPARE(error.number(), platform::kDialogBufferTooSmall);
        }
    }

    void theButtonAsksForMp3FilesAndCancelAddsNothing()
    {
        TestWindow window;
        window.load();
        window.ui().ListView1->items().add(AsPath("/m/kept.mp3"));
        Answer(window, QString());
        ClickAddFiles(window);

        QCOMPARE(window.platform.fileDialogs.size(), 1);
        const platform::FileDialogRequest &request = window.platform.fileDialogs.front();
        QCOMPARE(request.title, QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"));
        QCOMPARE(request.filter, QStringLiteral("MP3 File (*.mp3)|*.mp3|"));
        QVERIFY(request.multiSelect);
        QVERIFY(request.readOnlyChecked);
        QCOMPARE(request.resultBufferChars, 32768);

        QCOMPARE(Listed(window), QStringList({"/m/kept.mp3"}));
        QVERIFY(window.platform.messages.isEmpty());
        QVERIFY(window.platform.unexpected.isEmpty());
    }

    void picksAreAppendedInTheDialogsOrderRepeatsIncluded()
    {
        TestWindow window;
        window.load();
        window.ui().ListView1->items().add(AsPath("/m/first.mp3"));

        Answer(window, QStringLiteral("/home/ann/one.mp3"));
        ClickAddFiles(window);
        Answer(window, Multi({"/home/ann", "c.mp3", "a.mp3", "b.mp3"}));
        ClickAddFiles(window);
        Answer(window, Multi({"/", "root 1.mp3", "root 2.mp3"}));
        ClickAddFiles(window);
        Answer(window, QStringLiteral("/home/ann/one.mp3"));
        ClickAddFiles(window);

        QCOMPARE(
            Listed(window),
            QStringList({"/m/first.mp3", "/home/ann/one.mp3", "/home/ann/c.mp3", "/home/ann/a.mp3",
                         "/home/ann/b.mp3", "/root 1.mp3", "/root 2.mp3", "/home/ann/one.mp3"}));
        QVERIFY(window.platform.messages.isEmpty());
    }

    void tooManyFilesTellsTheUserAndAddsNothing()
    {
        TestWindow window;
        window.load();
        window.ui().ListView1->items().add(AsPath("/m/kept.mp3"));

        // The overflow as the real desktop raises it for a very large pick.
        QStringList many;
        for (int i = 0; i < 2000; ++i)
            many << QStringLiteral("/home/ann/Music/a rather long track name %1.mp3").arg(i);
        window.platform.fileDialogAnswers.push_back([&many, &window] {
            return platform::JoinFileDialogResult(
                many, window.platform.fileDialogs.back().resultBufferChars);
        });
        ClickAddFiles(window);

        QCOMPARE(Listed(window), QStringList({"/m/kept.mp3"}));
        QCOMPARE(window.platform.messages.size(), 1);
        const ShownMessage &shown = window.platform.messages.front();
        QCOMPARE(shown.text, kTooManyFiles);
        QCOMPARE(shown.title, window->applicationTitle());
        QCOMPARE(shown.buttons, platform::MessageButtons::Ok);
        QCOMPARE(shown.icon, platform::MessageIcon::None);
    }

    void anotherDialogFailureIsReportedAndAddsNothing()
    {
        TestWindow window;
        window.load();
        window.platform.fileDialogAnswers.push_back([]() -> QString {
            throw platform::PlatformError(QStringLiteral("The dialog could not be created."));
        });
        ClickAddFiles(window);

        QCOMPARE(Listed(window), QStringList());
        QCOMPARE(window.platform.messageTexts(),
                 QStringList({shell::ErrorReportText(
                     QStringLiteral("The dialog could not be created."),
                     QStringLiteral("in Korvath2016/11/03.Form1.PushButton1_Click "), 100)}));
        QCOMPARE(window.platform.messages.front().title, QStringLiteral("Application Error"));
    }

    // The real dialog, answered by typing two names as a user would, gives
    // the result shape the handler splits.
    void theRealDialogGivesFolderAndNames()
    {
        QTemporaryDir folder;
        for (const char *name : {"a.mp3", "b.mp3", "notes.txt"}) {
            QFile file(folder.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList offered;
        bool answered = false;
        // Answers the dialog once its own event loop runs; a dialog without
        // the name box is turned down, so the test cannot hang on it.
        QTimer answer;
        answer.setInterval(0);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            offered = dialog->nameFilters();
            dialog->setDirectory(folder.path());
            auto *names = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!names) {
                dialog->reject();
                return;
            }
            names->setText(QStringLiteral("\"a.mp3\" \"b.mp3\""));
            answered = true;
            QTest::keyClick(names, Qt::Key_Return);
        });
        answer.start();
        platform::QtPlatform desktop;
        platform::FileDialogRequest request;
        request.title = QStringLiteral("Pick");
        request.filter = QStringLiteral("MP3 File (*.mp3)|*.mp3|");
        request.multiSelect = true;
        const QString result = desktop.openFileDialog(nullptr, request);
        QVERIFY(answered);
        QCOMPARE(offered, QStringList({"MP3 File (*.mp3)"}));
        QCOMPARE(Texts(filelist::PickedFilePaths(result)),
                 QStringList({folder.filePath("a.mp3"), folder.filePath("b.mp3")}));
    }
};

QTEST_MAIN(AddFilesDialogTest)
#include "test_add_files_dialog.moc"
