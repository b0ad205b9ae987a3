// "Start Converting" against the bare minimum: 20 one-second stereo MP3s are
// converted through the real window handler (staging, progress, yields,
// clean-up included) and by the same 20 sox commands in a shell loop. The
// goal is a ratio of at most 1.10. Each way runs three times; the medians
// are compared.

#include "Audio.h"
#include "BenchSupport.h"
#include "TestWindow.h"
#include "app/FileListView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velunor;
using velunor::bench::Median;

namespace {

constexpr int kFiles = 20;
constexpr int kRounds = 3;

void EmptyFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &name : folder.entryList(QDir::Files))
        folder.remove(name);
}

// The same commands the run gives the converter, one after another in bash.
double ShellLoop(const QStringList &files, const QString &outputFolder)
{
    const QString script = QStringLiteral(
        "for f in \"$@\"; do n=${f##*/}; sox --no-glob \"$f\" -c 1 \"%1/${n%.*}.mp3\"; done");
    QProcess shell;
    QElapsedTimer clock;
    clock.start();
    shell.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), script.arg(outputFolder),
                                                    QStringLiteral("loop")} +
                                            files);
    shell.waitForFinished(-1);
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir staging, inputs, outputs, shellOutputs;
    qputenv("TEMP", QFile::encodeName(staging.path()));
    const QStringList files = bench::MakeStereoInputs(inputs.path(), kFiles);
    if (files.isEmpty())
        return 1;

    testing::TestWindow window;
    window.load();
    Form1 &form = window.form();
    form.Text1->setText(outputs.path() + QLatin1Char('/'));
    form.ListView1->items().add(files);

    ShellLoop(files, shellOutputs.path()); // warm-up
    std::vector<double> handler, shell;
    for (int round = 0; round < kRounds; ++round) {
        EmptyFolder(shellOutputs.path());
        shell.push_back(ShellLoop(files, shellOutputs.path()));

        EmptyFolder(outputs.path());
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form.PushButton2, Qt::LeftButton);
        handler.push_back(clock.nsecsElapsed() / 1e6);
    }

    const QStringList messages = window.platform.messageTexts();
    const bool allDone = messages.size() == kRounds &&
                         std::all_of(messages.begin(), messages.end(),
                                     [](const QString &text) { return text == "Done."; });
    const qsizetype written = QDir(outputs.path()).entryList(QDir::Files).size();

    std::printf("bench_conversion_run: %d one-second stereo MP3s, mix mode, %d rounds\n", kFiles,
                kRounds);
    for (int round = 0; round < kRounds; ++round)
        std::printf("  round %d: window handler %8.1f ms, shell loop %8.1f ms\n", round + 1,
                    handler[round], shell[round]);
    std::printf("  median: window handler %.1f ms, shell loop %.1f ms\n", Median(handler),
                Median(shell));
    std::printf("  ratio handler / shell loop: %.3f (goal at most 1.10)\n",
                Median(handler) / Median(shell));
    const double ratio = Median(handler) / Median(shell);
    bench::Result("conversion run / shell loop of sox, 20 files", QString::number(ratio, 'f', 3),
                  QStringLiteral("1.10"), ratio / 1.10);
    if (!allDone || written != kFiles)
        std::printf("  the run did not convert every file: %s\n",
                    qPrintable(messages.join(QStringLiteral(" | "))));
    return allDone && written == kFiles ? 0 : 1;
}
