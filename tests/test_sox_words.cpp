// What the program says to SoX about the output's encoding and what SoX
// says back: the --quality choices and the words they become, checked on
// real SoX runs, and the clipping counts and reasons read from SoX's real
// error output as well as from lines as SoX writes them.

#include "Audio.h"
#include "Files.h"
#include "conversion/CommandLine.h"
#include "conversion/OutputQuality.h"
#include "conversion/SoxMessages.h"
#include "platform/Processes.h"
#include "tags/MpegAudio.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace velunor;
using namespace velunor::testing;

namespace {

// Runs the system's SoX with the program's own words for `mode`, with
// `encoding` among them and `effects` after them; its error output.
QByteArray Convert(conversion::ChannelMode mode, const QString &input, const QString &output,
                   const QStringList &encoding = {}, const QStringList &effects = {})
{
    QStringList arguments = effects;
    const QByteArrayList words =
        conversion::ArgumentString::ForMode(mode, AsPath(input), AsPath(output), encoding)
            .arguments();
    for (auto word = words.rbegin(); word != words.rend(); ++word)
        arguments.prepend(QString::fromUtf8(*word));
    QProcess sox;
    sox.start(QStringLiteral("sox"), arguments);
    sox.waitForFinished(60000);
    return sox.readAllStandardError();
}

tags::MpegAudioLength Measure(const QString &path)
{
    return tags::MeasureMpegAudio(AsPath(path)).value_or(tags::MpegAudioLength());
}

// The frame count that a Xing header in `path` gives; -1 when it has none.
qint64 XingFrameCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(4096);
    const qsizetype xing = head.indexOf("Xing");
    constexpr int kFramesFlag = 1;
    if (xing < 0 || xing + 12 > head.size() || !(head[xing + 7] & kFramesFlag))
        return -1;
    const auto *count = reinterpret_cast<const uchar *>(head.constData() + xing + 8);
    return qint64(count[0]) << 24 | count[1] << 16 | count[2] << 8 | count[3];
}

} // namespace

class SoxWordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(scratch_.problem(), QString()); }

    void readsTheQuality_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // -1: refused
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("error");

        const auto source = int(conversion::OutputQuality::Kind::Source);
        const auto constant = int(conversion::OutputQuality::Kind::ConstantBitRate);
        const auto variable = int(conversion::OutputQuality::Kind::VariableBitRate);
        const QString every = "8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, "
                              "224, 256, 320";
        const QString words = "--quality takes source, a bit rate in kbps such as 128, or v0 to "
                              "v9, not \"%1\"";
        QTest::newRow("source") << "Source" << source << 0 << "";
        QTest::newRow("128") << "128" << constant << 128 << "";
        QTest::newRow("MPEG-2 only") << "8" << constant << 8 << "";
        QTest::newRow("v0") << "v0" << variable << 0 << "";
        QTest::newRow("V9") << "V9" << variable << 9 << "";
        QTest::newRow("no such rate")
            << "100" << -1 << 0
            << "--quality 100: MPEG audio has no bit rate of 100 kbps, only " + every;
        QTest::newRow("v10") << "v10" << -1 << 0 << words.arg("v10");
        QTest::newRow("kbps unit") << "128k" << -1 << 0 << words.arg("128k");
    }

    void readsTheQuality()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(QString, error);
        const conversion::ParsedQuality parsed = conversion::ParseOutputQuality(text);
        QCOMPARE(parsed.error, error);
        if (kind >= 0)
            QCOMPARE(parsed.quality,
                     (conversion::OutputQuality{conversion::OutputQuality::Kind(kind), value}));
    }

    void choosesTheEncodingWords_data()
    {
        QTest::addColumn<QString>("quality"); // "" for none
        QTest::addColumn<int>("inputKbps");   // 0: not an MP3 input
        QTest::addColumn<bool>("inputMono");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("none") << "" << 128 << false << 44100 << QStringList();
        QTest::newRow("128") << "128" << 0 << false << 44100 << QStringList{"-C", "128"};
        // LAME would make 160 of it without a word.
        QTest::newRow("192 at 22 kHz") << "192" << 0 << false << 22050 << QStringList{"-C", "160"};
        QTest::newRow("144 at 44 kHz, ties go down")
            << "144" << 0 << false << 44100 << QStringList{"-C", "128"};
        QTest::newRow("v4") << "v4" << 0 << false << 44100 << QStringList{"-C", "-4"};
        QTest::newRow("v0") << "v0" << 0 << false << 44100 << QStringList{"-C", "0"};
        QTest::newRow("source stereo")
            << "source" << 192 << false << 44100 << QStringList{"-C", "96"};
        QTest::newRow("source mono") << "source" << 56 << true << 44100 << QStringList{"-C", "56"};
        QTest::newRow("source rounded")
            << "source" << 150 << false << 48000 << QStringList{"-C", "80"};
        QTest::newRow("source MPEG-2")
            << "source" << 32 << false << 22050 << QStringList{"-C", "16"};
        QTest::newRow("source of a WAV") << "source" << 0 << false << 44100 << QStringList();
    }

    void choosesTheEncodingWords()
    {
        QFETCH(QString, quality);
        QFETCH(int, inputKbps);
        QFETCH(bool, inputMono);
        QFETCH(int, sampleRate);
        QFETCH(QStringList, words);
        std::optional<conversion::OutputQuality> chosen;
        if (!quality.isEmpty())
            chosen = conversion::ParseOutputQuality(quality).quality;
        std::optional<tags::MpegAudioLength> input;
        if (inputKbps > 0) {
            // Ten seconds of frames of 1152 samples.
            input = tags::MpegAudioLength{};
            input->sampleRate = sampleRate;
            input->samples = qint64(sampleRate) * 10;
            input->frames = input->samples / 1152;
            input->bytes = qint64(inputKbps) * 1000 / 8 * 10;
            input->everyFrameMono = inputMono;
        }
        QCOMPARE(conversion::SoxEncodingOptions(chosen, input, sampleRate), words);
    }

    void soxEncodesAsTold_data()
    {
        QTest::addColumn<QString>("quality");
        QTest::addColumn<int>("firstFrameKbps"); // 0: any, the bit rate varies
        QTest::newRow("128") << "128" << 128;
        QTest::newRow("source") << "source" << 64;
        QTest::newRow("v2") << "v2" << 0;
    }

    void soxEncodesAsTold()
    {
        QFETCH(QString, quality);
        QFETCH(int, firstFrameKbps);
        const QString output = scratch_.path(quality + QStringLiteral(".mp3"));
        const QStringList words = conversion::SoxEncodingOptions(
            conversion::ParseOutputQuality(quality).quality, Measure(scratch_.stereo()), 44100);
        QCOMPARE(Convert(conversion::ChannelMode::Mix, scratch_.stereo(), output, words),
                 QByteArray());
        const tags::MpegAudioLength length = Measure(output);
        QVERIFY(length.everyFrameMono);
        QVERIFY(qAbs(length.seconds() - Measure(scratch_.stereo()).seconds()) < 0.1);
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<int> firstFrame = tags::MpegStreamBytesPerSecond(file.read(4096));
        if (firstFrameKbps > 0) {
            // Constant: no Xing header, every frame as large as the first.
            QVERIFY(qAbs(*firstFrame * 8 - firstFrameKbps * 1000) < 500);
            QVERIFY(qAbs(length.averageBitRate() - firstFrameKbps * 1000) < 500);
            QCOMPARE(XingFrameCount(output), -1);
        } else {
            // Players take the length from the Xing header's frame count.
            QCOMPARE(XingFrameCount(output), length.frames);
            QVERIFY(qAbs(length.averageBitRate() - *firstFrame * 8) > 8000);
        }
    }

    void countsClippedSamples_data()
    {
        QTest::addColumn<QByteArray>("errorOutput");
        QTest::addColumn<qint64>("clipped"); // -1: none told
        QTest::newRow("nothing") << QByteArray() << -1LL;
        QTest::newRow("input") << QByteArray("sox WARN sox: `in.wav' input clipped 47200 samples\n")
                               << 47200LL;
        QTest::newRow("effect and output")
            << QByteArray("sox WARN remix: remix clipped 7999 samples; decrease volume?\n"
                          "sox WARN sox: `out.wav' output clipped 7999 samples; decrease volume?\n")
            << 15998LL;
        QTest::newRow("among other warnings")
            << QByteArray("sox WARN wav: wave header missing extended part of fmt chunk\n"
                          "sox WARN vol: vol clipped 12 samples; decrease volume?\n"
                          "sox WARN dither: dither clipped 3 samples; decrease volume?")
            << 15LL;
        QTest::newRow("a name that looks like a count")
            << QByteArray("sox WARN sox: `x clipped 900 samples' input clipped 2 samples\n") << 2LL;
        QTest::newRow("not a warning")
            << QByteArray("sox FAIL sox: `clipped 900 samples'\nremix clipped 5 samples\n") << -1LL;
    }

    void countsClippedSamples()
    {
        QFETCH(QByteArray, errorOutput);
        QFETCH(qint64, clipped);
        QCOMPARE(conversion::ClippedSamples(errorOutput).value_or(-1), clipped);
    }

    void readsClippingFromRealRuns()
    {
        // A second at 8 kHz of 0.75 of full scale on both channels: added
        // up without the usual halving, every sample but SoX's first clips.
        const QString input = scratch_.path(QStringLiteral("three quarters.wav"));
        const QString output = scratch_.path(QStringLiteral("clipped.mp3"));
        QCOMPARE(RunTool("sox", {"-n", "-r", "8000", "-c", "2", "-b", "16", input, "synth", "1",
                                 "sine", "0", "dcshift", "0.75"}),
                 QString());
        QCOMPARE(Convert(conversion::ChannelMode::Mix, input, output), QByteArray());
        QVERIFY(!conversion::ClippedSamples(Convert(conversion::ChannelMode::Mix, input, output)));
        const QByteArray errors =
            Convert(conversion::ChannelMode::Mix, input, output, {}, {"remix", "-m", "1,2"});
        const qint64 clipped = conversion::ClippedSamples(errors).value_or(-1);
        QVERIFY2(clipped >= 7990 && clipped <= 8000, errors.constData());
    }

    void tellsWhySoxFailed_data()
    {
        QTest::addColumn<QByteArray>("errorOutput");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fail") << QByteArray("sox FAIL remix: too few input channels\n")
                              << "remix: too few input channels";
        QTest::newRow("a path with spaces")
            << QByteArray("/tmp/my files/sox FAIL remix: too few input channels")
            << "remix: too few input channels";
        QTest::newRow("warnings before and after")
            << QByteArray("sox WARN mp3: MAD lost sync\n"
                          "sox FAIL formats: can't open input file `a FAIL b.mp3': No such file\n"
                          "sox WARN sox: `a.mp3' output clipped 1 samples; decrease volume?\n")
            << "formats: can't open input file `a FAIL b.mp3': No such file";
        QTest::newRow("no fail line") << QByteArray("something broke\n\n") << "something broke";
        QTest::newRow("nothing") << QByteArray() << "";
    }

    void tellsWhySoxFailed()
    {
        QFETCH(QByteArray, errorOutput);
        QFETCH(QString, reason);
        QCOMPARE(conversion::SoxFailure(errorOutput), reason);
    }

    void tellsWhySoxFailedOnAMonoInput()
    {
        const QString mono = scratch_.path(QStringLiteral("mono.mp3"));
        QCOMPARE(Convert(conversion::ChannelMode::Mix, scratch_.stereo(), mono), QByteArray());
        const QByteArray errors =
            Convert(conversion::ChannelMode::RightOnly, mono, scratch_.path("right of mono.mp3"));
        QCOMPARE(conversion::SoxFailure(errors), QStringLiteral("remix: too few input channels"));
        // The last line as such keeps SoX's path and level.
        QVERIFY(platform::LastErrorLine(errors).endsWith(
            QLatin1String("sox FAIL remix: too few input channels")));
    }

private:
    const StereoScratch scratch_;
};

QTEST_GUILESS_MAIN(SoxWordsTest)
#include "test_sox_words.moc"
