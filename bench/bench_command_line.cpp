// The command line (`velunor --batch`, the real program with no display)
// against SoX run by a shell as many at a time as the run converts at once
// (xargs -P N), on the same files:
//   - 300 one-second stereo MP3s (goal: at most 1.10 times the shell), where
//     what the program adds to each file shows;
//   - 12 one-minute stereo MP3s (goal: at most 1.05);
//   - sixty 30-second files listed before one 30-minute file, the shell
//     taking them in list order (goal: at most 0.8), where starting the
//     longest file first pays;
//   - 40 one-minute MP3s that are mono already, which the program copies,
//     against `cp` and `sync` of each file (written through to the disk, as
//     the program writes every output) by xargs -P N (goal: at most 1.5).
// Every run of the program includes its start, the staging of the converter,
// the folder search or the list, the checks, tags and clean-up.

#include "Audio.h"
#include "BenchSupport.h"
#include "conversion/ConversionJob.h"

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
using velunor::bench::Shell;

namespace {

const QString kProgram = QStringLiteral(VELUNOR_PROGRAM_DIR "/velunor");
constexpr int kRounds = 3;

void EmptyFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
}

// `count` copies of one stereo MP3 of `seconds` (a mono one at 128 kbit/s
// when `mono`), named from `stem`, in `folder`; empty when SoX could not
// make it.
QStringList MakeCopies(const QString &folder, const QString &stem, int count, double seconds,
                       bool mono = false)
{
    const QString first = QDir(folder).filePath(stem + QStringLiteral(" 001.mp3"));
    const QString problem =
        mono ? testing::RunTool(QStringLiteral("sox"),
                                {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                                 QStringLiteral("-C"), QStringLiteral("128"), first,
                                 QStringLiteral("synth"), QString::number(seconds),
                                 QStringLiteral("sine"), QStringLiteral("440")})
             : testing::MakeStereoMp3(first, seconds);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return {};
    }
    QStringList files{first};
    for (int i = 2; i <= count; ++i) {
        files << QDir(folder).filePath(stem +
                                       QStringLiteral(" %1.mp3").arg(i, 3, 10, QLatin1Char('0')));
        if (!QFile::copy(first, files.last()))
            return {};
    }
    return files;
}

struct Places {
    QTemporaryDir home, staging;
};

// The command line on `paths`; false in `ok` when it did not convert them all.
double CommandLine(const Places &places, const QStringList &paths, const QString &outputFolder,
                   int atOnce, bool &ok)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("HOME"), places.home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), places.home.path());
    environment.insert(QStringLiteral("TEMP"), places.staging.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    program.start(kProgram,
                  QStringList{QStringLiteral("--batch"), QStringLiteral("--mode"),
                              QStringLiteral("mix"), QStringLiteral("--output"), outputFolder,
                              QStringLiteral("--jobs"), QString::number(atOnce)} +
                      paths);
    program.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
        std::fprintf(stderr, "%s", program.readAllStandardError().constData());
        ok = false;
    }
    return ms;
}

struct Comparison {
    std::vector<double> program, shell;
};

// Milliseconds that a shell takes to copy each of `files` into
// `outputFolder` and write it through to the disk, `atOnce` at a time.
double CopyShell(const QStringList &files, const QString &outputFolder, int atOnce)
{
    const QString script = QStringLiteral("printf '%s\\0' \"$@\" | xargs -0 -P %1 -I{} sh -c "
                                          "'cp \"$1\" \"%2/\" && sync \"%2/${1##*/}\"' _ {}");
    return bench::TimedShell(script.arg(atOnce).arg(outputFolder), files);
}

using ShellRun = double (*)(const QStringList &files, const QString &outputFolder, int atOnce);

Comparison Compare(const Places &places, const QStringList &programPaths,
                   const QStringList &shellFiles, int atOnce, bool &ok, ShellRun shellRun = &Shell)
{
    QTemporaryDir outputs, shellOutputs;
    shellRun(shellFiles, shellOutputs.path(), atOnce); // warm-up
    Comparison comparison;
    for (int round = 0; round < kRounds; ++round) {
        EmptyFolder(shellOutputs.path());
        comparison.shell.push_back(shellRun(shellFiles, shellOutputs.path(), atOnce));
        EmptyFolder(outputs.path());
        comparison.program.push_back(CommandLine(places, programPaths, outputs.path(), atOnce, ok));
        if (QDir(outputs.path()).entryList(QDir::Files).size() != shellFiles.size())
            ok = false;
    }
    return comparison;
}

void Report(const char *what, const char *figure, const Comparison &comparison, double goal)
{
    std::printf("  %s\n", what);
    for (int round = 0; round < kRounds; ++round)
        std::printf("    round %d: command line %9.1f ms, shell %9.1f ms\n", round + 1,
                    comparison.program[round], comparison.shell[round]);
    const double ratio = Median(comparison.program) / Median(comparison.shell);
    bench::Result(figure, QString::number(ratio, 'f', 3), QString::number(goal, 'f', 2),
                  ratio / goal);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int atOnce = conversion::ConversionJob::ConversionsAtOnce();
    Places places;
    bool ok = true;
    std::printf("bench_command_line: velunor --batch --jobs %d against xargs -P %d sox, mix "
                "mode, %d rounds\n",
                atOnce, atOnce, kRounds);

    {
        QTemporaryDir inputs;
        const QStringList files = MakeCopies(inputs.path(), QStringLiteral("clip"), 300, 1.0);
        if (files.isEmpty())
            return 1;
        // The folder is searched by the program, as a script would hand it over.
        Report("300 one-second files, the folder given",
               "command line / shell, 300 one-second files",
               Compare(places, {inputs.path()}, files, atOnce, ok), 1.10);
    }
    {
        QTemporaryDir inputs;
        const QStringList files = MakeCopies(inputs.path(), QStringLiteral("song"), 12, 60.0);
        if (files.isEmpty())
            return 1;
        Report("12 one-minute files", "command line / shell, 12 one-minute files",
               Compare(places, files, files, atOnce, ok), 1.05);
    }
    {
        QTemporaryDir inputs;
        QStringList files = MakeCopies(inputs.path(), QStringLiteral("chapter"), 60, 30.0);
        const QStringList book = MakeCopies(inputs.path(), QStringLiteral("whole book"), 1, 1800.0);
        if (files.isEmpty() || book.isEmpty())
            return 1;
        files += book;
        Report("sixty 30-second files listed before one 30-minute file",
               "command line / shell in list order, one long file last",
               Compare(places, files, files, atOnce, ok), 0.8);
    }
    {
        QTemporaryDir inputs;
        const QStringList files = MakeCopies(inputs.path(), QStringLiteral("mono"), 40, 60.0, true);
        if (files.isEmpty())
            return 1;
        Report("40 one-minute files that are mono already, against cp and sync",
               "command line / copy, 40 one-minute mono files",
               Compare(places, files, files, atOnce, ok, &CopyShell), 1.5);
    }
    if (!ok)
        std::printf("  the command line did not convert every file\n");
    return ok ? 0 : 1;
}
