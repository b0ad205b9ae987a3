// Measuring the audio of real MP3 files that SoX makes: the loudness and
// peaks of tones whose loudness ITU-R BS.1770 gives, and whether a mono mix
// came out near silent because its input's channels cancel each other.

#include "Audio.h"
#include "conversion/Loudness.h"
#include "conversion/MixLevels.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <cmath>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

// Has SoX make `path` from nothing: `channels` channels of `seconds` of
// the synth's `sound`, then `effects`; at 320 kbit/s, where MP3 coding
// changes the level of a tone least (0.2 dB; 0.45 dB at 64 kbit/s).
QString Synthesise(const QString &path, int channels, double seconds, const QStringList &sound,
                   const QStringList &effects = {})
{
    return RunTool("sox", QStringList{"-n", "-r", "44100", "-c", QString::number(channels), "-C",
                                      "320", path, "synth", QString::number(seconds)} +
                              sound + effects);
}

QByteArray PathBytes(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

class AudioLevelsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(scratch_.problem(), QString()); }

    void findsAMixNearSilent_data()
    {
        QTest::addColumn<QStringList>("effects"); // after a 440 Hz sine on both channels
        QTest::addColumn<double>("inputDb");      // of the louder channel
        QTest::addColumn<bool>("nearSilent");
        // Whether the input's own mix comes close enough to cancelling that
        // the output is decoded to tell.
        QTest::addColumn<bool>("outputLookedAt");

        // A sine at half of full scale has an RMS level of -9.03 dBFS.
        QTest::newRow("opposite channels")
            << QStringList{"vol", "0.5", "remix", "1", "1v-1"} << -9.03 << true << true;
        QTest::newRow("the same on both") << QStringList{"vol", "0.5"} << -9.03 << false << false;
        QTest::newRow("one channel silent")
            << QStringList{"vol", "0.5", "remix", "1", "0"} << -9.03 << false << false;
        // The mix is 16.5 dB down: looked at, and not near silence.
        QTest::newRow("mostly opposite")
            << QStringList{"vol", "0.5", "remix", "1", "1v-0.7"} << -9.03 << false << true;
        QTest::newRow("quiet but not silent, opposite")
            << QStringList{"vol", "0.001", "remix", "1", "1v-1"} << -63.0 << false << false;
        QTest::newRow("silence") << QStringList{"vol", "0"}
                                 << -std::numeric_limits<double>::infinity() << false << false;
    }

    void findsAMixNearSilent()
    {
        QFETCH(QStringList, effects);
        QFETCH(double, inputDb);
        QFETCH(bool, nearSilent);
        QFETCH(bool, outputLookedAt);
        const QString input = scratch_.path(QTest::currentDataTag() + QStringLiteral(".mp3"));
        const QString output = scratch_.path(QTest::currentDataTag() + QStringLiteral(" mono.mp3"));
        QCOMPARE(Synthesise(input, 2, 20.0, {"sine", "440"}, effects), QString());
        QCOMPARE(ConvertToMono(input, output), QString());

        const std::optional<conversion::MixLevels> levels =
            conversion::CompareMixLevels(PathBytes(input), PathBytes(output));
        QVERIFY(levels);
        QCOMPARE(int(levels->inputChannelDb.size()), 2);
        const double louder = std::max(levels->inputChannelDb[0], levels->inputChannelDb[1]);
        QVERIFY2(std::isinf(inputDb) ? std::isinf(louder) : qAbs(louder - inputDb) < 0.5,
                 qPrintable(QString::number(louder)));
        QCOMPARE(levels->outputNearSilent, nearSilent);
        const std::optional<conversion::InputStretches> stretches =
            conversion::MeasureInputStretches(PathBytes(input));
        QVERIFY(stretches);
        QCOMPARE(conversion::MixMayCancel(*stretches), outputLookedAt);
    }

    void comparesAnOrdinaryMixAndGivesUpWhenTold()
    {
        const QString output = scratch_.path(QStringLiteral("mono.mp3"));
        QCOMPARE(ConvertToMono(scratch_.stereo(), output), QString());
        const std::optional<conversion::MixLevels> levels =
            conversion::CompareMixLevels(PathBytes(scratch_.stereo()), PathBytes(output));
        QVERIFY(levels);
        // The stretches tell the level of the whole of a steady sound.
        QVERIFY2(qAbs(levels->outputDb - SoxRmsDb(output)) < 0.2,
                 qPrintable(QString::number(levels->outputDb)));
        QVERIFY(!levels->outputNearSilent);

        const std::atomic<bool> cancel{true};
        QVERIFY(!conversion::CompareMixLevels(PathBytes(scratch_.stereo()), PathBytes(output),
                                              &cancel));
        QVERIFY(!conversion::CompareMixLevels(PathBytes(scratch_.path("missing.mp3")),
                                              PathBytes(output)));
    }

    void measuresLoudness_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("effects"); // after a 997 Hz sine on every channel
        QTest::addColumn<double>("lufs");         // NaN: silence
        QTest::addColumn<double>("peak");

        // BS.1770 calibrates a full-scale 997 Hz sine in one front channel to
        // -3.01 LUFS; half of full scale is 6.02 dB less, and the same in a
        // second channel adds its power, 3.01 dB. A mono file counts twice.
        QTest::newRow("stereo, both channels") << 2 << QStringList{"vol", "0.5"} << -6.02 << 0.5;
        QTest::newRow("stereo, left only")
            << 2 << QStringList{"vol", "0.5", "remix", "1", "0"} << -9.03 << 0.5;
        QTest::newRow("stereo, right only")
            << 2 << QStringList{"vol", "0.5", "remix", "0", "1"} << -9.03 << 0.5;
        QTest::newRow("mono") << 1 << QStringList{"vol", "0.5"} << -6.02 << 0.5;
        QTest::newRow("mono, quieter") << 1 << QStringList{"vol", "0.1"} << -20.0 << 0.1;
        QTest::newRow("silence") << 1 << QStringList{"vol", "0"} << qQNaN() << 0.0;
    }

    void measuresLoudness()
    {
        QFETCH(int, channels);
        QFETCH(QStringList, effects);
        QFETCH(double, lufs);
        QFETCH(double, peak);
        const QString tone = scratch_.path(QTest::currentDataTag() + QStringLiteral(".mp3"));
        QCOMPARE(Synthesise(tone, channels, 10.0, {"sine", "997"}, effects), QString());

        const std::optional<conversion::TrackLoudness> track =
            conversion::MeasureLoudness(PathBytes(tone));
        QVERIFY(track);
        QCOMPARE(int(track->channelPeaks().size()), channels);
        QVERIFY2(qAbs(track->peak() - peak) < 0.02, qPrintable(QString::number(track->peak())));
        if (qIsNaN(lufs)) {
            QVERIFY(!track->integratedLufs() && !track->replayGainDb());
            return;
        }
        QVERIFY2(qAbs(*track->integratedLufs() - lufs) < 0.5,
                 qPrintable(QString::number(*track->integratedLufs())));
        QCOMPARE(*track->replayGainDb(), conversion::ReplayGainFor(*track->integratedLufs()));
        QVERIFY(qAbs(*track->replayGainDb() - (-18 - lufs)) < 0.5);
    }

    void measuresAnAlbumAsAWhole()
    {
        // Ten seconds at -6.02 LUFS and ten at -9.03: their mean power,
        // 10 log10((10^-0.602 + 10^-0.903) / 2) = -7.27 LUFS.
        const QString loud = scratch_.path(QStringLiteral("album loud.mp3"));
        const QString soft = scratch_.path(QStringLiteral("album soft.mp3"));
        QCOMPARE(Synthesise(loud, 2, 10.0, {"sine", "997"}, {"vol", "0.5"}), QString());
        QCOMPARE(Synthesise(soft, 2, 10.0, {"sine", "997"}, {"vol", "0.5", "remix", "1", "0"}),
                 QString());
        const int fd = ::open(PathBytes(soft).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const std::optional<conversion::TrackLoudness> first =
            conversion::MeasureLoudness(PathBytes(loud));
        const std::optional<conversion::TrackLoudness> second = conversion::MeasureLoudness(fd);
        ::close(fd);
        QVERIFY(first && second);

        const std::optional<conversion::AlbumLoudness> album =
            conversion::MeasureAlbumLoudness({&*first, &*second});
        QVERIFY(album);
        QVERIFY2(qAbs(*album->integratedLufs + 7.27) < 0.5,
                 qPrintable(QString::number(*album->integratedLufs)));
        QCOMPARE(*album->replayGainDb, conversion::ReplayGainFor(*album->integratedLufs));
        QCOMPARE(album->peak, std::max(first->peak(), second->peak()));
        QVERIFY(!conversion::MeasureAlbumLoudness({}));

        const std::atomic<bool> cancel{true};
        QVERIFY(!conversion::MeasureLoudness(PathBytes(loud), &cancel));
        QVERIFY(!conversion::MeasureLoudness(PathBytes(scratch_.path("missing.mp3"))));
    }

private:
    const StereoScratch scratch_;
};

QTEST_GUILESS_MAIN(AudioLevelsTest)
#include "test_audio_levels.moc"
