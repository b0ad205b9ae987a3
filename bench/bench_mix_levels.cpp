// How long the check that a mono mix did not come out near silent takes on
// a one-minute stereo MP3 and its conversion, against the conversion itself
// by the same `sox` command the program runs: medians of several runs, from
// a warm disk cache. The goal is below 2% of the conversion, so that the
// check can follow every conversion. Also told: what a full decode of the
// output costs, as the ReplayGain values of an output need (only for inputs
// that carry them), which is why the check decodes ten short stretches.

#include "Audio.h"
#include "BenchSupport.h"
#include "conversion/Loudness.h"
#include "conversion/MixLevels.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace velunor;

int main()
{
    constexpr int kConversions = 5;
    constexpr int kChecks = 30;
    constexpr double kGoalShare = 0.02;
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("one minute.mp3"));
    const QString output = folder.filePath(QStringLiteral("one minute mono.mp3"));
    if (const QString problem = testing::MakeStereoMp3(input, 60.0); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    std::vector<double> conversions;
    QElapsedTimer clock;
    for (int run = 0; run < kConversions; ++run) {
        clock.start();
        const QString problem = testing::ConvertToMono(input, output);
        conversions.push_back(clock.nsecsElapsed() / 1e6);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
    }

    const QByteArray inputBytes = QFile::encodeName(input);
    const QByteArray outputBytes = QFile::encodeName(output);
    std::vector<double> checks;
    for (int run = 0; run < kChecks; ++run) {
        clock.start();
        const std::optional<conversion::MixLevels> levels =
            conversion::CompareMixLevels(inputBytes, outputBytes);
        checks.push_back(clock.nsecsElapsed() / 1e6);
        if (!levels || levels->outputNearSilent)
            return 1;
    }

    std::vector<double> decodes;
    for (int run = 0; run < kConversions; ++run) {
        clock.start();
        const std::optional<conversion::TrackLoudness> loudness =
            conversion::MeasureLoudness(outputBytes);
        decodes.push_back(clock.nsecsElapsed() / 1e6);
        if (!loudness)
            return 1;
    }

    const double conversion = bench::Median(conversions);
    const double check = bench::Median(checks);
    const double share = check / conversion;
    std::printf("bench_mix_levels: a full decode and measure of the output takes %.1f ms "
                "(median of %d): %.2f%% of the conversion\n",
                bench::Median(decodes), kConversions, bench::Median(decodes) / conversion * 100);
    std::printf("bench_mix_levels: conversion %.1f ms (median of %d), check %.2f ms (median of "
                "%d): %.2f%% of the conversion\n",
                conversion, kConversions, check, kChecks, share * 100);
    bench::Result("Near-silence check of a one-minute MP3, share of its conversion",
                  QString::number(share * 100, 'f', 2) + QStringLiteral(" %"),
                  QString::number(kGoalShare * 100) + QStringLiteral(" %"), share / kGoalShare);
    return 0;
}
