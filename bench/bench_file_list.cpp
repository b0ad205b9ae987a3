// How the file list copes with 100,000 paths, through the real window: the
// time to add them (in one batch, as the dialog adds its picks, and one at a
// time) until the list has been drawn with them, and the time of one removal
// by the Delete key until the list has been drawn again.
//
// Goals on this machine: adding under 1 s, one removal under 50 ms.

#include "BenchSupport.h"
#include "TestWindow.h"
#include "app/FileListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace velunor;
using velunor::bench::Median;
using namespace velunor::testing;

namespace {

constexpr int kPaths = 100000;
constexpr int kAddRounds = 3;
constexpr int kRemovals = 25;
constexpr double kAddGoalMs = 1000.0;
constexpr double kRemoveGoalMs = 50.0;

QStringList MakePaths()
{
    QStringList paths;
    paths.reserve(kPaths);
    for (int i = 0; i < kPaths; ++i)
        paths << QStringLiteral("/home/ann/Music/Artist %1/Album %2/Track %3 - A Song Title.mp3")
                     .arg(i / 1000, 3, 10, QLatin1Char('0'))
                     .arg(i / 20 % 50, 2, 10, QLatin1Char('0'))
                     .arg(i, 6, 10, QLatin1Char('0'));
    return paths;
}

// Draws the list now, which also lays out rows that the change left pending.
void Show(app::FileListView &list)
{
    list.viewport()->repaint();
    QCoreApplication::processEvents();
}

double Milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Report(const char *figure, double measuredMs, double goalMs)
{
    bench::Result(figure, QString::number(measuredMs, 'f', 1) + QStringLiteral(" ms"),
                  QString::number(goalMs, 'f', 0) + QStringLiteral(" ms"), measuredMs / goalMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    TestWindow window;
    window.load();
    app::FileListView &list = *window.ui().ListView1;
    const QList<Path> paths = testing::Paths(MakePaths());

    std::vector<double> batch;
    std::vector<double> single;
    for (int round = 0; round < kAddRounds; ++round) {
        list.items().clear();
        Show(list);
        batch.push_back(Milliseconds([&] {
            list.items().add(paths);
            Show(list);
        }));

        list.items().clear();
        Show(list);
        single.push_back(Milliseconds([&] {
            for (const Path &path : paths)
                list.items().add(path);
            Show(list);
        }));
    }
    if (list.items().count() != kPaths) {
        std::fprintf(stderr, "the list holds %d items instead of %d\n", list.items().count(),
                     kPaths);
        return 1;
    }

    // Removals spread over the list: near the top, in the middle, at the end.
    std::vector<double> removals;
    for (int i = 0; i < kRemovals; ++i) {
        const int count = list.items().count();
        const int item =
            std::max(1, static_cast<int>(static_cast<long long>(count) * i / (kRemovals - 1)));
        const QString removed = list.items().text(item);
        list.select(item);
        list.ensureVisible(item);
        Show(list);
        removals.push_back(Milliseconds([&] {
            QTest::keyClick(&list, Qt::Key_Delete);
            Show(list);
        }));
        if (list.items().count() != count - 1 ||
            list.items().paths().contains(testing::AsPath(removed))) {
            std::fprintf(stderr, "Delete did not remove item %d\n", item);
            return 1;
        }
    }
    const double worstRemoval = *std::max_element(removals.begin(), removals.end());

    std::printf("file list with %d paths, shown in the real window (offscreen)\n", kPaths);
    std::printf("  add in one batch:    median %.1f ms of %d rounds\n", Median(batch), kAddRounds);
    std::printf("  add one at a time:   median %.1f ms of %d rounds\n", Median(single), kAddRounds);
    std::printf("  remove one (Delete): median %.2f ms, worst %.2f ms of %d removals\n",
                Median(removals), worstRemoval, kRemovals);
    Report("file list: add 100,000 paths in one batch", Median(batch), kAddGoalMs);
    Report("file list: add 100,000 paths one at a time", Median(single), kAddGoalMs);
    Report("file list: remove one of 100,000 by Delete (worst)", worstRemoval, kRemoveGoalMs);
    return 0;
}
