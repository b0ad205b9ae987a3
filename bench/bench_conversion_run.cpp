// "Start Converting" against SoX on its own: 12 one-minute stereo MP3s are
// converted in mix mode through the real window (staging, planning, checks,
// tags, progress and clean-up included), and by the same SoX commands run by
// a shell as many at a time as there are processors, and one after another.
// Goals: at most 1.05 times the parallel shell, at most 0.6 times the serial
// one on two processors; every check of the audio is on (the frames walked,
// the mix's level, SoX's words). The same files carrying ReplayGain values,
// which the run measures anew from each whole output and then for the album,
// are told against the shell followed by that measurement of each of its
// outputs, as many at once as processors: the full decode and the meter cost
// about a sixth of a conversion by themselves, so the goal of 1.05 is for
// what the run adds around them; their ratio to the bare shell is printed
// too. Also measured: how long Stop takes, from the press to the message.

#include "Audio.h"
#include "BenchSupport.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "conversion/ConversionJob.h"
#include "conversion/Loudness.h"
#include "platform/BackgroundWork.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

using namespace velunor;
using velunor::bench::Median;
using velunor::bench::Shell;

namespace {

constexpr int kFiles = 12;
constexpr double kSeconds = 60.0;
constexpr int kRounds = 5;
constexpr int kShortFiles = 300;

void EmptyFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
}

// Lets the event loop run, as the program's own does, until the run in the
// window has ended.
void WaitForTheRun(testing::TestWindow &window)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (!window->isConverting())
            loop.quit();
    });
    check.start(5);
    loop.exec();
}

// Presses Start Converting and returns the milliseconds until the run has
// ended and its message is shown.
double Run(testing::TestWindow &window)
{
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window.ui().PushButton2, Qt::LeftButton);
    WaitForTheRun(window);
    return clock.nsecsElapsed() / 1e6;
}

// Measures the loudness of every MP3 in `folder` as the run does for inputs
// that carry ReplayGain values, `atOnce` files at a time, and returns the
// milliseconds it took; negative when a file could not be measured.
double MeasureEachOutput(const QString &folder, int atOnce)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.mp3")}, QDir::Files);
    std::atomic<bool> failed{false};
    QElapsedTimer clock;
    clock.start();
    platform::ForEachAtOnce(size_t(names.size()), size_t(atOnce), [&](size_t at) {
        if (!conversion::MeasureLoudness(QFile::encodeName(folder + '/' + names[qsizetype(at)])))
            failed = true;
    });
    return failed || names.isEmpty() ? -1 : clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int atOnce = conversion::ConversionJob::ConversionsAtOnce();

    QTemporaryDir staging, inputs, outputs, shellOutputs;
    qputenv("TEMP", QFile::encodeName(staging.path()));
    QStringList files;
    for (int i = 1; i <= kFiles; ++i) {
        files << inputs.filePath(QStringLiteral("song %1.mp3").arg(i));
        if (const QString problem = testing::MakeStereoMp3(files.last(), kSeconds);
            !problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
    }

    testing::TestWindow window;
    window.load();
    window.ui().Text1->setText(outputs.path() + QLatin1Char('/'));
    window.ui().ListView1->items().add(testing::Paths(files));

    Shell(files, shellOutputs.path(), atOnce); // warm-up
    std::vector<double> run, parallel, serial;
    for (int round = 0; round < kRounds; ++round) {
        EmptyFolder(shellOutputs.path());
        parallel.push_back(Shell(files, shellOutputs.path(), atOnce));
        EmptyFolder(shellOutputs.path());
        serial.push_back(Shell(files, shellOutputs.path(), 1));
        EmptyFolder(outputs.path());
        run.push_back(Run(window));
    }
    const QStringList messages = window.platform.messageTexts();
    const bool allDone = messages.size() == kRounds &&
                         std::all_of(messages.begin(), messages.end(),
                                     [](const QString &text) { return text == "Done."; });
    const qsizetype written = QDir(outputs.path()).entryList(QDir::Files).size();

    // The same files with ReplayGain values and an album tag.
    QTemporaryDir tagged;
    QStringList taggedFiles;
    for (const QString &file : files) {
        taggedFiles << tagged.filePath(QFileInfo(file).fileName());
        if (!QFile::copy(file, taggedFiles.last()))
            return 1;
        TagLib::MPEG::File mpeg(QFile::encodeName(taggedFiles.last()).constData());
        mpeg.ID3v2Tag(true)->setAlbum("Album");
        auto *gain = new TagLib::ID3v2::UserTextIdentificationFrame;
        gain->setDescription("REPLAYGAIN_TRACK_GAIN");
        gain->setText("-6.00 dB");
        mpeg.ID3v2Tag()->addFrame(gain);
        mpeg.save(TagLib::MPEG::File::ID3v2);
    }
    window.ui().ListView1->items().clear();
    window.ui().ListView1->items().add(testing::Paths(taggedFiles));
    std::vector<double> gainRun, gainShell, gainShellMeasured;
    for (int round = 0; round < kRounds; ++round) {
        EmptyFolder(shellOutputs.path());
        gainShell.push_back(Shell(taggedFiles, shellOutputs.path(), atOnce));
        const double measuring = MeasureEachOutput(shellOutputs.path(), atOnce);
        if (measuring < 0)
            return 1;
        gainShellMeasured.push_back(gainShell.back() + measuring);
        EmptyFolder(outputs.path());
        gainRun.push_back(Run(window));
    }
    window.ui().ListView1->items().clear();
    window.ui().ListView1->items().add(testing::Paths(files));

    // Stop: pressed once the first converters are at work, answered Yes.
    EmptyFolder(outputs.path());
    window.platform.yesNoAnswers.push_back(platform::MessageAnswer::Yes);
    QElapsedTimer stopClock;
    double stopMs = -1;
    window.platform.onMessage = [&](const testing::ShownMessage &shown) {
        if (shown.text.startsWith(QStringLiteral("Stopped.")))
            stopMs = stopClock.nsecsElapsed() / 1e6;
    };
    QTest::mouseClick(window.ui().PushButton2, Qt::LeftButton);
    QTest::qWait(300);
    stopClock.start();
    QTest::mouseClick(window.ui().PushButton2, Qt::LeftButton);
    WaitForTheRun(window);

    // Many short files, where what the window adds to each file shows.
    QTemporaryDir shortInputs, shortOutputs, shortShellOutputs;
    QStringList shortFiles{shortInputs.filePath(QStringLiteral("short 1.mp3"))};
    if (const QString problem = testing::MakeStereoMp3(shortFiles.first(), 1.0); !problem.isEmpty())
        return 1;
    for (int i = 2; i <= kShortFiles; ++i) {
        shortFiles << shortInputs.filePath(QStringLiteral("short %1.mp3").arg(i));
        QFile::copy(shortFiles.first(), shortFiles.last());
    }
    window.ui().ListView1->items().clear();
    window.ui().ListView1->items().add(testing::Paths(shortFiles));
    window.ui().Text1->setText(shortOutputs.path() + QLatin1Char('/'));
    std::vector<double> shortRun, shortShell;
    for (int round = 0; round < kRounds; ++round) {
        EmptyFolder(shortShellOutputs.path());
        shortShell.push_back(Shell(shortFiles, shortShellOutputs.path(), atOnce));
        EmptyFolder(shortOutputs.path());
        shortRun.push_back(Run(window));
    }
    const double ratioShort = Median(shortRun) / Median(shortShell);

    const double ratioGain = Median(gainRun) / Median(gainShellMeasured);
    const double ratioGainBare = Median(gainRun) / Median(gainShell);
    const double ratioParallel = Median(run) / Median(parallel);
    const double ratioSerial = Median(run) / Median(serial);
    std::printf("bench_conversion_run: %d stereo MP3s of %.0f s, mix mode, %d at once, %d rounds\n",
                kFiles, kSeconds, atOnce, kRounds);
    for (int round = 0; round < kRounds; ++round)
        std::printf(
            "  round %d: run %8.1f ms, shell %d at once %8.1f ms, shell one by one %8.1f ms\n",
            round + 1, run[round], atOnce, parallel[round], serial[round]);
    for (int round = 0; round < kRounds; ++round)
        std::printf("  with ReplayGain values, round %d: run %8.1f ms, shell %d at once %8.1f ms, "
                    "then each output measured %8.1f ms\n",
                    round + 1, gainRun[round], atOnce, gainShell[round],
                    gainShellMeasured[round] - gainShell[round]);
    std::printf("  with ReplayGain values, run / shell without measuring: %.3f\n", ratioGainBare);
    std::printf("  stop: %.1f ms from the press to the message\n", stopMs);
    for (int round = 0; round < kRounds; ++round)
        std::printf("  %d one-second files, round %d: run %8.1f ms, shell %d at once %8.1f ms\n",
                    kShortFiles, round + 1, shortRun[round], atOnce, shortShell[round]);
    bench::Result("conversion run / shell, as many at once as processors",
                  QString::number(ratioParallel, 'f', 3), QStringLiteral("1.05"),
                  ratioParallel / 1.05);
    bench::Result("conversion run / shell, one after another", QString::number(ratioSerial, 'f', 3),
                  QStringLiteral("0.6 (two processors)"), ratioSerial / 0.6);
    bench::Result("conversion run / shell and loudness of each output, 12 files with ReplayGain "
                  "values",
                  QString::number(ratioGain, 'f', 3), QStringLiteral("1.05"), ratioGain / 1.05);
    bench::Result("conversion run / shell, 300 one-second files",
                  QString::number(ratioShort, 'f', 3), QStringLiteral("1.10"), ratioShort / 1.10);
    bench::Result("Stop, from the press to the message", QString::number(stopMs, 'f', 0) + " ms",
                  QStringLiteral("1000 ms"), stopMs / 1000.0);
    if (!allDone || written != kFiles)
        std::printf("  the run did not convert every file: %s\n",
                    qPrintable(messages.join(QStringLiteral(" | "))));
    return allDone && written == kFiles && stopMs >= 0 ? 0 : 1;
}
