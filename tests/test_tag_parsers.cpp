// The parsers of tags and MPEG frames on the hand-made byte fixtures in
// tests/fixtures (written by make_fixtures.py beside them): what the tag copy
// makes of well-formed and damaged tags of every ID3v2 version, where the
// audio lies between tags at both ends, and how frame descriptions read in
// each text encoding. Every fixture, and every input a fuzzer once broke a
// parser with, also goes through the checks the fuzz targets make. TagLib
// reads the results back.

#include "Files.h"
#include "tags/AlbumTag.h"
#include "tags/Id3v2Frames.h"
#include "tags/MpegAudio.h"
#include "tags/MpegLayout.h"
#include "tags/TagCopy.h"
#include "tags/fuzz/ParserChecks.h"

#include <QBuffer>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

using namespace velunor;
using namespace velunor::testing;
using namespace TagLib;

namespace {

const QString kFixtures = QStringLiteral(VELUNOR_SOURCE_DIR "/tests/fixtures/");
constexpr qint64 kLengthMs = 3000;

QString Fixture(const QString &name)
{
    return kFixtures + QStringLiteral("tags/") + name + QStringLiteral(".mp3");
}

QString Text(const String &text)
{
    return QString::fromStdWString(text.toWString());
}

// A frame of a tag as TagLib reads it: its ID3v2.4 name, the text of a title
// or length, the description of a comment or user text.
QString Described(const ID3v2::Frame *frame)
{
    const QString id = QString::fromLatin1(frame->frameID().data(), frame->frameID().size());
    if (id == QLatin1String("TIT2") || id == QLatin1String("TLEN"))
        return id + QLatin1Char(' ') + Text(frame->toString());
    if (const auto *comment = dynamic_cast<const ID3v2::CommentsFrame *>(frame))
        return id + QLatin1Char('[') + Text(comment->description()) + QLatin1Char(']');
    if (const auto *user = dynamic_cast<const ID3v2::UserTextIdentificationFrame *>(frame))
        return id + QLatin1Char('[') + Text(user->description()) + QLatin1Char(']');
    return id;
}

// The frames of the ID3v2 tag at the start of `path`, as TagLib reads them.
QStringList FrontFrames(const QString &path)
{
    MPEG::File file(QFile::encodeName(path).constData());
    QStringList frames;
    if (file.hasID3v2Tag())
        for (const ID3v2::Frame *frame : file.ID3v2Tag()->frameList())
            frames << Described(frame);
    return frames;
}

tags::MpegLayout LayoutOf(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return tags::ReadMpegLayout(buffer).value_or(tags::MpegLayout());
}

qint64 FramesIn(const QString &path)
{
    return tags::MeasureMpegAudio(AsPath(path)).value_or(tags::MpegAudioLength()).frames;
}

// A file in memory that raises `cancel` as soon as it has handed out a block
// of the size the frame walk reads.
class CancellingBuffer : public QBuffer {
public:
    explicit CancellingBuffer(std::atomic<bool> &cancel) : cancel_(cancel) {}

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (maxSize >= 64 * 1024)
            cancel_ = true;
        return QBuffer::readData(data, maxSize);
    }

private:
    std::atomic<bool> &cancel_;
};

} // namespace

class TagParsersTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;

    // Copies the tags of `fixture` onto its own audio, as onto a conversion;
    // the file that then holds the result.
    QString copyTagsOfFixture(const QString &fixture)
    {
        const QString tagged = work_.filePath(fixture + QStringLiteral(".tagged.mp3"));
        if (!WriteFile(tagged, QByteArray()))
            return QString();
        const Expected<bool> copy = tags::CopyTags(
            AsPath(Fixture(fixture)), AsPath(Fixture(fixture)),
            [&]() -> Expected<Path> { return AsPath(tagged); }, kLengthMs);
        if (!copy) {
            qWarning("%s", qPrintable(copy.failure().words));
            return QString();
        }
        return *copy ? tagged : Fixture(fixture);
    }

private slots:
    void initTestCase() { QVERIFY(work_.isValid()); }

    void copiesWhatCanBeReadOfEachTag_data()
    {
        QTest::addColumn<QStringList>("frames");  // of the output's front tag, as TagLib reads it
        QTest::addColumn<QByteArray>("alsoHeld"); // bytes the output holds; TagLib cannot tell

        const QByteArray none;
        QTest::newRow("v22-frames")
            << QStringList{"TIT2 Two Two", "TPE1", "COMM[]", "TLEN 3000", "TALB"} << none;
        QTest::newRow("v23-unsynchronised")
            << QStringList{"TIT2 " + QString::fromLatin1("\xff\xe0 sync\xff"), "TPE1", "APIC",
                           "TLEN 3000"}
            << QByteArray("\x03\x00\xff\xd8\xff\xe0\xff\x00\xff\xff\x01", 11);
        QTest::newRow("v23-extended-header") << QStringList{"TIT2 Extended 2.3", "TPE1"} << none;
        QTest::newRow("v24-extended-header") << QStringList{"TIT2 Extended 2.4", "TPE1"} << none;
        QTest::newRow("v24-footer") << QStringList{"TIT2 Footer", "TLEN 3000"} << none;
        // Compressed frames are kept whatever they hold; a readable one is
        // read through its data length and unsynchronisation.
        QTest::newRow("v24-data-length-and-compression")
            << QStringList{"TIT2 Indicated", "COMM[iTunSMPB]", "TXXX[iTunSMPB]", "TPE1"} << none;
        // An encrypted frame is kept whatever it holds; a grouped one is read.
        QTest::newRow("v23-compression")
            << QStringList{"TIT2 Compressed 2.3", "COMM[iTunNORM]", "TXXX", "TPE1"}
            << QByteArray("TXXX\0\0\0\x0d\0\x40\x01\0iTunSMPB", 20);
        QTest::newRow("itunes-notes-v23")
            << QStringList{"TIT2 Notes 2.3", "COMM[]", "TXXX[iTunPGAP]", "TXXX[iTunSMPBX]"} << none;
        QTest::newRow("itunes-notes-v24")
            << QStringList{"TIT2 Notes 2.4", QString::fromUtf8("COMM[iTunes note é]"), "TXXX[Mood]"}
            << none;
        QTest::newRow("itunes-notes-v22") << QStringList{"TIT2 Notes 2.2", "TXXX[Mood]"} << none;

        // Sizes that wrapped the old 32-bit sum: the frames before them stay.
        for (int last = 0xF6; last <= 0xFF; ++last) {
            const QByteArray name = "tit2-size-ffffff" + QByteArray::number(last, 16);
            QTest::newRow(name.constData()) << QStringList{"TPE1"} << none;
        }
        QTest::newRow("tlen-size-fffffff6") << QStringList{"TPE1"} << none;
        QTest::newRow("tit2-size-fffffff6-v24") << QStringList{"TPE1"} << none;

        QTest::newRow("v23-extended-header-too-large") << QStringList() << none;
        QTest::newRow("v24-frame-size-past-end") << QStringList{"TIT2 First", "TPE1"} << none;
        QTest::newRow("v23-garbage-after-frames") << QStringList{"TIT2 Kept"} << none;
        // TagLib stops at a frame without content; the frames after it stay.
        QTest::newRow("v23-zero-size-frame")
            << QStringList{"TIT2 Zero"}
            << QByteArray("TPE2\0\0\0\0\0\0TPE1\0\0\0\x06\0\0\0After", 26);
        QTest::newRow("v24-plain-frame-sizes")
            << QStringList{"TIT2 Plain size " + QString(244, 'x'), "TPE1"} << none;
        QTest::newRow("tag-cut-short") << QStringList{"TIT2 Cut"} << none;

        QTest::newRow("appended-v24") << QStringList{"TIT2 Appended", "TLEN 3000"} << none;
        QTest::newRow("leading-and-appended") << QStringList{"TIT2 Leading"} << none;
        QTest::newRow("ape-lyrics3v2-id3v1") << QStringList() << none;
        QTest::newRow("ape-size-huge") << QStringList() << none;
    }

    void copiesWhatCanBeReadOfEachTag()
    {
        QFETCH(QStringList, frames);
        QFETCH(QByteArray, alsoHeld);
        const QString fixture = QString::fromLatin1(QTest::currentDataTag());
        const QString output = copyTagsOfFixture(fixture);
        QVERIFY(!output.isEmpty());
        QCOMPARE(FrontFrames(output), frames);
        if (!alsoHeld.isEmpty())
            QVERIFY(Contents(output).contains(alsoHeld));
        QCOMPARE(FramesIn(output), FramesIn(Fixture(fixture)));
        // Whatever tag it made, it reads back as what it is.
        QCOMPARE(parserchecks::CheckMpegLayout(Contents(output)), QString());
    }

    void findsTheAudioBetweenTheTags_data()
    {
        QTest::addColumn<qint64>("audioBegin");
        QTest::addColumn<qint64>("audioEnd");
        QTest::addColumn<int>("appendedTags");
        QTest::addColumn<qint64>("frames");

        // Three frames of 96 bytes, after a leading tag of 38 bytes where
        // there is one.
        QTest::newRow("ape-lyrics3v2-id3v1") << 0LL << 288LL << 0 << 3LL;
        QTest::newRow("lyrics3v1-id3v1") << 0LL << 288LL << 0 << 3LL;
        QTest::newRow("appended-v24") << 0LL << 288LL << 1 << 3LL;
        QTest::newRow("leading-and-appended") << 38LL << 326LL << 1 << 3LL;
        // Tags at the end that point outside the file, into the audio, or
        // have a footer without a header are audio to everyone; the last
        // frame is then followed by no frame and not counted.
        QTest::newRow("ape-size-huge") << 0LL << 369LL << 0 << 2LL;
        QTest::newRow("lyrics3v2-size-before-audio") << 0LL << 314LL << 0 << 2LL;
        QTest::newRow("footer-without-header") << 0LL << 318LL << 0 << 2LL;
        QTest::newRow("tag-cut-short") << 38LL << 38LL << 0 << 0LL;
    }

    void findsTheAudioBetweenTheTags()
    {
        QFETCH(qint64, audioBegin);
        QFETCH(qint64, audioEnd);
        QFETCH(int, appendedTags);
        QFETCH(qint64, frames);
        const QString fixture = Fixture(QString::fromLatin1(QTest::currentDataTag()));
        const tags::MpegLayout layout = LayoutOf(Contents(fixture));
        QCOMPARE(layout.audioBegin, audioBegin);
        QCOMPARE(layout.audioEnd, audioEnd);
        QCOMPARE(int(layout.appendedId3v2Tags.size()), appendedTags);
        QCOMPARE(FramesIn(fixture), frames);
    }

    void copiesTheTagsAtTheEnd()
    {
        // The appended tag becomes the front tag and is not copied again:
        // only the ID3v1 tag stays at the end.
        const QByteArray appended = Contents(Fixture("appended-v24"));
        QByteArray output = Contents(copyTagsOfFixture("appended-v24"));
        tags::MpegLayout layout = LayoutOf(output);
        QVERIFY(layout.appendedId3v2Tags.empty());
        QCOMPARE(output.sliced(layout.audioEnd), appended.right(128));
        QCOMPARE(output.sliced(layout.audioBegin, 288), appended.first(288));

        // With a tag at each end both stay, the appended one made fit too,
        // before the APE and ID3v1 tags as it was.
        const QByteArray both = Contents(Fixture("leading-and-appended"));
        output = Contents(copyTagsOfFixture("leading-and-appended"));
        layout = LayoutOf(output);
        QCOMPARE(int(layout.appendedId3v2Tags.size()), 1);
        const tags::TagSpan tag = layout.appendedId3v2Tags.front();
        QCOMPARE(tag.offset, layout.audioEnd);
        const QByteArray madeFit = output.sliced(tag.offset, tag.size);
        QVERIFY(madeFit.contains(QByteArray("TLEN\0\0\0\x05\0\0\0003000", 15)));
        QVERIFY(madeFit.contains("Appended"));
        QVERIFY(!madeFit.contains("MLLT"));
        const qint64 apeAndId3v1 = 87 + 128; // an APE tag with a header, one item
        QCOMPARE(output.right(apeAndId3v1), both.right(apeAndId3v1));
        QCOMPARE(output.size() - tag.offset - tag.size, apeAndId3v1);

        // APE, Lyrics3 and ID3v1 go over byte for byte, in their order.
        const QByteArray trailing = Contents(Fixture("ape-lyrics3v2-id3v1"));
        output = Contents(copyTagsOfFixture("ape-lyrics3v2-id3v1"));
        QCOMPARE(output, trailing);
        QCOMPARE(Contents(copyTagsOfFixture("lyrics3v1-id3v1")),
                 Contents(Fixture("lyrics3v1-id3v1")));
    }

    void readsDescriptionsInEveryEncoding_data()
    {
        QTest::addColumn<QString>("description"); // "-" when there is none
        QTest::newRow("comm-latin1") << "iTunSMPB";
        QTest::newRow("comm-utf16-le") << "iTunNORM";
        QTest::newRow("comm-utf16-be") << "iTunNORM";
        QTest::newRow("txxx-utf16be-no-bom") << "iTunSMPB";
        QTest::newRow("txxx-utf8") << QString::fromUtf8("Café 東京");
        QTest::newRow("txxx-unterminated") << "iTunNORM";
        QTest::newRow("txxx-odd-utf16") << "A";
        QTest::newRow("com-latin1") << "iTunNORM";
        QTest::newRow("txx-utf16") << "iTunSMPB";
        QTest::newRow("comm-too-short") << "-";
        QTest::newRow("txxx-unknown-encoding") << "-";
    }

    void readsDescriptionsInEveryEncoding()
    {
        QFETCH(QString, description);
        const QByteArray input = Contents(kFixtures + QStringLiteral("descriptions/") +
                                          QTest::currentDataTag() + QStringLiteral(".bin"));
        QVERIFY(input.size() > 1);
        const std::optional<QString> read = tags::CommentOrUserTextDescription(
            parserchecks::DescribedFrameId(input), QByteArrayView(input).sliced(1));
        QCOMPARE(read.value_or(QStringLiteral("-")), description);
        QVERIFY(!tags::CommentOrUserTextDescription("TIT2", QByteArrayView(input).sliced(1)));
    }

    // The album that groups outputs for their album's ReplayGain values, as
    // players read it.
    void readsTheAlbumAsPlayersDo_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("frame"); // the album frame's content
        QTest::addColumn<QString>("album");
        QTest::newRow("2.4, UTF-8, two values") << 4 << QByteArray("\3Live \0Bonus", 12) << "Live";
        QTest::newRow("2.2, Latin-1")
            << 2 << QByteArray("\0Caf\xe9", 5) << QString::fromUtf8("Café");
        QTest::newRow("2.3, UTF-16") << 3 << QByteArray("\1\xff\xfeO\0k\0", 7) << "Ok";
        QTest::newRow("no album frame: ID3v1's") << 3 << QByteArray() << "Best of";
    }

    void readsTheAlbumAsPlayersDo()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, frame);
        QFETCH(QString, album);
        const QByteArray frames =
            tags::id3v2::MakeFrame(version, version == 2 ? "TT2" : "TIT2",
                                   QByteArray("\0Title", 6)) +
            (frame.isEmpty()
                 ? QByteArray()
                 : tags::id3v2::MakeFrame(version, version == 2 ? "TAL" : "TALB", frame));
        QByteArray file("ID3\0\0\0", 6);
        file[3] = char(version);
        for (const int shift : {21, 14, 7, 0})
            file += char((frames.size() >> shift) & 0x7f);
        file += frames + QByteArray(400, '\xff');
        file += "TAG" + QByteArray(60, ' ') + QByteArray("Best of").leftJustified(30, '\0') +
                QByteArray(35, '\0');
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(tags::AlbumInFile(buffer), album);
    }

    void everyFixtureKeepsTheParsersPromises()
    {
        int checked = 0;
        for (QDirIterator files(kFixtures, QDir::Files, QDirIterator::Subdirectories);
             files.hasNext();) {
            const QString path = files.next();
            if (path.endsWith(QLatin1String(".py")))
                continue;
            const QByteArray bytes = Contents(path);
            for (const auto check :
                 {parserchecks::CheckId3v2ForNewAudio, parserchecks::CheckMpegLayout,
                  parserchecks::CheckMeasureMpegAudio, parserchecks::CheckDescription,
                  parserchecks::CheckId3v2WithReplayGain, parserchecks::CheckApeWithReplayGain,
                  parserchecks::CheckOutputMark}) {
                const QString problem = check(bytes);
                QVERIFY2(problem.isEmpty(), qPrintable(path + QStringLiteral(": ") + problem));
            }
            ++checked;
        }
        QVERIFY(checked >= 40);
    }

    void measuringStopsWhenCancelled()
    {
        // Long enough for the walk to read it in two blocks.
        const QByteArray frame = QByteArray("\xff\xfb\x14\xc0", 4) + QByteArray(92, '\0');
        const QByteArray audio = frame.repeated(4000);
        std::atomic<bool> cancel{false};
        QBuffer whole;
        whole.setData(audio);
        QVERIFY(whole.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QCOMPARE(tags::MeasureMpegAudio(whole, &cancel).value_or(tags::MpegAudioLength()).frames,
                 qint64(4000));

        // Raised while the first block is read: the second is not.
        CancellingBuffer cancelling(cancel);
        cancelling.setData(audio);
        QVERIFY(cancelling.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QVERIFY(!tags::MeasureMpegAudio(cancelling, &cancel));
        QVERIFY(cancel);
    }
};

QTEST_GUILESS_MAIN(TagParsersTest)
#include "test_tag_parsers.moc"
