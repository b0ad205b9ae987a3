// How long measuring a five-minute 128 kbit/s stereo MP3 by walking its frames
// takes, from a warm disk cache: the median of 50 runs. The goal is below
// 5 ms, so that checking every converted file's length costs next to nothing
// against running SoX.

#include "Audio.h"
#include "BenchSupport.h"
#include "tags/MpegAudio.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace velunor;

int main()
{
    constexpr int kRuns = 50;
    constexpr double kGoalMs = 5.0;
    QTemporaryDir folder;
    const QString song = folder.filePath(QStringLiteral("five minutes.mp3"));
    if (const QString problem = testing::MakeStereoMp3(song, 300.0); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    const std::optional<tags::MpegAudioLength> length =
        tags::MeasureMpegAudio(velunor::Path::FromText(song)); // warms the cache
    if (!length)
        return 1;
    std::vector<double> times;
    QElapsedTimer clock;
    for (int run = 0; run < kRuns; ++run) {
        clock.start();
        const bool measured = tags::MeasureMpegAudio(velunor::Path::FromText(song)).has_value();
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (!measured)
            return 1;
    }
    const double median = bench::Median(times);
    std::printf("bench_measure_mpeg_audio: %.1f MB, %lld frames, %.2f s\n",
                QFileInfo(song).size() / 1e6, length->frames, length->seconds());
    std::printf("  median %.3f ms over %d runs (goal below %.0f ms)\n", median, kRuns, kGoalMs);
    bench::Result("Measuring a five-minute MP3 by its frames, median",
                  QString::number(median, 'f', 3) + QStringLiteral(" ms"),
                  QString::number(kGoalMs) + QStringLiteral(" ms"), median / kGoalMs);
    return 0;
}
