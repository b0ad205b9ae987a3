// ReplayGain values in users' tags, on the hand-made fixtures in
// tests/fixtures (written by make_fixtures.py): which forms a file's tags
// use, and the tags with the values made anew or removed, read back with
// TagLib, every other frame and item unchanged.

#include "Files.h"
#include "tags/ApeTag.h"
#include "tags/Id3v2ForNewAudio.h"
#include "tags/Id3v2Frames.h"
#include "tags/MpegLayout.h"
#include "tags/ReplayGainTags.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/relativevolumeframe.h>
#include <taglib/textidentificationframe.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kFixtures = QStringLiteral(VELUNOR_SOURCE_DIR "/tests/fixtures/");
// Three silent frames, as in every fixture.
const QByteArray kAudio = (QByteArray("\xff\xfb\x14\xc0", 4) + QByteArray(92, '\0')).repeated(3);

std::optional<double> Given(double value)
{
    return qIsNaN(value) ? std::nullopt : std::optional(value);
}

QString Text(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString());
}

// The frames of the ID3v2 tag at the start of `file` as TagLib reads them:
// user text with its description and value, RVA2 with its master volume
// adjustment and peak, others by name.
QStringList FramesRead(const QString &file)
{
    TagLib::MPEG::File mpeg(QFile::encodeName(file).constData());
    QStringList frames;
    if (!mpeg.hasID3v2Tag())
        return frames;
    for (const TagLib::ID3v2::Frame *frame : mpeg.ID3v2Tag()->frameList()) {
        const QString id = QString::fromLatin1(frame->frameID().data(), frame->frameID().size());
        if (const auto *user =
                dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame *>(frame))
            frames << id + '[' + Text(user->description()) + "]=" + Text(user->fieldList().back());
        else if (const auto *volume =
                     dynamic_cast<const TagLib::ID3v2::RelativeVolumeFrame *>(frame)) {
            const auto peak = volume->peakVolume();
            const double peakValue =
                peak.peakVolume.size() == 2 ? peak.peakVolume.toUShort() / 32768.0 : 0;
            frames << QStringLiteral("RVA2[%1] %2 dB peak %3")
                          .arg(Text(volume->identification()))
                          .arg(volume->volumeAdjustment(), 0, 'f', 2)
                          .arg(peakValue, 0, 'f', 4);
        } else {
            frames << id;
        }
    }
    return frames;
}

// The bytes of every frame of `tag` but the user text and RVA2 ones.
QList<QByteArray> OtherFrames(const QByteArray &tag)
{
    const tags::id3v2::TagBody read(tag);
    QList<QByteArray> frames;
    qint64 position = read.framesStart();
    while (const std::optional<tags::id3v2::Frame> frame = read.frameAt(position)) {
        if (frame->id != "TXXX" && frame->id != "TXX" && frame->id != "RVA2")
            frames << frame->bytes.toByteArray();
        position += frame->bytes.size();
    }
    return frames;
}

// Every item of an APE tag: key=text, or key and the size of binary data.
QStringList Items(const std::optional<tags::ape::Tag> &tag)
{
    QStringList items;
    for (const tags::ape::Item &item : tag ? tag->items : std::vector<tags::ape::Item>())
        items << QString::fromLatin1(item.key) +
                     (item.flags & 0x6 ? QStringLiteral(":%1 bytes").arg(item.value.size())
                                       : '=' + QString::fromUtf8(item.value));
    return items;
}

} // namespace

class ReplayGainTagsTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheFormsInAFile_data()
    {
        QTest::addColumn<QStringList>("forms");
        const QStringList userText{"user text"};
        for (const char *fixture : {"rg-txxx-v23", "rg-txxx-v24", "rg-txx-v22"})
            QTest::newRow(fixture) << userText;
        QTest::newRow("rg-rva2") << QStringList{"RVA2"};
        QTest::newRow("rg-ape") << QStringList{"APE", "mp3gain"};
        // iTunes' notes in user text, and tags at both ends.
        for (const char *fixture : {"v23-compression", "leading-and-appended"})
            QTest::newRow(fixture) << QStringList();
    }

    void findsTheFormsInAFile()
    {
        QFETCH(QStringList, forms);
        QBuffer file;
        file.setData(Contents(kFixtures + "tags/" + QTest::currentDataTag() + ".mp3"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<tags::ReplayGainForms> found = tags::ReplayGainFormsInFile(file);
        QVERIFY(found);
        QStringList named;
        for (const auto &[has, name] : {std::pair{found->id3v2UserText, "user text"},
                                        {found->id3v2Rva2, "RVA2"},
                                        {found->apeReplayGain, "APE"},
                                        {found->apeMp3Gain, "mp3gain"}})
            if (has)
                named << name;
        QCOMPARE(named, forms);
    }

    void makesTheId3v2ValuesAnew_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<double>("trackGain"); // NaN: not given
        QTest::addColumn<double>("trackPeak");
        QTest::addColumn<double>("albumGain");
        QTest::addColumn<double>("albumPeak");
        QTest::addColumn<QStringList>("frames");

        const double none = qQNaN();
        // The second track gain, in another case, goes as a stale twin.
        QTest::newRow("2.3, every value") << "rg-txxx-v23" << -3.21 << 0.812345 << -4.5 << 1.02
                                          << QStringList{"TIT2",
                                                         "TXXX[REPLAYGAIN_TRACK_GAIN]=-3.21 dB",
                                                         "TXXX[replaygain_track_peak]=0.812345",
                                                         "APIC",
                                                         "TXXX[REPLAYGAIN_ALBUM_GAIN]=-4.50 dB",
                                                         "TXXX[REPLAYGAIN_ALBUM_PEAK]=1.020000",
                                                         "TXXX[MusicBrainz Album Id]=0a1b"};
        QTest::newRow("2.3, no album values")
            << "rg-txxx-v23" << 1.5 << 0.5 << none << none
            << QStringList{"TIT2", "TXXX[REPLAYGAIN_TRACK_GAIN]=+1.50 dB",
                           "TXXX[replaygain_track_peak]=0.500000", "APIC",
                           "TXXX[MusicBrainz Album Id]=0a1b"};
        QTest::newRow("2.3, no values")
            << "rg-txxx-v23" << none << none << none << none
            << QStringList{"TIT2", "APIC", "TXXX[MusicBrainz Album Id]=0a1b"};
        // The compressed album gain is read and replaced; the album peak the
        // tag lacked follows it.
        QTest::newRow("2.4, album peak added")
            << "rg-txxx-v24" << -3.21 << 0.812345 << -4.5 << 1.02
            << QStringList{"TIT2",
                           "TXXX[REPLAYGAIN_TRACK_GAIN]=-3.21 dB",
                           "TXXX[REPLAYGAIN_TRACK_PEAK]=0.812345",
                           "TXXX[REPLAYGAIN_ALBUM_GAIN]=-4.50 dB",
                           "TXXX[REPLAYGAIN_ALBUM_PEAK]=1.020000",
                           "TPE1"};
        QTest::newRow("2.4, no values")
            << "rg-txxx-v24" << none << none << none << none << QStringList{"TIT2", "TPE1"};
        QTest::newRow("2.2") << "rg-txx-v22" << -3.21 << none << none << none
                             << QStringList{"TIT2", "TXXX[REPLAYGAIN_TRACK_GAIN]=-3.21 dB", "TALB"};
        QTest::newRow("RVA2") << "rg-rva2" << -3.21 << 0.812345 << -4.5 << none
                              << QStringList{"TIT2", "RVA2[track] -3.21 dB peak 0.8123",
                                             "RVA2[Album] -4.50 dB peak 0.0000", "TPE1"};
        QTest::newRow("RVA2, no album gain")
            << "rg-rva2" << 2.0 << 1.1 << none << 0.9
            << QStringList{"TIT2", "RVA2[track] 2.00 dB peak 1.1000", "TPE1"};
    }

    void makesTheId3v2ValuesAnew()
    {
        QFETCH(QString, fixture);
        QFETCH(double, trackGain);
        QFETCH(double, trackPeak);
        QFETCH(double, albumGain);
        QFETCH(double, albumPeak);
        QFETCH(QStringList, frames);
        const QByteArray file = Contents(kFixtures + "tags/" + fixture + ".mp3");
        QBuffer buffer;
        buffer.setData(file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const tags::MpegLayout layout = tags::ReadMpegLayout(buffer).value();
        const QByteArray tag =
            layout.appendedId3v2Tags.empty()
                ? file.left(layout.leadingTagSize)
                : file.mid(layout.appendedId3v2Tags[0].offset, layout.appendedId3v2Tags[0].size);

        const QByteArray made = tags::Id3v2WithReplayGain(
            tag, {Given(trackGain), Given(trackPeak), Given(albumGain), Given(albumPeak)});
        QCOMPARE(made.left(4), tag.left(4));
        QCOMPARE(made.right(10).startsWith("3DI"), tag.right(10).startsWith("3DI"));
        QCOMPARE(OtherFrames(made), OtherFrames(tag));
        // TagLib reads a tag in front of the audio, and without a footer.
        QTemporaryDir folder;
        const QString written = folder.filePath("made.mp3");
        QVERIFY(WriteFile(written, tags::Id3v2ForNewAudio(made, 0) + kAudio));
        QCOMPARE(FramesRead(written), frames);
    }

    void makesTheApeValuesAnew_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("every"); // or none
        QTest::addColumn<QStringList>("items");

        const QString cover = "Cover Art (Front):46 bytes";
        // mp3gain's items go in any case.
        QTest::newRow("every value")
            << "replaygain" << true
            << QStringList{"REPLAYGAIN_TRACK_GAIN=-3.21 dB", "Title=APE title",
                           "REPLAYGAIN_TRACK_PEAK=0.812345", "REPLAYGAIN_ALBUM_GAIN=-4.50 dB",
                           "REPLAYGAIN_ALBUM_PEAK=1.020000", cover};
        QTest::newRow("no values")
            << "replaygain" << false << QStringList{"Title=APE title", cover};
        QTest::newRow("only mp3gain's") << "mp3gain-only-v1" << true << QStringList();
        QTest::newRow("an item past the end")
            << "item-past-end" << true
            << QStringList{"REPLAYGAIN_ALBUM_GAIN=-4.50 dB", "REPLAYGAIN_TRACK_GAIN=-3.21 dB",
                           "REPLAYGAIN_TRACK_PEAK=0.812345", "REPLAYGAIN_ALBUM_PEAK=1.020000"};
        QTest::newRow("no ReplayGain")
            << "no-replaygain" << true << QStringList{"Artist=Someone", "Year=1999"};
    }

    void makesTheApeValuesAnew()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, every);
        QFETCH(QStringList, items);
        const QByteArray tag = Contents(kFixtures + "ape/" + fixture + ".bin");
        const tags::ReplayGainValues values =
            every ? tags::ReplayGainValues{-3.21, 0.812345, -4.5, 1.02} : tags::ReplayGainValues{};
        const QByteArray made = tags::ApeWithReplayGain(tag, values);
        QCOMPARE(Items(tags::ape::ReadTag(made)), items);
        if (const std::optional<tags::ape::Tag> before = tags::ape::ReadTag(tag);
            before && !made.isEmpty()) {
            QCOMPARE(tags::ape::ReadTag(made)->hasHeader, before->hasHeader);
            QCOMPARE(tags::ape::ReadTag(made)->version, before->version);
        }
    }
};

QTEST_GUILESS_MAIN(ReplayGainTagsTest)
#include "test_replaygain_tags.moc"
