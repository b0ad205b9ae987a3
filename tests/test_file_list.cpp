// The file list through the real list control: removing by Delete and
// double-click (and not while busy), Clear List, the reorder drag with its
// pointers and its one-row scroll, and the list's own bounds.

#include "TestWindow.h"
#include "app/FileListView.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString A = QStringLiteral("/music/a.mp3");
const QString B = QStringLiteral("/music/b.mp3");
const QString C = QStringLiteral("/music/c.mp3");
const QString D = QStringLiteral("/music/d.mp3");

// A pointer height between the two scroll thresholds: no exchange scrolls.
constexpr int kNeutralScreenY = 330;

class ListFixture {
public:
    explicit ListFixture(const QStringList &paths, const QString &programFolder = QString())
        : window(programFolder)
    {
        window.load();
        setScreenY(kNeutralScreenY);
        list().items().add(Paths(paths));
    }

    app::FileListView &list() { return *window.ui().ListView1; }
    QWidget *rows() { return list().viewport(); }
    QStringList texts() { return Texts(list().items().paths()); }
    QPoint rowCentre(int item)
    {
        return list().visualRect(list().items().index(item - 1, 0)).center();
    }
    QPoint belowTheRows() { return QPoint(20, rows()->height() - 4); }

    void press(QPoint at) { QTest::mousePress(rows(), Qt::LeftButton, {}, at); }
    void pressItem(int item) { press(rowCentre(item)); }
    void dragOver(int item) { QTest::mouseMove(rows(), rowCentre(item)); }
    void release(QPoint at) { QTest::mouseRelease(rows(), Qt::LeftButton, {}, at); }
    void click(int item) { QTest::mouseClick(rows(), Qt::LeftButton, {}, rowCentre(item)); }
    void doubleClick(QPoint at)
    {
        QTest::mouseClick(rows(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(rows(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(rows(), Qt::LeftButton, {}, at);
    }
    // A move with no button held, as the pointer passing over the list.
    void hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, rows()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(rows(), &move);
    }

    // Places the pointer for the list without moving the real one.
    void setScreenY(int y) { window.platform.pointer = QPoint(0, y); }
    // True when item `index` lies wholly inside the visible part of the list.
    bool isItemVisible(int index)
    {
        const QRect row = list().visualRect(list().items().index(index - 1, 0));
        return row.isValid() && row.top() >= 0 && row.bottom() < rows()->height();
    }

    TestWindow window;
};

QStringList Numbered(int count)
{
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << QStringLiteral("/music/track %1.mp3").arg(i, 3, 10, QLatin1Char('0'));
    return paths;
}

} // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void deleteRemovesTheSelectedItemWhateverTheShiftState()
    {
        ListFixture fixture({A, B, C, D});
        fixture.click(2);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        QCOMPARE(fixture.texts(), QStringList({A, C, D}));
        // Nothing is selected afterwards, so a second press takes nothing.
        QCOMPARE(fixture.list().selectedIndex(), 0);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        QCOMPARE(fixture.texts(), QStringList({A, C, D}));

        fixture.click(3);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(fixture.texts(), QStringList({A, C}));
        fixture.click(1);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(fixture.texts(), QStringList({C}));

        fixture.click(1);
        for (Qt::Key other : {Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_A, Qt::Key_Space})
            QTest::keyClick(&fixture.list(), other);
        QCOMPARE(fixture.texts(), QStringList({C}));
        QVERIFY(fixture.window.platform.messages.isEmpty());
    }

    void doubleClickRemovesTheSelectedItem()
    {
        ListFixture fixture({A, B, C});
        fixture.doubleClick(fixture.rowCentre(2));
        QCOMPARE(fixture.texts(), QStringList({A, C}));
        QCOMPARE(fixture.list().itemText(2), C);

        // Its first click on empty space leaves nothing selected.
        fixture.click(1);
        fixture.doubleClick(fixture.belowTheRows());
        QCOMPARE(fixture.texts(), QStringList({A, C}));
        QVERIFY(fixture.window.platform.messages.isEmpty());
    }

    void nothingIsRemovedWhileTheWindowIsBusy()
    {
        ListFixture fixture({A, B});
        fixture.click(1);
        fixture.window->setMousePointer(app::PointerKind::Hourglass);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        fixture.doubleClick(fixture.rowCentre(1));
        QCOMPARE(fixture.texts(), QStringList({A, B}));

        fixture.window->setMousePointer(app::PointerKind::Default);
        fixture.click(1);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        QCOMPARE(fixture.texts(), QStringList({B}));
        QVERIFY(fixture.window.platform.messages.isEmpty());
    }

    void removingFromAnEmptyListOrWithoutSelectionDoesNothing()
    {
        ListFixture empty({});
        QTest::keyClick(&empty.list(), Qt::Key_Delete);
        empty.doubleClick(empty.belowTheRows());
        QCOMPARE(empty.list().items().count(), 0);
        QVERIFY(empty.window.platform.messages.isEmpty());

        ListFixture unselected({A, B});
        unselected.list().select(0);
        QTest::keyClick(&unselected.list(), Qt::Key_Delete);
        QCOMPARE(unselected.texts(), QStringList({A, B}));
        QVERIFY(unselected.window.platform.messages.isEmpty());
    }

    void clearListEmptiesTheListEvenWhenBusy()
    {
        ListFixture fixture({A, B, A});
        fixture.window->setMousePointer(app::PointerKind::Hourglass);
        QTest::mouseClick(fixture.window.ui().PushButton4, Qt::LeftButton);
        QCOMPARE(fixture.list().items().count(), 0);
        QTest::mouseClick(fixture.window.ui().PushButton4, Qt::LeftButton);
        QCOMPARE(fixture.list().items().count(), 0);
        QVERIFY(fixture.window.platform.messages.isEmpty());
    }

    void draggingDownRowByRowCarriesThePath()
    {
        ListFixture fixture({A, B, C});
        fixture.pressItem(1);
        fixture.dragOver(2);
        fixture.dragOver(3);
        fixture.release(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({B, C, A}));
        QCOMPARE(fixture.list().selectedIndex(), 3);
    }

    void onlyTheTwoRowsOfOneMoveAreExchanged()
    {
        ListFixture fixture({A, B, C});
        fixture.pressItem(1);
        fixture.dragOver(3);
        fixture.release(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({C, B, A}));
        QCOMPARE(fixture.list().selectedIndex(), 3);
    }

    void aRowWithTheSamePathIsNotExchangedAndKeepsTheSelection()
    {
        ListFixture fixture({A, B, A});
        fixture.pressItem(1);
        fixture.dragOver(3);
        QCOMPARE(fixture.texts(), QStringList({A, B, A}));
        // The view's own drag-select must not move the selection either.
        QCOMPARE(fixture.list().selectedIndex(), 1);
        fixture.dragOver(2);
        QCOMPARE(fixture.texts(), QStringList({B, A, A}));
        fixture.release(fixture.rowCentre(2));
    }

    void afterTheReleaseMovesChangeNothing()
    {
        ListFixture fixture({A, B, C});
        fixture.pressItem(1);
        fixture.release(fixture.rowCentre(1));
        fixture.hover(fixture.rowCentre(2));
        fixture.hover(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({A, B, C}));
    }

    void aLostReleaseEndsTheDragAtTheNextMove()
    {
        ListFixture fixture({A, B, C});
        fixture.pressItem(1);
        // The release went to a message box that opened during the drag.
        fixture.hover(fixture.rowCentre(2));
        fixture.hover(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({A, B, C}));
        QCOMPARE(fixture.list().mousePointer().kind(), app::PointerKind::Arrow);
        fixture.release(fixture.rowCentre(3));
    }

    void aPressOnEmptySpaceCarriesTheLastClickedPath()
    {
        ListFixture fixture({A, B, C});
        fixture.click(2);
        fixture.press(fixture.belowTheRows());
        fixture.dragOver(3);
        fixture.release(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({A, C, B}));
    }

    void aRemovedItemTakesPartInNoExchange()
    {
        ListFixture fixture({A, B, C});
        fixture.click(1);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        fixture.press(fixture.belowTheRows());
        fixture.dragOver(1);
        fixture.dragOver(2);
        fixture.release(fixture.rowCentre(2));
        QCOMPARE(fixture.texts(), QStringList({B, C}));

        fixture.click(1);
        QTest::mouseClick(fixture.window.ui().PushButton4, Qt::LeftButton);
        fixture.list().items().add(Paths({C, D}));
        fixture.press(fixture.belowTheRows());
        fixture.dragOver(1);
        fixture.dragOver(2);
        fixture.release(fixture.rowCentre(2));
        QCOMPARE(fixture.texts(), QStringList({C, D}));
    }

    void theCarriedPathFollowsItsRowWhenRowsAboveGo()
    {
        ListFixture fixture({A, B, C, D});
        fixture.click(3); // carries C
        QTest::keyClick(&fixture.list(), Qt::Key_Up);
        QTest::keyClick(&fixture.list(), Qt::Key_Up);
        QCOMPARE(fixture.list().selectedIndex(), 1);
        QTest::keyClick(&fixture.list(), Qt::Key_Delete);
        QCOMPARE(fixture.texts(), QStringList({B, C, D}));
        fixture.press(fixture.belowTheRows());
        fixture.dragOver(3);
        fixture.release(fixture.rowCentre(3));
        QCOMPARE(fixture.texts(), QStringList({B, D, C}));
    }

    void theListShowsTheDragPictureUntilTheRelease()
    {
        ListFixture fixture({A, B});
        QVERIFY(!fixture.list().dragEnabled());
        fixture.pressItem(1);
        QCOMPARE(fixture.list().mousePointer().kind(), app::PointerKind::Custom);
        QVERIFY(fixture.list().mouseIcon().has_value());
        QCOMPARE(fixture.rows()->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!fixture.list().dragEnabled());
        fixture.release(fixture.rowCentre(1));
        QCOMPARE(fixture.list().mousePointer().kind(), app::PointerKind::Arrow);
        QCOMPARE(fixture.rows()->cursor().shape(), Qt::ArrowCursor);
    }

    void movingOverTheListResetsTheWindowPointerUnlessBusy()
    {
        ListFixture fixture({A});
        fixture.window->setMousePointer(app::PointerKind::Custom);
        fixture.hover(fixture.rowCentre(1));
        QCOMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Default);
        fixture.window->setMousePointer(app::PointerKind::Hourglass);
        fixture.hover(fixture.rowCentre(1));
        QCOMPARE(fixture.window->MousePointer().kind(), app::PointerKind::Hourglass);
    }

    void aMissingOrBrokenDragPictureLeavesTheArrow()
    {
        QTemporaryDir programFolder;
        ListFixture missing({A, B}, programFolder.path());
        missing.pressItem(1);
        QCOMPARE(missing.list().mousePointer().kind(), app::PointerKind::Custom);
        QCOMPARE(missing.rows()->cursor().shape(), Qt::ArrowCursor);
        missing.dragOver(2);
        missing.release(missing.rowCentre(2));
        QCOMPARE(missing.texts(), QStringList({B, A}));

        QFile broken(programFolder.filePath(QStringLiteral("drag.ico")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture at all");
        broken.close();
        ListFixture unreadable({A, B}, programFolder.path());
        unreadable.pressItem(1);
        QCOMPARE(unreadable.rows()->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(missing.window.platform.messages.isEmpty());
        QVERIFY(unreadable.window.platform.messages.isEmpty());
    }

    // An exchange scrolls one row on when the pointer is high or low on the
    // screen: above 305 towards the top, from 365 towards the bottom.
    void theExchangeScrollsByTheScreenHeight_data()
    {
        QTest::addColumn<int>("screenY");
        QTest::addColumn<bool>("downwards");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("365 scrolls down") << 365 << true << true;
        QTest::newRow("364 does not scroll down") << 364 << true << false;
        QTest::newRow("304 scrolls up") << 304 << false << true;
        QTest::newRow("305 does not scroll up") << 305 << false << false;
        QTest::newRow("high pointer does not scroll down") << 100 << true << false;
        QTest::newRow("low pointer does not scroll up") << 500 << false << false;
    }

    void theExchangeScrollsByTheScreenHeight()
    {
        QFETCH(int, screenY);
        QFETCH(bool, downwards);
        QFETCH(bool, scrolls);
        ListFixture fixture(Numbered(60));
        app::FileListView &list = fixture.list();
        if (!downwards)
            list.scrollToBottom();
        QCoreApplication::processEvents();

        // The outermost row wholly shown on the side the drag goes to.
        int edge = downwards ? 1 : 60;
        if (downwards) {
            while (fixture.isItemVisible(edge + 1))
                ++edge;
        } else {
            while (fixture.isItemVisible(edge - 1))
                --edge;
        }
        const int beyond = downwards ? edge + 1 : edge - 1;
        QVERIFY(!fixture.isItemVisible(beyond));

        fixture.setScreenY(screenY);
        fixture.pressItem(downwards ? edge - 1 : edge + 1);
        fixture.dragOver(edge);
        QCOMPARE(list.selectedIndex(), edge);
        QCOMPARE(fixture.isItemVisible(beyond), scrolls);
        QVERIFY(fixture.isItemVisible(edge));
        fixture.release(fixture.rowCentre(edge));
    }

    void anItemNumberOutsideTheListIsRefused()
    {
        app::FileListView list;
        list.items().add(Paths({A, B, C}));
        for (int outside : {0, 4, -1}) {
            QVERIFY_THROWS_EXCEPTION(platform::PlatformError, list.removeItem(outside));
            QVERIFY_THROWS_EXCEPTION(platform::PlatformError, list.exchangeItems(outside, 1));
            QVERIFY_THROWS_EXCEPTION(platform::PlatformError, list.itemText(outside));
        }
        QCOMPARE(Texts(list.items().paths()), QStringList({A, B, C}));
    }
};

QTEST_MAIN(FileListTest)
#include "test_file_list.moc"
