// What a run tells of the audio and keeps of it, through the command line's
// run with the real SoX on inputs that SoX and LAME make: an input that is
// mono already is copied, a mix whose channels cancel out or that blends a
// dual-channel input is warned of, clipping is counted, SoX's own words tell
// why it failed, ReplayGain values are measured anew, and the quality asked
// for reaches the encoder.

#include "Audio.h"
#include "Files.h"
#include "TagFiles.h"
#include "cli/BatchRun.h"
#include "cli/Console.h"
#include "tags/MpegAudio.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/apetag.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

#include <cmath>
#include <cstdio>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kCancel = QStringLiteral("the two channels cancel each other out; the mix is near "
                                       "silence, convert it with Left or Right");
const QString kDual = QStringLiteral("holds two separate programmes (dual channel); mixed both, "
                                     "choose Left or Right to keep one");

struct Told {
    int status = -1;
    QString out;
    QString err;
};

QString ReadBack(std::FILE *stream)
{
    std::rewind(stream);
    QByteArray bytes;
    char block[4096];
    while (const size_t got = std::fread(block, 1, sizeof block, stream))
        bytes.append(block, qsizetype(got));
    std::fclose(stream);
    return QString::fromUtf8(bytes);
}

// A second of 32-bit float stereo at 8 kHz, twice full scale: more than
// any sample SoX can hold.
bool MakeLoudWav(const QString &path)
{
    constexpr int kRate = 8000;
    QByteArray data;
    for (int i = 0; i < kRate; ++i)
        for (const int hz : {440, 1000}) {
            const float sample = float(2.0 * std::sin(2 * M_PI * hz * i / kRate));
            data.append(reinterpret_cast<const char *>(&sample), sizeof sample);
        }
    const auto le = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char(value >> (8 * i)));
        return out;
    };
    const QByteArray header = "RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(3, 2) +
                              le(2, 2) + le(kRate, 4) + le(kRate * 8, 4) + le(8, 2) + le(32, 2) +
                              "data" + le(data.size(), 4);
    return WriteFile(path, header + data);
}

// The ReplayGain values of the user text frames of `path`'s ID3v2 tag, by
// description.
QMap<QString, QString> UserTexts(const QString &path)
{
    QMap<QString, QString> values;
    const auto file = OpenMp3(path);
    if (!file->hasID3v2Tag())
        return values;
    for (const auto *frame : file->ID3v2Tag()->frameList("TXXX")) {
        const auto *text = static_cast<const TagLib::ID3v2::UserTextIdentificationFrame *>(frame);
        values[QString::fromStdString(text->description().to8Bit(true))] =
            QString::fromStdString(text->fieldList().back().to8Bit(true));
    }
    return values;
}

// The loudness of a mono MP3 of one sine, from its RMS level as SoX's stat
// effect tells it: BS.1770 counts a mono file twice, as heard from two
// speakers, which makes a sine's loudness 3.01 dB above its RMS level.
double SineLufs(const QString &path)
{
    return SoxRmsDb(path) + 3.01;
}

} // namespace

class AudioChecksTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    QString in(const QString &name) const { return root_.filePath("in/" + name); }
    QString out(const QString &name) const { return root_.filePath("out/" + name); }

    Told convert(const QStringList &inputs, conversion::ChannelMode mode,
                 std::optional<conversion::OutputQuality> quality = {},
                 conversion::RunOptions options = {})
    {
        filelist::FileListModel list;
        list.add(Paths(inputs));
        std::FILE *outStream = std::tmpfile();
        std::FILE *errStream = std::tmpfile();
        Told told;
        {
            cli::Console console(outStream, errStream);
            cli::BatchRun run(list, {AsPath(root_.filePath("out/")), mode, quality, 2, options},
                              console);
            QSignalSpy ended(&run, &cli::BatchRun::ended);
            run.start(nullptr);
            if (!ended.wait(120000))
                return told;
            told.status = ended.first().first().toInt();
        }
        told.out = ReadBack(outStream);
        told.err = ReadBack(errStream);
        return told;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        qputenv("TEMP", QFile::encodeName(root_.filePath("staging")));
        QVERIFY(QDir().mkpath(root_.filePath("staging")) && QDir().mkpath(out("")) &&
                QDir().mkpath(in("album")));
        QCOMPARE(RunTool("sox", {"-n", "-r", "44100", "-c", "2", in("cancel.mp3"), "synth", "3",
                                 "sine", "440", "vol", "0.5", "remix", "1", "1v-1"}),
                 QString());
        QCOMPARE(RunTool("sox", {"-n", "-r", "44100", "-c", "1", "-C", "128", in("mono.mp3"),
                                 "synth", "3", "sine", "440"}),
                 QString());
        // Mono MPEG audio of layer II in a file named .mp3.
        QCOMPARE(RunTool("sox", {"-n", "-r", "44100", "-c", "1", in("layer2.mp2"), "synth", "1",
                                 "sine", "440"}),
                 QString());
        QVERIFY(QFile::rename(in("layer2.mp2"), in("layer2.mp3")));
        QCOMPARE(RunTool("sox", {"-n", "-r", "8000", "-c", "1", in("mono.wav"), "synth", "1",
                                 "sine", "440"}),
                 QString());
        QCOMPARE(MakeStereoAudio(in("stereo.wav"), 3.0), QString());
        QCOMPARE(RunTool("lame", {"--quiet", "-m", "d", in("stereo.wav"), in("dual.mp3")}),
                 QString());
        // FLAC in a file named .mp3, which SoX reads through its FLAC module.
        QCOMPARE(RunTool("sox", {in("stereo.wav"), in("flac.flac")}), QString());
        QVERIFY(QFile::rename(in("flac.flac"), in("flac.mp3")));
        QVERIFY(MakeLoudWav(in("loud.wav")));
        // A click of a tenth of a second, whose encoder frame is a sixth of
        // it, and a download cut off in the middle of its twelfth frame.
        QCOMPARE(RunTool("sox", {"-n", "-r", "44100", "-c", "1", in("click.wav"), "synth", "0.1",
                                 "sine", "440"}),
                 QString());
        QCOMPARE(
            RunTool("lame", {"--quiet", "-m", "m", "-b", "128", in("click.wav"), in("click.mp3")}),
            QString());
        QCOMPARE(RunTool("lame", {"--quiet", "-b", "320", "--id3v2-only", "--tt", "Download",
                                  in("stereo.wav"), in("cut.mp3")}),
                 QString());
        QVERIFY(QFile::resize(in("cut.mp3"), 12000));
        // A title, for the tags the copy of a mono input keeps.
        auto mono = OpenMp3(in("mono.mp3"));
        mono->ID3v2Tag(true)->setTitle("Lecture");
        QVERIFY(mono->save());
    }

    void eachRuleOfTheAudio_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<int>("keptHz");   // the one tone the output holds; 0: not looked at
        QTest::addColumn<QString>("told"); // after "converted: IN -> OUT" or "not converted: IN"

        const int mix = int(conversion::ChannelMode::Mix),
                  left = int(conversion::ChannelMode::LeftOnly),
                  right = int(conversion::ChannelMode::RightOnly);
        QTest::newRow("channels that cancel, mixed")
            << "cancel.mp3" << mix << QStringList{kCancel} << 0 << "";
        QTest::newRow("channels that cancel, left")
            << "cancel.mp3" << left << QStringList() << 440 << "";
        QTest::newRow("dual channel, mixed") << "dual.mp3" << mix << QStringList{kDual} << 0 << "";
        QTest::newRow("dual channel, right") << "dual.mp3" << right << QStringList() << 1000 << "";
        QTest::newRow("clipped") << "loud.wav" << right << QStringList{"samples clipped"} << 1000
                                 << "";
        QTest::newRow("mono already, right") << "mono.mp3" << right << QStringList() << 440
                                             << " - already mono: audio copied unchanged";
        QTest::newRow("mono click, mixed") << "click.mp3" << mix << QStringList() << 0
                                           << " - already mono: audio copied unchanged";
        QTest::newRow("mono layer II, right")
            << "layer2.mp3" << right << QStringList() << 440 << "";
        QTest::newRow("cut short, mixed") << "cut.mp3" << mix << QStringList() << 0 << "";
        QTest::newRow("FLAC named .mp3, right")
            << "flac.mp3" << right << QStringList() << 1000 << "";
        QTest::newRow("mono WAV, right")
            << "mono.wav" << right << QStringList() << 0 << " - remix: too few input channels";
    }

    void eachRuleOfTheAudio()
    {
        QFETCH(QString, input);
        QFETCH(int, mode);
        QFETCH(QStringList, warnings);
        QFETCH(int, keptHz);
        QFETCH(QString, told);
        const QString output = out(QFileInfo(input).completeBaseName() + ".mp3");
        QFile::remove(output);
        const Told ended = convert({in(input)}, conversion::ChannelMode(mode));

        if (input == "mono.wav") {
            QCOMPARE(ended.status, 1);
            QVERIFY2(ended.err.startsWith("not converted: " + in(input) + told + "\n"),
                     qPrintable(ended.err));
            QVERIFY(!QFileInfo::exists(output));
            return;
        }
        // Warnings change nothing of the status; each is a line of its own.
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.startsWith("converted: " + in(input) + " -> " + output + told + "\n"),
                 qPrintable(ended.out));
        QStringList lines = ended.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), warnings.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith("warning: " + in(input) + ": ") &&
                         lines[i].endsWith(warnings[i]),
                     qPrintable(lines[i]));
        if (!warnings.isEmpty())
            QVERIFY2(ended.out.contains("\n\n1 warning:\n" + in(input) + " - "),
                     qPrintable(ended.out));
        QCOMPARE(ChannelCount(output), 1);
        if (keptHz > 0) {
            const QVector<double> tones = ToneAmplitudes(output, {440, 1000});
            QVERIFY(tones.size() == 2 && tones[keptHz == 440 ? 0 : 1] > 0.2 &&
                    tones[keptHz == 440 ? 1 : 0] < 0.02);
        }
        if (told.contains("already mono"))
            QCOMPARE(AudioBytes(output), AudioBytes(in(input)));
        const std::optional<tags::MpegAudioLength> written = tags::MeasureMpegAudio(AsPath(output));
        QVERIFY(written && written->everyFrameLayer3);
        if (input == "mono.mp3")
            QCOMPARE(OpenMp3(output)->ID3v2Tag()->title(), TagLib::String("Lecture"));
    }

    // The remedy of a mix that cancels out is to convert the input again:
    // --trash-inputs leaves that input where it is, and moves the others.
    void anInputTheWarningNeedsStaysOutOfTheTrash()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(root_.filePath("data")));
        QVERIFY(QDir().mkpath(in("trash")));
        QFile::remove(out("cancel.mp3"));
        QVERIFY(QFile::copy(in("cancel.mp3"), in("trash/cancel.mp3")));
        QCOMPARE(MakeStereoMp3(in("trash/fine.mp3")), QString());
        conversion::RunOptions options;
        options.trashInputs = true;
        const Told ended = convert({in("trash/cancel.mp3"), in("trash/fine.mp3")},
                                   conversion::ChannelMode::Mix, {}, options);
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains("converted: " + in("trash/cancel.mp3") + " -> " +
                                    out("cancel.mp3") +
                                    " (input kept: the warning's remedy needs it)\n"),
                 qPrintable(ended.out));
        QCOMPARE(QDir(in("trash")).entryList(QDir::Files), QStringList{"cancel.mp3"});
        QVERIFY(QFileInfo::exists(root_.filePath("data/Trash/files/fine.mp3")));
    }

    // Two tracks of one album in ID3v2.3 tags and a silent one of another in
    // an APE tag: every value is the output's own, none the input's.
    void replayGainIsMeasuredAnew()
    {
        // A 997 Hz tone at half of full scale is -6.02 LUFS, at an eighth
        // -18.06 LUFS; the two as one album -8.77 LUFS.
        const QStringList volumes{"0.5", "0.125", "0"};
        for (int i = 0; i < 3; ++i) {
            const QString path = in(QStringLiteral("album/%1.mp3").arg(i));
            QCOMPARE(RunTool("sox", {"-n", "-r", "44100", "-c", "2", "-C", "192", path, "synth",
                                     "10", "sine", "997", "vol", volumes[i]}),
                     QString());
            auto file = OpenMp3(path);
            if (i < 2) {
                auto *tag = file->ID3v2Tag(true);
                tag->setAlbum("Album");
                for (const char *key : {"REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_ALBUM_GAIN"}) {
                    auto *frame = new TagLib::ID3v2::UserTextIdentificationFrame;
                    frame->setDescription(key);
                    frame->setText("+9.99 dB");
                    tag->addFrame(frame);
                }
                QVERIFY(file->save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                                   TagLib::ID3v2::v3));
            } else {
                file->APETag(true)->setAlbum("Other");
                file->APETag()->addValue("REPLAYGAIN_TRACK_GAIN", "+9.99 dB");
                file->APETag()->addValue("MP3GAIN_MINMAX", "120,180");
                QVERIFY(file->save(TagLib::MPEG::File::APE, TagLib::File::StripOthers));
            }
        }
        const Told ended = convert({in("album/0.mp3"), in("album/1.mp3"), in("album/2.mp3")},
                                   conversion::ChannelMode::Mix);
        QCOMPARE(ended.status, 0);

        // ReplayGain 2.0 brings each to -18 LUFS; the album as one.
        const double lufs[] = {SineLufs(out("0.mp3")), SineLufs(out("1.mp3"))};
        const double album =
            10 * std::log10((std::pow(10, lufs[0] / 10) + std::pow(10, lufs[1] / 10)) / 2);
        const auto near = [](const QString &text, double expected) {
            return qAbs(text.section(' ', 0, 0).toDouble() - expected) < 0.1;
        };
        const QMap<QString, QString> loud = UserTexts(out("0.mp3")),
                                     quiet = UserTexts(out("1.mp3"));
        QCOMPARE(OpenMp3(out("0.mp3"))->ID3v2Tag()->header()->majorVersion(), 3U);
        QCOMPARE(loud.keys(), QStringList({"REPLAYGAIN_ALBUM_GAIN", "REPLAYGAIN_ALBUM_PEAK",
                                           "REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_TRACK_PEAK"}));
        QVERIFY2(near(loud["REPLAYGAIN_TRACK_GAIN"], -18 - lufs[0]),
                 qPrintable(loud.values().join(", ")));
        QVERIFY2(near(quiet["REPLAYGAIN_TRACK_GAIN"], -18 - lufs[1]),
                 qPrintable(quiet.values().join(", ")));
        QVERIFY(near(loud["REPLAYGAIN_ALBUM_GAIN"], -18 - album));
        QCOMPARE(quiet["REPLAYGAIN_ALBUM_GAIN"], loud["REPLAYGAIN_ALBUM_GAIN"]);
        QVERIFY(qAbs(loud["REPLAYGAIN_TRACK_PEAK"].toDouble() - 0.5) < 0.05);
        QCOMPARE(quiet["REPLAYGAIN_ALBUM_PEAK"], loud["REPLAYGAIN_TRACK_PEAK"]);
        // Silence has no gain: the value goes, and so do mp3gain's notes.
        const TagLib::APE::ItemListMap silent = OpenMp3(out("2.mp3"))->APETag()->itemListMap();
        QVERIFY(!silent.contains("REPLAYGAIN_TRACK_GAIN") && !silent.contains("MP3GAIN_MINMAX"));
        QCOMPARE(silent["REPLAYGAIN_TRACK_PEAK"].toString(), TagLib::String("0.000000"));
    }

    // The album's values are written after the run into a new copy of each
    // output, which must keep the date it was given and its mark.
    void albumValuesKeepTheDatesAndTheMarks()
    {
        const QStringList album{in("album/0.mp3"), in("album/1.mp3")};
        const QDateTime date = QDateTime::fromSecsSinceEpoch(1000000000);
        for (const QString &path : album) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(date, QFileDevice::FileModificationTime));
        }
        conversion::RunOptions options;
        options.keepDates = true;
        QCOMPARE(convert(album, conversion::ChannelMode::Mix, {}, options).status, 0);
        QVERIFY(UserTexts(out("0.mp3")).contains("REPLAYGAIN_ALBUM_GAIN"));
        for (const char *name : {"0.mp3", "1.mp3"})
            QCOMPARE(QFileInfo(out(name)).lastModified(), date);

        options.skipUpToDate = true;
        const Told again = convert(album, conversion::ChannelMode::Mix, {}, options);
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out.count("up to date: "), 2);
    }

    void theChosenQualityReachesTheEncoder()
    {
        QFile::remove(out("dual.mp3"));
        const Told ended = convert(
            {in("dual.mp3")}, conversion::ChannelMode::LeftOnly,
            conversion::OutputQuality{conversion::OutputQuality::Kind::ConstantBitRate, 96});
        QCOMPARE(ended.status, 0);
        const std::optional<tags::MpegAudioLength> audio =
            tags::MeasureMpegAudio(AsPath(out("dual.mp3")));
        QVERIFY(audio && qAbs(audio->averageBitRate() - 96000) < 500);
        QVERIFY(!ended.err.contains("encoded at"));

        // At 8 kHz the encoder gives no more than 64 kbps, which is told.
        const QString narrow = in("narrow.mp3");
        QCOMPARE(RunTool("sox", {"-n", "-r", "8000", "-c", "2", narrow, "synth", "2", "sine", "440",
                                 "sine", "880"}),
                 QString());
        const Told narrowed = convert(
            {narrow}, conversion::ChannelMode::RightOnly,
            conversion::OutputQuality{conversion::OutputQuality::Kind::ConstantBitRate, 320});
        QCOMPARE(narrowed.status, 0);
        const std::optional<tags::MpegAudioLength> narrowAudio =
            tags::MeasureMpegAudio(AsPath(out("narrow.mp3")));
        QVERIFY(narrowAudio && qAbs(narrowAudio->averageBitRate() - 64000) < 500);
        QVERIFY2(
            narrowed.err.contains(": encoded at 64 kbps: the encoder has no 320 kbps at 8 kHz\n"),
            qPrintable(narrowed.err));
    }
};

QTEST_GUILESS_MAIN(AudioChecksTest)
#include "test_audio_checks.moc"
