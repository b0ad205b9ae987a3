#pragma once

// What every benchmark needs: medians, the result line that bench/run
// collects, and a set of stereo MP3s to convert.

#include "Audio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace velunor::bench {

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One line of bench/run's table: the figure, what was measured, its goal,
// and their ratio (below 1 meets the goal).
inline void Result(const char *figure, const QString &measured, const QString &goal, double ratio)
{
    std::printf("RESULT\t%s\t%s\t%s\t%.3f\n", figure, qPrintable(measured), qPrintable(goal),
                ratio);
}

// `count` one-second stereo MP3s "file N.mp3" in `folder`; empty when SoX
// could not make them (it says why on stderr).
inline QStringList MakeStereoInputs(const QString &folder, int count)
{
    QStringList files;
    for (int i = 1; i <= count; ++i) {
        files << QDir(folder).filePath(QStringLiteral("file %1.mp3").arg(i));
        const QString problem = testing::MakeStereoMp3(files.last());
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return {};
        }
    }
    return files;
}

// Milliseconds that bash takes to run `script` with `files` as its
// arguments.
inline double TimedShell(const QString &script, const QStringList &files)
{
    QProcess shell;
    QElapsedTimer clock;
    clock.start();
    shell.start(QStringLiteral("bash"),
                QStringList{QStringLiteral("-c"), script, QStringLiteral("shell")} + files);
    shell.waitForFinished(-1);
    return clock.nsecsElapsed() / 1e6;
}

// Milliseconds that a shell takes to run the program's own command for each
// of `files`, `atOnce` at a time in list order (xargs), into `outputFolder`:
// what a user converting by hand would do.
inline double Shell(const QStringList &files, const QString &outputFolder, int atOnce)
{
    const QString script =
        QStringLiteral("printf '%s\\0' \"$@\" | xargs -0 -P %1 -I{} sh -c "
                       "'n=${1##*/}; sox --no-glob \"$1\" -c 1 --no-glob \"%2/${n%.*}.mp3\"' _ {}");
    return TimedShell(script.arg(atOnce).arg(outputFolder), files);
}

} // namespace velunor::bench
