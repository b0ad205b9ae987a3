// How fast "Add All MP3 File(s) In Folder" searches a large music tree,
// through the real button, against `find DIR -iname '*.mp3'` over the same
// tree: 50,000 files in 2,500 folders (50 artist folders of 49 album folders,
// 20 files in each folder, 17 of them MP3s with the extension in either case).
// It also tells the longest time the window went without handling its events
// while the search ran. The same comparison is made for one folder holding
// 100,000 MP3s, where the folder listing itself is the work.
//
// Goal: the button takes at most 2 x the time find takes, in both trees.

#include "BenchSupport.h"
#include "TestWindow.h"
#include "app/FileListView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace velunor;
using velunor::bench::Median;
using namespace velunor::testing;

namespace {

constexpr int kArtists = 50;
constexpr int kAlbumsPerArtist = 49;
constexpr int kFilesPerFolder = 20;
constexpr int kCrowdedFiles = 100000;
constexpr int kRounds = 7;
constexpr double kGoalRatio = 2.0;

bool MakeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < kFilesPerFolder; ++i) {
        const QString extension = i < 15 ? "mp3" : i < 17 ? "MP3" : "txt";
        QFile file(folder + QStringLiteral("/%1 - Track %2.%3")
                                .arg(i + 1, 2, 10, QLatin1Char('0'))
                                .arg(i + 1)
                                .arg(extension));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

bool MakeCrowdedFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < kCrowdedFiles; ++i) {
        QFile file(folder + QStringLiteral("/Recording %1.mp3").arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

bool MakeTree(const QString &root)
{
    for (int artist = 0; artist < kArtists; ++artist) {
        const QString artistFolder = root + QStringLiteral("/Artist %1").arg(artist);
        if (!MakeFolder(artistFolder))
            return false;
        for (int album = 0; album < kAlbumsPerArtist; ++album)
            if (!MakeFolder(artistFolder + QStringLiteral("/Album %1").arg(album)))
                return false;
    }
    return true;
}

// Runs find and returns its time in ms, and the number of paths it printed.
double TimeFind(const QString &root, int &found)
{
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start("find", {root, "-iname", "*.mp3"});
    find.waitForFinished(-1);
    const QByteArray output = find.readAllStandardOutput();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    found = static_cast<int>(output.count('\n'));
    return ms;
}

struct Comparison {
    bool valid = false;
    int found = 0;
    double findMs = 0;
    double buttonMs = 0;
    double longestPauseMs = 0;
};

// Times find and the button over `root`, a few rounds each, with caches warm.
Comparison Compare(TestWindow &window, const QString &root)
{
    app::FileListView &list = *window.ui().ListView1;
    Comparison result;

    // The window's event handling, seen from a timer that wants to run every
    // millisecond: the longest pause between two of its runs.
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        result.longestPauseMs =
            std::max(result.longestPauseMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });

    auto runButton = [&] {
        list.items().clear();
        QCoreApplication::processEvents();
        window.platform.inputAnswers.push_back(QStringLiteral("mp3"));
        window.platform.folderAnswers.push_back(root);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(window.ui().PushButton3, Qt::LeftButton);
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    };

    TimeFind(root, result.found); // warms the caches for both
    runButton();

    std::vector<double> findTimes;
    std::vector<double> buttonTimes;
    for (int round = 0; round < kRounds; ++round) {
        findTimes.push_back(TimeFind(root, result.found));
        ticker.start();
        sinceTick.start();
        buttonTimes.push_back(runButton());
        // The pause that ends with the search is only seen by the next tick.
        QCoreApplication::processEvents();
        ticker.stop();
    }
    if (list.items().count() != result.found || !window.platform.messages.isEmpty()) {
        std::fprintf(stderr, "the button listed %d files, find %d; %lld messages\n",
                     list.items().count(), result.found,
                     static_cast<long long>(window.platform.messages.size()));
        return result;
    }
    result.findMs = Median(findTimes);
    result.buttonMs = Median(buttonTimes);
    result.valid = true;
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    QTemporaryDir temporary;
    const QString root = temporary.path() + QStringLiteral("/Music");
    if (!temporary.isValid() || !MakeTree(root)) {
        std::fprintf(stderr, "could not make the tree in %s\n", qPrintable(temporary.path()));
        return 1;
    }

    const QString crowded = temporary.path() + QStringLiteral("/Recordings");
    if (!MakeCrowdedFolder(crowded)) {
        std::fprintf(stderr, "could not make %s\n", qPrintable(crowded));
        return 1;
    }

    TestWindow window;
    window.load();
    const Comparison tree = Compare(window, root);
    const Comparison folder = Compare(window, crowded);
    if (!tree.valid || !folder.valid)
        return 1;

    std::printf("tree: %d files in %d folders, %d of them MP3s\n",
                kArtists * (kAlbumsPerArtist + 1) * kFilesPerFolder,
                kArtists * (kAlbumsPerArtist + 1), tree.found);
    std::printf("  find -iname '*.mp3': %.1f ms, the button: %.1f ms (medians of %d)\n",
                tree.findMs, tree.buttonMs, kRounds);
    std::printf("  longest pause in event handling during the searches: %.1f ms\n",
                tree.longestPauseMs);
    std::printf("one folder of %d MP3s\n", folder.found);
    std::printf("  find -iname '*.mp3': %.1f ms, the button: %.1f ms (medians of %d)\n",
                folder.findMs, folder.buttonMs, kRounds);
    std::printf("  longest pause in event handling during the searches: %.1f ms\n",
                folder.longestPauseMs);
    const double treeRatio = tree.buttonMs / tree.findMs;
    const double folderRatio = folder.buttonMs / folder.findMs;
    bench::Result("folder search / find, 50,000 files in 2,500 folders",
                  QString::number(treeRatio, 'f', 2), QString::number(kGoalRatio, 'f', 2),
                  treeRatio / kGoalRatio);
    bench::Result("folder search / find, 100,000 files in one folder",
                  QString::number(folderRatio, 'f', 2), QString::number(kGoalRatio, 'f', 2),
                  folderRatio / kGoalRatio);
    return 0;
}
