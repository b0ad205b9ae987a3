// "Add All MP3 File(s) In Folder" through the real button: the two questions,
// what a search adds and in what order, the hourglass while it runs, the
// window's events during the search, and a failure part way.

#include "FolderTree.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "shell/Locations.h"
#include "shell/ui/ErrorReport.h"

#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kPrompt = QStringLiteral("Enter file extension to load:\r\r(* for all files, txt for "
                                       "all txt files, doc for all doc files, etc.)");

// A window whose folder search is answered with `extension` and `folder`.
class SearchFixture {
public:
    SearchFixture() { window.load(); }

    // Clicks the button; the search runs on until the hourglass goes.
    void start(const QString &extension, const QString &folder)
    {
        window.platform.inputAnswers.push_back(extension);
        window.platform.folderAnswers.push_back(folder);
        QTest::mouseClick(window.ui().PushButton3, Qt::LeftButton);
    }
    // Clicks the button and waits for the search to end.
    void click(const QString &extension, const QString &folder)
    {
        start(extension, folder);
        QTRY_VERIFY_WITH_TIMEOUT(!window->MousePointer().isBusy(), 60000);
    }
    QStringList items(const FolderTree &tree)
    {
        return tree.relative(Texts(window.ui().ListView1->items().paths()));
    }

    TestWindow window;
};

// Makes `levels` nested folders with names of 200 characters below `top`, so
// that the deepest paths are longer than any path the system accepts.
} // namespace

class AddFolderButtonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cancellingEitherQuestionAddsNothing()
    {
        FolderTree tree({"a.mp3"});
        SearchFixture fixture;
        ScriptedPlatform &platform = fixture.window.platform;

        fixture.window.platform.inputAnswers.push_back(QString());
        QTest::mouseClick(fixture.window.ui().PushButton3, Qt::LeftButton);
        QCOMPARE(platform.inputPrompts, QList<QString>({kPrompt}));
        QVERIFY(platform.folderPrompts.isEmpty());

        fixture.click("mp3", QString());
        QCOMPARE(platform.folderPrompts, QList<QString>({"Please select folder:"}));
        QCOMPARE(fixture.window.ui().ListView1->items().count(), 0);
        QCOMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Default);
        QVERIFY(platform.messages.isEmpty());
        QVERIFY(platform.unexpected.isEmpty());
    }

    void addsTheFolderFirstThenItsSubfolders()
    {
        FolderTree tree({"b.mp3", "a.mp3", "notes.txt", "sub/c.mp3"});
        SearchFixture fixture;
        fixture.click("mp3", tree.path());
        QCOMPARE(fixture.items(tree), QStringList({"a.mp3", "b.mp3", "sub/c.mp3"}));
        QCOMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Default);
        QVERIFY(fixture.window.platform.messages.isEmpty());

        // The same folder again lists every file again.
        fixture.click("mp3", tree.path() + '/');
        QCOMPARE(fixture.items(tree),
                 QStringList({"a.mp3", "b.mp3", "sub/c.mp3", "a.mp3", "b.mp3", "sub/c.mp3"}));
    }

    void searchesLevelByLevelForTheTypedExtension()
    {
        FolderTree tree({"A/a.mp3", "A/B/b.MP3", "A/C/c.mp3", "A/B/D/d.mp3", "A/C/E/e.Mp3",
                         "A/C/E/notes.txt", "A/C/noext"});
        const QStringList mp3s = {"A/a.mp3", "A/B/b.MP3", "A/C/c.mp3", "A/B/D/d.mp3",
                                  "A/C/E/e.Mp3"};
        SearchFixture lower;
        lower.click("mp3", tree.path("A"));
        QCOMPARE(lower.items(tree), mp3s);
        SearchFixture upper;
        upper.click("MP3", tree.path("A"));
        QCOMPARE(upper.items(tree), mp3s);
        SearchFixture every;
        every.click("*", tree.path("A"));
        QCOMPARE(every.items(tree), QStringList({"A/a.mp3", "A/B/b.MP3", "A/C/c.mp3", "A/C/noext",
                                                 "A/B/D/d.mp3", "A/C/E/e.Mp3", "A/C/E/notes.txt"}));
    }

    void showsTheHourglassAndKeepsTheWindowAliveWhileSearching()
    {
        FolderTree tree({"A/B/D/d.mp3", "A/C/E/e.mp3"});
        SearchFixture fixture;
        // The search goes on after the click, on a worker: the window is
        // free and shows the hourglass until the files are in the list.
        fixture.start("mp3", tree.path("A"));
        QCOMPARE(int(fixture.window->MousePointer().kind()), 11);
        QCOMPARE(fixture.window.ui().ListView1->items().count(), 0);
        QTRY_COMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Default);
        QCOMPARE(fixture.items(tree), QStringList({"A/B/D/d.mp3", "A/C/E/e.mp3"}));
    }

    void aFolderThatCannotBeOpenedCostsNothingElse()
    {
        // The chain's deepest folder has a path too long to open; the files
        // of the folders beside it, deeper still, are found all the same.
        QString deep = "B/";
        for (char level = 'a'; level <= 'x'; ++level)
            deep += QString(QChar(level)) + "/";
        FolderTree tree({"top.mp3", "A/a.mp3", deep + "deep.mp3"});
        QVERIFY(tree.addTooDeepChain("A", 22));
        SearchFixture fixture;
        fixture.click("mp3", tree.path());
        QCOMPARE(fixture.window.platform.messageTexts(), QStringList());
        QCOMPARE(fixture.items(tree), QStringList({"top.mp3", "A/a.mp3", deep + "deep.mp3"}));
        QCOMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Default);
    }
};

QTEST_MAIN(AddFolderButtonTest)
#include "test_add_folder_button.moc"
