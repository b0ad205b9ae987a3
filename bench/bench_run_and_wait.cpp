// What waiting through RunAndWait costs per file: the same 20 one-second
// stereo MP3s are converted by the staged SoX, each once through RunAndWait
// and once started directly and waited for with a plain blocking wait. The
// goal is a median overhead below 10 ms per file.

#include "Audio.h"
#include "BenchSupport.h"
#include "Files.h"
#include "conversion/CommandLine.h"
#include "conversion/ConverterFiles.h"
#include "conversion/Shell32.h"
#include "platform/SystemProcessStarter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

using namespace velunor;
using velunor::bench::Median;

namespace {

constexpr int kFiles = 20;

// Starts the program and blocks until it ends: the least a run can cost.
int RunBare(const CommandLine &line, const QStringList &environment)
{
    std::vector<QByteArray> words{QFile::encodeName(line.program())};
    for (const QString &argument : line.arguments())
        words.push_back(QFile::encodeName(argument));
    std::vector<QByteArray> entries;
    for (const QString &entry : environment)
        entries.push_back(QFile::encodeName(entry));
    std::vector<char *> argv, envp;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    for (QByteArray &entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv.front(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);

    QTemporaryDir staging, inputs, outputs;
    testing::StageConverter(staging.path());
    const QString converter = StagedPath(staging.path(), ConverterProgram());
    const QStringList environment = Shell32::ConverterEnvironment(staging.path());

    const QStringList files = bench::MakeStereoInputs(inputs.path(), kFiles);
    if (files.isEmpty())
        return 1;

    SystemProcessStarter processes;
    QString status;
    const Shell32::StatusText show = [&status](const QString &text) { status = text; };
    // One warm-up of each, so that neither pays for a cold disk cache.
    RunBare(CommandLine(converter, ArgumentString::ForMode(ChannelMode::Mix, files[0],
                                                           outputs.filePath("warm.mp3"))),
            environment);

    std::vector<double> bare, waited, overhead;
    int failures = 0;
    QElapsedTimer clock;
    for (int i = 0; i < kFiles; ++i) {
        const CommandLine direct(
            converter,
            ArgumentString::ForMode(ChannelMode::Mix, files[i],
                                    outputs.filePath(QStringLiteral("bare %1.mp3").arg(i))));
        const CommandLine polled(
            converter,
            ArgumentString::ForMode(ChannelMode::Mix, files[i],
                                    outputs.filePath(QStringLiteral("run %1.mp3").arg(i))));
        clock.start();
        failures += RunBare(direct, environment) != 0;
        bare.push_back(clock.nsecsElapsed() / 1e6);
        clock.start();
        failures += Shell32::RunAndWait(processes, polled, show) != 0;
        waited.push_back(clock.nsecsElapsed() / 1e6);
        overhead.push_back(waited.back() - bare.back());
    }

    double bareTotal = 0, waitedTotal = 0;
    for (int i = 0; i < kFiles; ++i) {
        bareTotal += bare[i];
        waitedTotal += waited[i];
    }
    std::printf("bench_run_and_wait: %d one-second stereo MP3s, mix mode\n", kFiles);
    std::printf("  direct start + blocking wait: total %8.1f ms, median %6.2f ms per file\n",
                bareTotal, Median(bare));
    std::printf("  RunAndWait:                   total %8.1f ms, median %6.2f ms per file\n",
                waitedTotal, Median(waited));
    std::printf("  overhead per file: median %.2f ms (goal below 10 ms)\n", Median(overhead));
    std::printf("  ratio RunAndWait / direct: %.3f\n", waitedTotal / bareTotal);
    bench::Result("RunAndWait overhead per file, median",
                  QString::number(Median(overhead), 'f', 2) + QStringLiteral(" ms"),
                  QStringLiteral("10 ms"), Median(overhead) / 10.0);
    if (failures)
        std::printf("  %d conversions failed\n", failures);
    return failures ? 1 : 0;
}
