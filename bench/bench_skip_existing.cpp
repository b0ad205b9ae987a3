// A second run of `velunor --batch --skip-existing` over 300 one-second
// stereo MP3s that have not changed since the first run converted them,
// against that first run (goal: at most 0.05 of it): the second run starts
// no converter and only reads each output's mark. Both runs include the
// program's start, the staging of the converter and the folder search.

#include "Audio.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace velunor;
using velunor::bench::Median;

namespace {

const QString kProgram = QStringLiteral(VELUNOR_PROGRAM_DIR "/velunor");
constexpr int kFiles = 300;
constexpr int kRounds = 3;
constexpr double kGoal = 0.05;

struct Places {
    QTemporaryDir home, staging, inputs;
};

// `count` copies of one one-second stereo MP3 in `folder`.
bool MakeInputs(const QString &folder, int count)
{
    const QString first = QDir(folder).filePath(QStringLiteral("clip 001.mp3"));
    if (const QString problem = testing::MakeStereoMp3(first); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return false;
    }
    for (int i = 2; i <= count; ++i)
        if (!QFile::copy(first, QDir(folder).filePath(
                                    QStringLiteral("clip %1.mp3").arg(i, 3, 10, QLatin1Char('0')))))
            return false;
    return true;
}

// One run over the inputs into `outputFolder`: its milliseconds, and how
// many of its files' lines say "up to date"; -1 lines when it failed.
double Run(const Places &places, const QString &outputFolder, int &upToDate)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), places.home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), places.home.path());
    environment.insert(QStringLiteral("TEMP"), places.staging.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    program.start(kProgram, {QStringLiteral("--batch"), QStringLiteral("--mode"),
                             QStringLiteral("mix"), QStringLiteral("--skip-existing"),
                             QStringLiteral("--output"), outputFolder, places.inputs.path()});
    program.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    const QByteArray out = program.readAllStandardOutput();
    upToDate = int(out.count("\nup to date: ") + (out.startsWith("up to date: ") ? 1 : 0));
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
        std::fprintf(stderr, "%s", program.readAllStandardError().constData());
        upToDate = -1;
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    Places places;
    if (!MakeInputs(places.inputs.path(), kFiles))
        return 1;
    std::printf("bench_skip_existing: velunor --batch --skip-existing on %d one-second files, "
                "the first run and a second one over the same files, %d rounds\n",
                kFiles, kRounds);
    std::vector<double> first, second;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir outputs;
        int upToDate = 0;
        first.push_back(Run(places, outputs.path(), upToDate));
        ok = ok && upToDate == 0;
        second.push_back(Run(places, outputs.path(), upToDate));
        ok = ok && upToDate == kFiles;
        std::printf("  round %d: first run %9.1f ms, second run %7.1f ms\n", round + 1,
                    first.back(), second.back());
    }
    const double ratio = Median(second) / Median(first);
    bench::Result("second run --skip-existing / first, 300 one-second files",
                  QString::number(ratio, 'f', 4), QString::number(kGoal, 'f', 2), ratio / kGoal);
    if (!ok)
        std::printf("  the runs did not convert, or find up to date, every file\n");
    return ok ? 0 : 1;
}
