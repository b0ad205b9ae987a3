// The folder-search routines on real folders: which files a folder listing
// gives and in what order, which folders the breadth-first walk enters, and
// which listed files are added to the list.

#include "Files.h"
#include "FolderTree.h"
#include "filelist/AddFolder.h"
#include "filelist/FileListModel.h"

#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

// The walk's result relative to the tree, for short expectations.
QStringList Walk(const FolderTree &tree, const QStringList &given, bool recurse = true,
                 QList<filelist::AddFolder::UnreadFolder> *unread = nullptr,
                 const QString &excluded = {})
{
    QList<Path> folders;
    for (const QString &one : given)
        folders << AsPath(tree.path(one));
    filelist::AddFolder::SearchOptions options;
    options.recurse = recurse;
    options.unread = unread;
    if (!excluded.isEmpty())
        options.excluded = AsPath(tree.path(excluded));
    filelist::AddFolder::CollectSubfolders(folders, options);
    return tree.relative(Texts(folders));
}

QStringList Added(const FolderTree &tree, const QStringList &folders, const QString &pattern,
                  QList<filelist::AddFolder::UnreadFolder> *unread = nullptr)
{
    QList<Path> items;
    QList<Path> absolute;
    for (const QString &one : folders)
        absolute << AsPath(tree.path(one));
    filelist::AddFolder::AddFilesFromFolders(absolute, pattern, items, unread);
    return tree.relative(Texts(items));
}

QStringList ListMatching(const QString &folder, const QString &pattern)
{
    return Texts(filelist::AddFolder::ListMatchingFiles(AsPath(folder), pattern));
}

bool IsExistingFile(const QString &path)
{
    return platform::AddFolder::IsExistingFile(AsPath(path));
}

// Runs `action` with the effective user and group of an ordinary account, so
// that permission bits deny access even when the tests run as root.
template <typename Action> bool AsOrdinaryUser(const QString &treeRoot, Action action)
{
    if (::geteuid() != 0) {
        action();
        return true;
    }
    constexpr uid_t kNobody = 65534;
    ::chmod(QFile::encodeName(treeRoot).constData(), 0755);
    if (::setegid(kNobody) != 0)
        return false;
    if (::seteuid(kNobody) != 0) {
        [[maybe_unused]] const int restored = ::setegid(0);
        return false;
    }
    const bool reachable = ::access(QFile::encodeName(treeRoot).constData(), R_OK | X_OK) == 0;
    if (reachable)
        action();
    [[maybe_unused]] const int user = ::seteuid(0);
    [[maybe_unused]] const int group = ::setegid(0);
    return reachable;
}

} // namespace

class FolderSearchTest : public QObject {
    Q_OBJECT

private slots:
    void listingMatchesWithoutCaseAndSortsAsAFileManager()
    {
        FolderTree tree({"b.mp3", "A.mp3", "c.MP3", ".h.mp3", "d.txt", "noext", "x.mp4",
                         "folder.mp3/", "x.[ab]", "\u00e9.mp3", "E.mp3"});
        QVERIFY(QFile::link(tree.path("b.mp3"), tree.path("link.mp3")));
        QVERIFY(QFile::link(tree.path("gone.mp3"), tree.path("broken.mp3")));
        QVERIFY(QFile::link(tree.path("folder.mp3"), tree.path("folderlink.mp3")));
        const QString folder = tree.path();
        QCOMPARE(ListMatching(folder, "*.MP3"), QStringList({".h.mp3", "A.mp3", "b.mp3", "c.MP3",
                                                             "E.mp3", "link.mp3", "\u00e9.mp3"}));
        QCOMPARE(ListMatching(folder + '/', "*.*").size(), 11);
        QCOMPARE(ListMatching(folder, "*.mp?").size(), 8);
        // Brackets are no wildcard: they stand for themselves.
        QCOMPARE(ListMatching(folder, "*.[ab]"), QStringList({"x.[ab]"}));
        QCOMPARE(ListMatching(folder, "*.mp3 "), QStringList());
    }

    void existenceNeverOpensTheFile()
    {
        FolderTree tree({"a.mp3", "dir/"});
        QVERIFY(IsExistingFile(tree.path("a.mp3")));
        QVERIFY(!IsExistingFile(tree.path("dir")));
        QVERIFY(!IsExistingFile(tree.path("missing.mp3")));
        // Opening a FIFO for reading would wait for a writer for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(tree.path("pipe.mp3")).constData(), 0644), 0);
        QVERIFY(IsExistingFile(tree.path("pipe.mp3")));
    }

    void unsafeNames()
    {
        QVERIFY(!filelist::AddFolder::HasUnsafeChars(Path()));
        QVERIFY(!filelist::AddFolder::HasUnsafeChars(
            AsPath(QString("Live [2016] \u00e9 ") + QChar(160))));
        // Bytes that are not text are a name all the same.
        QVERIFY(!filelist::AddFolder::HasUnsafeChars(Path::FromBytes("caf\xe9 \xff")));
        for (const QChar bad : {QChar(u'?'), QChar(9), QChar(31), QChar(127), QChar(159)})
            QVERIFY2(filelist::AddFolder::HasUnsafeChars(
                         Path::FromBytes("name" + QString(bad).toUtf8())),
                     qPrintable(QString::number(bad.unicode())));
    }

    void walkIsBreadthFirstInFileManagerOrder()
    {
        FolderTree tree({"A/B/D/F/", "A/c/E/"});
        QCOMPARE(Walk(tree, {"A/"}),
                 QStringList({"A/", "A/B/", "A/c/", "A/B/D/", "A/c/E/", "A/B/D/F/"}));
        QCOMPARE(Walk(tree, {"A/"}, false), QStringList({"A/", "A/B/", "A/c/"}));
        // Several folders given: each level in the order of its parents.
        QCOMPARE(Walk(tree, {"A/c/", "A/B/"}),
                 QStringList({"A/c/", "A/B/", "A/c/E/", "A/B/D/", "A/B/D/F/"}));
    }

    void walkFollowsLinksToEachRealFolderOnce()
    {
        FolderTree tree({"A/B/", "A/a.mp3", "outside/o.mp3", "outside/deeper/"});
        // A loop back to the top, a way out of the tree, and two ways to one
        // folder: each real folder is searched once, loops end.
        QVERIFY(QFile::link(tree.path("A"), tree.path("A/B/loop")));
        QVERIFY(QFile::link(tree.path("outside"), tree.path("A/out")));
        QVERIFY(QFile::link(tree.path("outside"), tree.path("A/B/again")));
        QVERIFY(QFile::link(tree.path("A/B/loop"), tree.path("A/B/self")));
        QCOMPARE(Walk(tree, {"A/"}), QStringList({"A/", "A/B/", "A/out/", "A/out/deeper/"}));

        QVERIFY(QFile::link(tree.path("A"), tree.path("named")));
        QCOMPARE(Walk(tree, {"named/"}),
                 QStringList({"named/", "named/B/", "named/out/", "named/out/deeper/"}));
        // Below an excluded folder nothing is searched, however it is reached.
        QCOMPARE(Walk(tree, {"A/"}, true, nullptr, "outside"), QStringList({"A/", "A/B/"}));
    }

    void walkLeavesOutUnsafeFolderNamesButNotUndecodableOnes()
    {
        FolderTree tree({"A/ok/", "A/what?/", QString("A/bell") + QChar(7) + "/",
                         QString("A/c1") + QChar(0x85) + "/"});
        // A name that is not UTF-8, as old rips and FAT copies have: searched,
        // and its files added by their bytes.
        const QByteArray undecodable = QFile::encodeName(tree.path("A")).append("/caf\xe9");
        QCOMPARE(::mkdir(undecodable.constData(), 0755), 0);
        const int file = ::open((undecodable + "/\xff.mp3").constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(file >= 0);
        ::close(file);
        const QStringList walked = Walk(tree, {"A/"});
        const QStringList added = Added(tree, walked, "*.mp3");
        ::unlink((undecodable + "/\xff.mp3").constData());
        ::rmdir(undecodable.constData());
        QCOMPARE(walked, QStringList({"A/", "A/caf\\xE9/", "A/ok/"}));
        QCOMPARE(added, QStringList({"A/caf\\xE9/\\xFF.mp3"}));
    }

    void foldersThatHaveGoneAreDroppedAndTheWalkGoesOn()
    {
        FolderTree tree({"A/B/", "file.mp3"});
        QCOMPARE(Walk(tree, {"missing/", "A/", "file.mp3/"}), QStringList({"A/", "A/B/"}));
    }

    void aFolderThatCannotBeOpenedIsPassedOverAndNothingElseIsLost()
    {
        // A chain of long names whose path grows longer than a path may be:
        // its deepest folder cannot be opened by its path. The short chain
        // beside it goes deeper still and must be searched to its end.
        QString shortChain = "A/";
        for (char level = 'a'; level <= 'x'; ++level)
            shortChain += QString(QChar(level)) + "/";
        FolderTree tree({shortChain});
        QVERIFY(tree.addTooDeepChain("A", 24));
        const QStringList walked = Walk(tree, {"A/"});
        QVERIFY(walked.contains(shortChain));
        for (const QString &folder : walked)
            QVERIFY(tree.path(folder).size() < 4096);
    }

    void foldersThatDenyAccessAreDropped()
    {
        FolderTree tree(
            {"A/a.mp3", "A/B/D/d.mp3", "A/C/E/e.mp3", "A/C/c.mp3", "A/F/f.mp3", "A/R/r.mp3"});
        ::chmod(QFile::encodeName(tree.path("A/B")).constData(), 0);
        ::chmod(QFile::encodeName(tree.path("A/F")).constData(), 0);
        // Readable but not to be entered: its names can be listed, its files
        // cannot be opened, so none of them is added.
        ::chmod(QFile::encodeName(tree.path("A/R")).constData(), 0444);
        QStringList walked;
        QStringList added;
        QList<filelist::AddFolder::UnreadFolder> unread;
        const bool ran = AsOrdinaryUser(tree.path(), [&] {
            walked = Walk(tree, {"A/"}, true, &unread);
            added = Added(tree, walked, "*.mp3", &unread);
        });
        ::chmod(QFile::encodeName(tree.path("A/B")).constData(), 0755);
        ::chmod(QFile::encodeName(tree.path("A/F")).constData(), 0755);
        ::chmod(QFile::encodeName(tree.path("A/R")).constData(), 0755);
        if (!ran)
            QSKIP("no ordinary account to run as");
        QCOMPARE(walked, QStringList({"A/", "A/C/", "A/R/", "A/C/E/"}));
        QCOMPARE(added, QStringList({"A/a.mp3", "A/C/c.mp3", "A/C/E/e.mp3"}));
        // Each folder left out is named, for a front end that tells it.
        QStringList named;
        for (const filelist::AddFolder::UnreadFolder &folder : unread)
            named << tree.relative({folder.folder.text()}).value(0) + " " +
                         QString::number(folder.error);
        QCOMPARE(named, QStringList({"A/B/ 13", "A/F/ 13", "A/R/ 13"}));
    }

    void kernelFileSystemsAreNotEntered()
    {
        for (const QString &virtualFolder : {QStringLiteral("/proc/"), QStringLiteral("/sys/")}) {
            QList<Path> folders{AsPath(virtualFolder)};
            filelist::AddFolder::CollectSubfolders(folders, true);
            QCOMPARE(Texts(folders), QStringList{virtualFolder});
        }
        // /dev holds devices, whatever file system it is on: not one of its
        // folders (pts, shm, ...) is searched.
        QList<Path> devices{AsPath("/dev/")};
        filelist::AddFolder::CollectSubfolders(devices, false);
        QCOMPARE(Texts(devices), QStringList{"/dev/"});

        // The root folder is always searched; one level of it is enough to
        // see that the kernel's folders are left out.
        QList<Path> rootFolders{AsPath("//")};
        filelist::AddFolder::CollectSubfolders(rootFolders, false);
        const QStringList root = Texts(rootFolders);
        QCOMPARE(root.first(), QStringLiteral("//"));
        QVERIFY(root.contains("//usr/"));
        QVERIFY(!root.contains("//proc/"));
        QVERIFY(!root.contains("//sys/"));
    }

    void addingSkipsTildeNamesAndWritableHiddenFiles()
    {
        FolderTree tree({"a.mp3", "~b.mp3", ".hidden.mp3", ".readonly.mp3", "c.txt"});
        ::chmod(QFile::encodeName(tree.path(".readonly.mp3")).constData(), 0444);
        QCOMPARE(Added(tree, {"", ""}, "*.mp3"),
                 QStringList({".readonly.mp3", "a.mp3", ".readonly.mp3", "a.mp3"}));
    }

    void rootFolderEntriesGiveSingleSeparators()
    {
        FolderTree tree({"A/a.mp3"});
        QList<Path> items{AsPath("/earlier.mp3")};
        // What a search of "/" makes of a folder below it, "//" + path, and of
        // the root itself, "//".
        filelist::AddFolder::AddFilesFromFolders(
            Paths({"/" + tree.path("A/"), tree.path("A") + "//"}), "*.mp3", items);
        QCOMPARE(Texts(items),
                 QStringList({"/earlier.mp3", tree.path("A/a.mp3"), tree.path("A/a.mp3")}));
    }
};

QTEST_MAIN(FolderSearchTest)
#include "test_folder_search.moc"
