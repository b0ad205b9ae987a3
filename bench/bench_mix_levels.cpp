// How long the check that a mono mix did not come out near silent takes on
// a one-minute stereo MP3 and its conversion, against the conversion itself
// by the same `sox` command the program runs: medians of several runs, from
// a warm disk cache. The goal is below 2% of the conversion, so that the
// check can follow every conversion. Also told: what a full decode of the
// output costs, as the ReplayGain values of an output need (only for inputs
// that carry them), which is why the check decodes ten short stretches.
//
// Then the same for a one-second file, as processor time (SoX's own, as the
// system accounts it to its parent), where SoX's start weighs most and the
// check of a run's every input (its stretches measured; the output is then
// left alone, as the mix cannot have cancelled) is the program's largest cost
// in a run of many short files on busy processors.

#include "Audio.h"
#include "BenchSupport.h"
#include "conversion/Loudness.h"
#include "conversion/MixLevels.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

using namespace velunor;

namespace {

// Milliseconds of processor time of the ended processes this one started.
double ChildrenCpuMs()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double ThreadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Reports `share` (0 to 1) of a conversion against the goal every check has.
void ReportShare(const char *figure, double share, double goalShare)
{
    bench::Result(figure, QString::number(share * 100, 'f', 2) + QStringLiteral(" %"),
                  QString::number(goalShare * 100) + QStringLiteral(" %"), share / goalShare);
}

} // namespace

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
    ReportShare("Near-silence check of a one-minute MP3, share of its conversion", share,
                kGoalShare);

    const QString clip = folder.filePath(QStringLiteral("one second.mp3"));
    const QString clipOutput = folder.filePath(QStringLiteral("one second mono.mp3"));
    if (const QString problem = testing::MakeStereoMp3(clip, 1.0); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    std::vector<double> clipConversions, clipChecks;
    for (int run = 0; run < kChecks; ++run) {
        const double soxBefore = ChildrenCpuMs();
        const QString problem = testing::ConvertToMono(clip, clipOutput);
        clipConversions.push_back(ChildrenCpuMs() - soxBefore);
        if (!problem.isEmpty())
            return 1;
        const double checkBefore = ThreadCpuMs();
        const std::optional<conversion::InputStretches> stretches =
            conversion::MeasureInputStretches(QFile::encodeName(clip));
        clipChecks.push_back(ThreadCpuMs() - checkBefore);
        if (!stretches || conversion::MixMayCancel(*stretches))
            return 1;
    }
    const double clipShare = bench::Median(clipChecks) / bench::Median(clipConversions);
    std::printf("bench_mix_levels: one-second file, processor time: conversion %.1f ms, its "
                "input's check %.2f ms (medians of %d): %.2f%% of the conversion\n",
                bench::Median(clipConversions), bench::Median(clipChecks), kChecks,
                clipShare * 100);
    ReportShare("Mix check of a one-second MP3's input, share of its conversion", clipShare,
                kGoalShare);
    return 0;
}
