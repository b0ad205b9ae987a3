// What a script that calls the command line once per file (find -exec) pays
// for each call: `velunor --batch` on one 1-second stereo MP3 against the same
// SoX command run by hand (`sox --no-glob IN -c 1 --no-glob OUT`), started in
// turn, one pair after another, so that a machine that slows down or speeds
// up meanwhile weighs on both alike. The figure is the median of the pairs'
// ratios; the goal is at most 1.5. The program's time includes all of its
// start: loading and linking, staging the converter, the checks of the
// output, its fsync and the removal of the staged files.
//
// Then what a language costs the start: `velunor --help` in German (its
// catalogue loaded) against the same in English (no catalogue even looked
// for), in turn; the goal is at most 1.05.

#include "Audio.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <utility>
#include <vector>

using namespace velunor;
using velunor::bench::Median;

namespace {

const QString kProgram = QStringLiteral(VELUNOR_PROGRAM_DIR "/velunor");
constexpr int kPairs = 41;
constexpr double kGoal = 1.5;
constexpr double kLanguageGoal = 1.05;

// Milliseconds from the start of `program` to its end; false in `ok` when it
// did not end well.
double Timed(QProcess &process, const QString &program, const QStringList &arguments, bool &ok)
{
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s", qPrintable(program),
                     process.readAllStandardError().constData());
        ok = false;
    }
    return ms;
}

void EmptyFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir home, staging, inputs, programOutputs, soxOutputs;
    const QString input = QDir(inputs.path()).filePath(QStringLiteral("one second.mp3"));
    if (const QString problem = testing::MakeStereoMp3(input, 1.0); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    // No display and no stored settings: what a script on a server has.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    environment.insert(QStringLiteral("TEMP"), staging.path());
    QProcess program, sox;
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    const QStringList programArguments{QStringLiteral("--batch"), QStringLiteral("--output"),
                                       programOutputs.path(), input};
    const QStringList soxArguments{
        QStringLiteral("--no-glob"), input,
        QStringLiteral("-c"),        QStringLiteral("1"),
        QStringLiteral("--no-glob"), QDir(soxOutputs.path()).filePath(QStringLiteral("x.mp3"))};

    std::printf("bench_startup: velunor --batch on one 1-second file against the same sox "
                "command, %d pairs\n",
                kPairs);
    bool ok = true;
    std::vector<double> programMs, soxMs, ratios;
    for (int pair = -1; pair < kPairs; ++pair) { // pair -1 warms up
        EmptyFolder(programOutputs.path());
        EmptyFolder(soxOutputs.path());
        const double ours = Timed(program, kProgram, programArguments, ok);
        const double theirs = Timed(sox, QStringLiteral("sox"), soxArguments, ok);
        if (pair < 0)
            continue;
        programMs.push_back(ours);
        soxMs.push_back(theirs);
        ratios.push_back(ours / theirs);
    }
    if (!ok)
        return 1;
    const double ratio = Median(ratios);
    std::printf("  median: command line %.1f ms, sox %.1f ms; median ratio of the pairs %.3f\n",
                Median(programMs), Median(soxMs), ratio);
    bench::Result("command line start-up / sox, one 1-second file", QString::number(ratio, 'f', 3),
                  QString::number(kGoal, 'f', 2), ratio / kGoal);

    QProcess english, german;
    for (auto [process, locale] : {std::pair{&english, "C.UTF-8"}, {&german, "de_DE.UTF-8"}}) {
        QProcessEnvironment localised = environment;
        localised.insert(QStringLiteral("LC_ALL"), QLatin1String(locale));
        localised.remove(QStringLiteral("LANGUAGE"));
        process->setProcessEnvironment(localised);
        process->setStandardOutputFile(QProcess::nullDevice());
    }
    std::vector<double> englishMs, germanMs, languageRatios;
    for (int pair = -1; pair < kPairs; ++pair) {
        const double plain = Timed(english, kProgram, {QStringLiteral("--help")}, ok);
        const double translated = Timed(german, kProgram, {QStringLiteral("--help")}, ok);
        if (pair < 0)
            continue;
        englishMs.push_back(plain);
        germanMs.push_back(translated);
        languageRatios.push_back(translated / plain);
    }
    if (!ok)
        return 1;
    const double languageRatio = Median(languageRatios);
    std::printf("  --help: German %.1f ms, English %.1f ms; median ratio of the pairs %.3f\n",
                Median(germanMs), Median(englishMs), languageRatio);
    bench::Result("command line start-up in German / in English (--help)",
                  QString::number(languageRatio, 'f', 3), QString::number(kLanguageGoal, 'f', 2),
                  languageRatio / kLanguageGoal);
    return 0;
}
