// Copying a stereo MP3's tags onto its mono conversion by the real SoX, and
// measuring MPEG audio by its frames. Tags are written and read back with
// TagLib.

#include "Audio.h"
#include "Files.h"
#include "TagFiles.h"
#include "tags/MpegAudio.h"
#include "tags/MpegAudioCopy.h"
#include "tags/TagCopy.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

#include <taglib/apefooter.h>
#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/unknownframe.h>

using namespace velunor;
using namespace velunor::testing;
using namespace TagLib;

namespace {

const String kTitle("Ça ira — 日本語 テスト", String::UTF8);

// What MeasureMpegAudio finds, no frames when it finds nothing.
tags::MpegAudioLength Measure(const QString &path)
{
    return tags::MeasureMpegAudio(AsPath(path)).value_or(tags::MpegAudioLength());
}

// A frame TagLib has no class for, holding `payload` as it is.
ID3v2::Frame *RawFrame(const char *id, const ByteVector &payload)
{
    return new ID3v2::UnknownFrame(ByteVector(id) + ID3v2::SynchData::fromUInt(payload.size()) +
                                   ByteVector(2, '\0') + payload);
}

// The kinds of frames users' files carry, in ID3v2 `version`, in Latin-1 and
// UTF-16 (2.3) or UTF-8 (2.4), with an ID3v1 and an APE tag.
bool TagEverything(const QString &path, ID3v2::Version version)
{
    const auto file = OpenMp3(path);
    ID3v2::Tag *tag = file->ID3v2Tag(true);
    PropertyMap properties; // Each key makes the frame named beside it.
    properties["TITLE"] = kTitle;
    for (const char *key : {"ARTIST", "ALBUMARTIST", "COMPOSER", "LABEL"}) // TPE1 TPE2 TCOM TPUB
        properties[key] = String(key) + String(" Zoë Ωmega", String::UTF8);
    properties["TRACKNUMBER"] = String("3/12");
    properties["DISCNUMBER"] = String("1/2"); // TPOS
    properties["GENRE"] = String("Chanson");
    properties["DATE"] = String("1999-12-31T23:59"); // TYER, TDAT and TIME in 2.3
    properties["LENGTH"] = String("99999");          // TLEN
    properties["MOOD OF THE DAY"] = kTitle;          // TXXX
    properties["CATALOG"] = String("VEL-1");
    properties["COMMENT"] = kTitle;
    properties["COMMENT:SECOND"] = String("another comment");
    properties["LYRICS"] = kTitle + "\nsecond line";             // USLT
    properties["URL:SHOP"] = String("https://example.org/shop"); // WXXX
    properties["MUSICBRAINZ_TRACKID"] = String("0a1b2c3d");      // UFID
    tag->setProperties(properties);
    for (const char *id : {"TRCK", "TPOS", "TLEN"})
        static_cast<ID3v2::TextIdentificationFrame *>(tag->frameListMap()[id].front())
            ->setTextEncoding(String::Latin1);
    const ByteVector picture("\0image/jpeg\0", 12);
    tag->addFrame(RawFrame("APIC", picture + '\x03' + '\0' + Vector(Noise(150000)))); // front cover
    tag->addFrame(RawFrame("APIC", picture + '\x04' + '\0' + Vector(Noise(20000))));  // back cover
    tag->addFrame(RawFrame("POPM", ByteVector("listener@example.org\0\xc4\0\0\0\x0c", 26)));
    tag->addFrame(RawFrame("PRIV", ByteVector("velunor.test\0", 13) + Vector(Noise(64))));
    tag->addFrame(RawFrame("MLLT", ByteVector(12, '\x01')));
    // RVAD is a 2.3 frame that TagLib drops when it saves a tag it has read.
    tag->addFrame(RawFrame("RVAD", ByteVector("\x03\x10\x01\x00\x01\x00\x00\x00\x00\x00", 10)));
    tag->addFrame(RawFrame("XVEL", "a frame of a program of its own"));
    file->ID3v1Tag(true)->setTitle("Ca ira");
    file->APETag(true)->setTitle(kTitle);
    return file->save(MPEG::File::AllTags, File::StripOthers, version);
}

QByteArray SynchsafeSize(qsizetype size)
{
    const char bytes[] = {char(size >> 21 & 0x7F), char(size >> 14 & 0x7F), char(size >> 7 & 0x7F),
                          char(size & 0x7F)};
    return QByteArray(bytes, 4);
}

// An ID3v2.4 tag as appended at the end of a file, footer included: a title,
// and the length and seek table of the old audio.
QByteArray AppendedTag(const QByteArray &title)
{
    const auto frame = [](const char *id, const QByteArray &content) {
        return id + SynchsafeSize(content.size()) + QByteArray(2, '\0') + content;
    };
    const QByteArray frames = frame("TIT2", '\x03' + title) +
                              frame("TLEN", QByteArray(1, '\0') + "99999") +
                              frame("MLLT", QByteArray(12, '\x01'));
    const QByteArray header = QByteArray("ID3\x04\x00\x10", 6) + SynchsafeSize(frames.size());
    return header + frames + "3DI" + header.mid(3);
}

} // namespace

class TagCopyTest : public QObject {
    Q_OBJECT

    const StereoScratch scratch_;

private slots:
    void initTestCase() { QCOMPARE(scratch_.problem(), QString()); }

    void copiesEveryFrameInTheInputsVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("ID3v2.3") << 3;
        QTest::newRow("ID3v2.4") << 4;
    }

    void copiesEveryFrameInTheInputsVersion()
    {
        QFETCH(int, version);
        const QString input = scratch_.path(QStringLiteral("tagged %1.mp3").arg(version));
        const QString output = scratch_.path(QStringLiteral("mono %1.mp3").arg(version));
        QVERIFY(QFile::copy(scratch_.stereo(), input));
        QVERIFY(TagEverything(input, ID3v2::Version(version)));
        QCOMPARE(ConvertToMono(input, output), QString());
        const QByteArray audio = AudioBytes(output);
        const tags::MpegAudioLength length = Measure(output);
        const qint64 lengthMs = qRound64(length.seconds() * 1000);

        QCOMPARE(CopyTagsOnto(input, output, lengthMs), QString());
        QCOMPARE(AudioBytes(output), audio);
        QCOMPARE(Measure(output).frames, length.frames);

        const auto original = OpenMp3(input), copied = OpenMp3(output);
        const ID3v2::Tag *tag = copied->ID3v2Tag();
        QCOMPARE(tag->header()->majorVersion(), uint(version));
        QCOMPARE(tag->title(), kTitle);
        // TagLib reads a 2.3 tag's TYER, TDAT and TIME as one TDRC.
        QCOMPARE(tag->frameListMap()["TDRC"].front()->toString(), String("1999-12-31T23:59"));
        QVERIFY(tag->frameListMap()["MLLT"].isEmpty());
        const ID3v2::FrameList before = original->ID3v2Tag()->frameList();
        const ID3v2::FrameList after = tag->frameList();
        QCOMPARE(after.size(), before.size() - 1);
        auto twin = after.begin();
        for (const ID3v2::Frame *frame : before) {
            if (frame->frameID() == "MLLT")
                continue;
            const ID3v2::Frame *copy = *twin++;
            if (frame->frameID() == "TLEN")
                QCOMPARE(Bytes(copy->frameID()) + ' ' + copy->toString().toCString(),
                         "TLEN " + QByteArray::number(lengthMs));
            else
                QCOMPARE(Bytes(copy->render()), Bytes(frame->render()));
        }
        QVERIFY(copied->hasAPETag() && copied->hasID3v1Tag());
        const qsizetype trailingTags = 128 + original->APETag()->footer()->completeTagSize();
        QCOMPARE(Contents(output).right(trailingTags), Contents(input).right(trailingTags));
    }

    void leavesOnlyTheTagsTheInputHas()
    {
        // SoX writes an ID3v2 and an ID3v1 tag of its own for an input with any tag.
        const QString withId3v1 = scratch_.path(QStringLiteral("only ID3v1.mp3"));
        const QString output = scratch_.path(QStringLiteral("mono of only ID3v1.mp3"));
        QVERIFY(QFile::copy(scratch_.stereo(), withId3v1));
        {
            const auto file = OpenMp3(withId3v1);
            file->ID3v1Tag(true)->setTitle("Only an ID3v1 tag");
            QVERIFY(file->save(MPEG::File::ID3v1));
        }
        QCOMPARE(ConvertToMono(withId3v1, output), QString());
        QVERIFY(OpenMp3(output)->hasID3v2Tag());
        const QByteArray audio = AudioBytes(output);

        QCOMPARE(CopyTagsOnto(scratch_.stereo(), output, 3000), QString());
        QCOMPARE(Contents(output), audio);
        // Nothing to change: the tagged file is not written.
        const QString tagged = scratch_.path(QStringLiteral("tagged copy.mp3"));
        QVERIFY(WriteFile(tagged, QByteArray()));
        const Expected<bool> unchanged = tags::CopyTags(
            AsPath(scratch_.stereo()), AsPath(output),
            [&]() -> Expected<Path> { return AsPath(tagged); }, 3000);
        QVERIFY(unchanged && !*unchanged);
        QCOMPARE(Contents(tagged), QByteArray());
        QCOMPARE(CopyTagsOnto(withId3v1, output, 3000), QString());
        QCOMPARE(Contents(output), audio + Contents(withId3v1).right(128));

        const QByteArray converted = Contents(output);
        const QString noInput =
            CopyTagsOnto(scratch_.path(QStringLiteral("missing.mp3")), output, 3000);
        QVERIFY2(noInput.startsWith(QStringLiteral("the tags of the input could not be read (")),
                 qPrintable(noInput));
        // A disk that fills up part way, as files may grow no larger than 8 kB.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit fileSize{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &fileSize), 0);
        const rlim_t previous = fileSize.rlim_cur;
        fileSize.rlim_cur = 8192;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &fileSize), 0);
        const QString full = CopyTagsOnto(withId3v1, output, 3000);
        fileSize.rlim_cur = previous;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &fileSize), 0);
        QCOMPARE(full, QStringLiteral("the tags could not be written (File too large)"));
        QCOMPARE(Contents(output), converted);

        // The tagged file is the caller's: none is made where there is none,
        // and a copy that is cancelled says so.
        const QString notMade = scratch_.path(QStringLiteral("never made.mp3"));
        const Expected<bool> noFile = tags::CopyTags(
            AsPath(withId3v1), AsPath(output), [&]() -> Expected<Path> { return AsPath(notMade); },
            3000);
        QVERIFY(!noFile);
        QVERIFY2(noFile.failure().words.startsWith("the tags could not be written ("),
                 qPrintable(noFile.failure().words));
        QVERIFY(!QFile::exists(notMade));
        const std::atomic<bool> cancel{true};
        const Expected<bool> cancelled = tags::CopyTags(
            AsPath(withId3v1), AsPath(output), [&]() -> Expected<Path> { return AsPath(tagged); },
            3000, &cancel);
        QVERIFY(!cancelled);
        QCOMPARE(cancelled.failure().words, QStringLiteral("the tag copy was cancelled"));
    }

    void movesAnAppendedTagToTheFront()
    {
        // (Keeping a leading and an appended tag is checked on fixtures.)
        const QByteArray id3v1 = QByteArray("TAG", 3) + QByteArray(125, '\0');
        const QString input = scratch_.path(QStringLiteral("appended.mp3"));
        const QString output = scratch_.path(QStringLiteral("mono of appended.mp3"));
        QVERIFY(WriteFile(input, Contents(scratch_.stereo()) + AppendedTag("Appended") + id3v1));
        QCOMPARE(Measure(input).frames, Measure(scratch_.stereo()).frames); // the tag is no audio
        QCOMPARE(ConvertToMono(input, output), QString());
        const QByteArray audio = AudioBytes(output);
        const qint64 lengthMs = qRound64(Measure(output).seconds() * 1000);

        QCOMPARE(CopyTagsOnto(input, output, lengthMs), QString());
        const auto copied = OpenMp3(output);
        const ID3v2::Tag *front = copied->ID3v2Tag();
        QCOMPARE(front->title(), String("Appended"));
        QCOMPARE(front->frameListMap()["TLEN"].front()->toString(), String::number(int(lengthMs)));
        QVERIFY(front->frameListMap()["MLLT"].isEmpty());
        // Not copied a second time: only the ID3v1 tag follows the audio.
        QCOMPARE(Contents(output),
                 Contents(output).left(front->header()->completeTagSize()) + audio + id3v1);
    }

    void tellsTheChannelsAndTheBitRate_data()
    {
        // How the file is made: "sox" converts the stereo input to mono,
        // "lame" encodes it with the options, anything else takes the input.
        QTest::addColumn<QString>("maker");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("mono");
        QTest::addColumn<bool>("dualChannel");
        QTest::addColumn<int>("bitRate");

        QTest::newRow("stereo") << "" << QStringList() << false << false << 128000;
        QTest::newRow("sox mono") << "sox" << QStringList() << true << false << 64000;
        QTest::newRow("lame mono")
            << "lame" << QStringList{"-m", "m", "-b", "48"} << true << false << 48000;
        QTest::newRow("dual channel")
            << "lame" << QStringList{"-m", "d", "-b", "96"} << false << true << 96000;
        QTest::newRow("MPEG-2 joint stereo")
            << "lame" << QStringList{"-m", "j", "-b", "40", "--resample", "22.05"} << false << false
            << 40000;
    }

    void tellsTheChannelsAndTheBitRate()
    {
        QFETCH(QString, maker);
        QFETCH(QStringList, options);
        QFETCH(bool, mono);
        QFETCH(bool, dualChannel);
        QFETCH(int, bitRate);
        QString file = scratch_.stereo();
        if (!maker.isEmpty()) {
            file = scratch_.path(QString::fromLatin1(QTest::currentDataTag()) +
                                 QStringLiteral(".mp3"));
            const QString wave = scratch_.path(QStringLiteral("input.wav"));
            QCOMPARE(MakeStereoAudio(wave, 3.0), QString());
            QCOMPARE(
                maker == QLatin1String("sox")
                    ? ConvertToMono(scratch_.stereo(), file)
                    : RunTool(maker, QStringList{"--quiet"} + options + QStringList{wave, file}),
                QString());
        }
        const tags::MpegAudioLength length = Measure(file);
        QCOMPARE(length.everyFrameMono, mono);
        QCOMPARE(length.anyFrameDualChannel, dualChannel);
        QVERIFY2(qAbs(length.averageBitRate() - bitRate) < bitRate / 200.0,
                 qPrintable(QString::number(length.averageBitRate())));
    }

    void copiesTheAudioOfAMonoFileUnchanged()
    {
        const QString mono = scratch_.path(QStringLiteral("mono to copy.mp3"));
        QCOMPARE(ConvertToMono(scratch_.stereo(), mono), QString());
        const QByteArray audio = Contents(mono);
        QVERIFY(TagEverything(mono, ID3v2::v4));
        QVERIFY(Contents(mono).size() > audio.size() + 150000);

        QTemporaryFile copy;
        QVERIFY(copy.open());
        QFile input(mono);
        QVERIFY(input.open(QIODevice::ReadOnly));
        QVERIFY(tags::CopyMpegAudio(input, copy.handle()));
        QCOMPARE(Contents(copy.fileName()), audio);

        const std::atomic<bool> cancel{true};
        const Done cancelled = tags::CopyMpegAudio(input, copy.handle(), &cancel);
        QVERIFY(!cancelled);
        QCOMPARE(cancelled.failure().words, QStringLiteral("the copy was cancelled"));
        QCOMPARE(Contents(copy.fileName()), audio);
    }

    void measuresTheFramesPresent()
    {
        const tags::MpegAudioLength plain = Measure(scratch_.stereo());
        QVERIFY2(qAbs(plain.seconds() - 3.0) < 0.1, qPrintable(QString::number(plain.seconds())));

        // A VBR file's Xing header gives the frame count of the whole stream,
        // also when the file was cut short. Its frame is no audio.
        const QString vbr = scratch_.path(QStringLiteral("vbr.mp3"));
        const QString cut = scratch_.path(QStringLiteral("cut.mp3"));
        QCOMPARE(MakeStereoMp3(vbr, 3.0, 440, 1000, 0.5, true), QString());
        QCOMPARE(Measure(vbr).frames, plain.frames);
        QVERIFY(WriteFile(cut, Contents(vbr).left(Contents(vbr).size() / 2)));
        QVERIFY2(qAbs(Measure(cut).seconds() - plain.seconds() / 2) < 0.15,
                 qPrintable(QString::number(Measure(cut).seconds())));

        // A big cover and an embedded MP3 (a preview clip) in the ID3v2 tag,
        // and an ID3v1 tag after the audio.
        const QString tagged = scratch_.path(QStringLiteral("with cover.mp3"));
        QVERIFY(QFile::copy(scratch_.stereo(), tagged));
        {
            const auto file = OpenMp3(tagged);
            file->ID3v2Tag(true)->addFrame(
                RawFrame("APIC", ByteVector("\0image/png\0\x03\0", 13) + Vector(Noise(500000))));
            file->ID3v2Tag()->addFrame(RawFrame(
                "GEOB", ByteVector("\0audio/mpeg\0preview.mp3\0\0", 25) + Vector(Contents(vbr))));
            file->ID3v1Tag(true)->setTitle("Cover");
            QVERIFY(file->save(MPEG::File::ID3v1 | MPEG::File::ID3v2));
        }
        QCOMPARE(Measure(tagged).frames, plain.frames);

        // Noise over the middle fifth of the bytes.
        QByteArray bytes = Contents(scratch_.stereo());
        bytes.replace(bytes.size() * 2 / 5, bytes.size() / 5, Noise(bytes.size() / 5));
        const QString damaged = scratch_.path(QStringLiteral("damaged.mp3"));
        QVERIFY(WriteFile(damaged, bytes));
        QVERIFY2(qAbs(Measure(damaged).seconds() - plain.seconds() * 4 / 5) < 0.1,
                 qPrintable(QString::number(Measure(damaged).seconds())));

        const QString noise = scratch_.path(QStringLiteral("noise.mp3"));
        const QString wave = scratch_.path(QStringLiteral("tone.wav"));
        QVERIFY(WriteFile(noise, Noise(300000)));
        QCOMPARE(MakeStereoMp3(wave, 1.0), QString()); // SoX writes WAV by the name
        QVERIFY(!tags::MeasureMpegAudio(AsPath(noise)));
        QVERIFY(!tags::MeasureMpegAudio(AsPath(wave)));
    }
};

QTEST_GUILESS_MAIN(TagCopyTest)
#include "test_tag_copy.moc"
