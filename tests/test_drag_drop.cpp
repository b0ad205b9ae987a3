// Files and folders dropped on the list, sent as the real drag events a file
// manager causes: the refusal of anything but local files while dragging,
// the order of dropped paths, and the search of dropped folders.

#include "FolderTree.h"
#include "TestWindow.h"
#include "app/FileListView.h"

#include <QDropEvent>
#include <QMimeData>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

std::unique_ptr<QMimeData> FileData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> TextData()
{
    auto data = std::make_unique<QMimeData>();
    data->setText(QStringLiteral("/some/file.mp3"));
    return data;
}

class DropFixture {
public:
    DropFixture() { window.load(); }

    QWidget *rows() { return window.ui().ListView1->viewport(); }
    filelist::FileListModel &items() { return window.ui().ListView1->items(); }

    // Drags `data` in and over the list; whether the list takes it.
    bool dragOver(const QMimeData &data, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                  Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(rows(), &enter);
        QDragMoveEvent move(QPoint(30, 30), offered, &data, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(rows(), &move);
        // A move reaches only a list that took the drag.
        lastAction = enter.isAccepted() ? move.dropAction() : enter.dropAction();
        return enter.isAccepted() && move.isAccepted();
    }

    void dragAway()
    {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(rows(), &leave);
    }

    // A whole drag that ends in a drop on the list, as Qt delivers it: the
    // drop reaches only a widget that took the drag.
    Qt::DropAction drop(const QMimeData &data,
                        Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                        Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        dragOver(data, offered, keys);
        QDropEvent dropped(QPointF(30, 30), offered, &data, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(rows(), &dropped);
        return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
    }

    Qt::DropAction lastAction = Qt::IgnoreAction;
    TestWindow window;
};

} // namespace

class DragDropTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void onlyLocalFilesAreTaken()
    {
        FolderTree tree({"a.mp3"});
        DropFixture fixture;
        QVERIFY(fixture.dragOver(*FileData({tree.path("a.mp3")})));
        // What the source offered stays the action.
        QCOMPARE(fixture.lastAction, Qt::CopyAction);
        fixture.dragAway();
        QVERIFY(!fixture.dragOver(*TextData()));
        QCOMPARE(fixture.lastAction, Qt::IgnoreAction);
        fixture.dragAway();
        auto web = std::make_unique<QMimeData>();
        web->setUrls({QUrl("https://example.org/a.mp3")});
        QVERIFY(!fixture.dragOver(*web));
        fixture.dragAway();

        fixture.drop(*TextData());
        fixture.drop(*web);
        QCOMPARE(fixture.items().count(), 0);
    }

    void aDropIsNeverAMove()
    {
        // A move tells the source that the list took the files over, and some
        // sources then delete them.
        FolderTree tree({"a.mp3"});
        DropFixture fixture;
        const auto data = FileData({tree.path("a.mp3")});
        QCOMPARE(fixture.drop(*data, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier),
                 Qt::CopyAction);
        QTRY_COMPARE(fixture.items().count(), 1);
        QVERIFY(!fixture.dragOver(*data, Qt::MoveAction));
        QCOMPARE(fixture.drop(*data, Qt::MoveAction), Qt::IgnoreAction);
        QCoreApplication::processEvents();
        QCOMPARE(fixture.items().count(), 1);
        QVERIFY(QFile::exists(tree.path("a.mp3")));
    }

    void droppedFilesAreListedAsTheyCameInTheirOrder()
    {
        FolderTree tree({"c.mp3", "a.mp3", "b.txt"});
        DropFixture fixture;
        fixture.items().add(AsPath(tree.path("a.mp3")));
        // Neither the extension nor the list's contents matter for a file.
        fixture.drop(*FileData({tree.path("c.mp3"), tree.path("a.mp3"), tree.path("b.txt")}));
        QTRY_COMPARE(fixture.items().count(), 4);
        QCOMPARE(tree.relative(Texts(fixture.items().paths())),
                 QStringList({"a.mp3", "c.mp3", "a.mp3", "b.txt"}));
    }

    void aDroppedFolderIsSearchedForEveryKindOfFile()
    {
        FolderTree tree(
            {"F/a.mp3", "F/~b.mp3", "F/c.txt", "F/.w.mp3", "F/sub/d.mp3", "Empty/~only.mp3"});
        DropFixture fixture;
        fixture.drop(*FileData({tree.path("Empty")}));
        fixture.drop(*FileData({tree.path("F")}));
        // The search goes on after the drop, and shows no hourglass.
        QCOMPARE(int(fixture.window->MousePointer().kind()), 0);
        QTRY_COMPARE(fixture.items().count(), 3);
        QCOMPARE(tree.relative(Texts(fixture.items().paths())),
                 QStringList({"F/a.mp3", "F/c.txt", "F/sub/d.mp3"}));
        QVERIFY(fixture.window.platform.messages.isEmpty());
    }

    // A file manager sends a name that is not UTF-8 percent-encoded, byte by
    // byte, as a URL may carry it: the list gets the very bytes.
    void aNameThatIsNotTextArrivesWhole()
    {
        FolderTree tree({"F/"});
        const QByteArray folder = QFile::encodeName(tree.path("F"));
        const int file = ::open(folder + "/caf\xe9.mp3", O_CREAT | O_WRONLY, 0644);
        QVERIFY(file >= 0);
        ::close(file);
        DropFixture fixture;
        auto data = std::make_unique<QMimeData>();
        data->setData(QStringLiteral("text/uri-list"),
                      "file://" + folder.toPercentEncoding("/") + "/caf%E9.mp3\r\n");
        fixture.drop(*data);
        fixture.drop(*FileData({tree.path("F")}));
        QTRY_COMPARE(fixture.items().count(), 2);
        for (int item : {1, 2})
            QCOMPARE(fixture.items().path(item - 1).bytes(), folder + "/caf\xe9.mp3");
        QCOMPARE(fixture.items().text(0), tree.path("F") + "/caf\\xE9.mp3");
        ::unlink(folder + "/caf\xe9.mp3");
    }

    void foldersAndFilesTogetherKeepTheSourceOrder()
    {
        FolderTree tree({"F/f.mp3", "G/g.mp3", "G/H/h.mp3", "loose.mp3"});
        DropFixture fixture;
        fixture.drop(*FileData(
            {tree.path("G"), tree.path("loose.mp3"), tree.path("missing.mp3"), tree.path("F/")}));
        QTRY_COMPARE(fixture.items().count(), 4);
        QCOMPARE(tree.relative(Texts(fixture.items().paths())),
                 QStringList({"G/g.mp3", "G/H/h.mp3", "loose.mp3", "F/f.mp3"}));
    }
};

QTEST_MAIN(DragDropTest)
#include "test_drag_drop.moc"
