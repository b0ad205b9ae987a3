// The tags of FLAC, Ogg Vorbis and WAV inputs on their mono MP3 conversions
// by the real SoX. Tags are written and read back with TagLib; the ID3v2.4
// tag made of them is also walked frame by frame as bytes.

#include "Audio.h"
#include "Files.h"
#include "TagFiles.h"
#include "tags/MpegAudio.h"
#include "tags/TagCopy.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <memory>
#include <tuple>

using namespace velunor;
using namespace velunor::testing;
using namespace TagLib;

namespace {

const String kTitle("Flâc — 東京", String::UTF8);
const String kCoverText("Hülle vorn — 表", String::UTF8);

// What users' FLAC and Ogg files carry, in place of the comment SoX wrote,
// with fields that describe the stereo audio and must not reach the MP3.
void FillComments(Ogg::XiphComment &comments)
{
    comments.removeAllFields();
    const std::pair<const char *, String> fields[] = {
        {"TITLE", kTitle},
        {"ARTIST", String("Zoë", String::UTF8)},
        {"ARTIST", String("Ωmega", String::UTF8)},
        {"ALBUM", String("Album ∞", String::UTF8)},
        {"ALBUMARTIST", String("Album artist")},
        {"COMPOSER", String("Composer")},
        {"DATE", String("2001-04-05")},
        {"TRACKNUMBER", String("3")},
        {"TRACKTOTAL", String("12")},
        {"DISCNUMBER", String("1")},
        {"DISCTOTAL", String("2")},
        {"GENRE", String("Chanson")},
        {"COMMENT", kTitle},
        {"LYRICS", String("first line\nsecond line")},
        {"LISTENING NOTES", kTitle},
        {"ENCODER", String("reference libFLAC 1.4.2")},
        {"REPLAYGAIN_TRACK_GAIN", String("-6.50 dB")},
        {"WAVEFORMATEXTENSIBLE_CHANNEL_MASK", String("0x0003")},
        {"LENGTH", String("2000")},
    };
    for (const auto &[name, value] : fields)
        comments.addField(name, value, false);
}

// What a frame holds: its texts (several values apart), or a picture's MIME
// type.
String FrameText(const ID3v2::Frame &frame)
{
    if (const auto *picture = dynamic_cast<const ID3v2::AttachedPictureFrame *>(&frame))
        return picture->mimeType();
    if (const auto *text = dynamic_cast<const ID3v2::TextIdentificationFrame *>(&frame))
        return text->fieldList().toString("|");
    return frame.toString();
}

// Each frame of `tag` by its ID and what it holds, sorted.
QStringList FrameSummary(const ID3v2::Tag &tag)
{
    QStringList summary;
    for (const ID3v2::Frame *frame : tag.frameList())
        summary << QString::fromUtf8(Bytes(frame->frameID())) + ' ' +
                       QString::fromUtf8(FrameText(*frame).toCString(true));
    summary.sort();
    return summary;
}

// The frame IDs of a FrameSummary.
QStringList Ids(const QStringList &frameSummary)
{
    QStringList ids;
    for (const QString &frame : frameSummary)
        ids << frame.left(4);
    return ids;
}

// The frame IDs of the ID3v2.4 tag that `file` starts with, found by walking
// its syncsafe sizes; empty when a size is not syncsafe or the walk does not
// end exactly at the end of the tag. Also checks that every frame's text is
// UTF-8.
QStringList WalkId3v24(const QByteArray &file)
{
    const auto syncsafe = [&](qsizetype at) {
        quint32 value = 0;
        for (qsizetype i = at; i < at + 4; ++i) {
            if (uchar(file[i]) & 0x80)
                return -1;
            value = value << 7 | uchar(file[i]);
        }
        return int(value);
    };
    if (!file.startsWith(QByteArray("ID3\x04\x00\x00", 6)))
        return {};
    const qsizetype end = 10 + syncsafe(6);
    if (end > file.size())
        return {};
    QStringList ids;
    qsizetype at = 10;
    while (at < end) {
        const int size = syncsafe(at + 4);
        // Text, comment, lyrics and picture frames start with the encoding.
        if (size < 1 || at + 10 + size > end || file[at + 10] != '\x03')
            return {};
        ids << QString::fromLatin1(file.mid(at, 4));
        at += 10 + size;
    }
    ids.sort();
    return at == end ? ids : QStringList();
}

} // namespace

class ForeignTagsTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;

    QString path(const QString &name) const { return work_.filePath(name); }

    // Converts `input` as the program does and copies its tags; the audio
    // SoX wrote must come through untouched. Returns the output's path.
    QString convert(const QString &input, const QString &outputName)
    {
        const QString output = path(outputName);
        if (const QString problem = ConvertToMono(input, output); !problem.isEmpty()) {
            qWarning() << problem;
            return {};
        }
        const QByteArray audio = AudioBytes(output);
        const qint64 lengthMs = qRound64(tags::MeasureMpegAudio(AsPath(output))->seconds() * 1000);
        if (const QString problem = CopyTagsOnto(input, output, lengthMs); !problem.isEmpty()) {
            qWarning() << problem;
            return {};
        }
        const auto file = OpenMp3(output);
        const qsizetype tagSize =
            file->hasID3v2Tag() ? file->ID3v2Tag()->header()->completeTagSize() : 0;
        if (Contents(output).mid(tagSize) != audio) {
            qWarning() << "the audio of" << output << "changed";
            return {};
        }
        return output;
    }

private slots:
    void initTestCase() { QVERIFY(work_.isValid()); }

    void keepsFlacAndOggVorbisComments_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("FLAC") << QStringLiteral("track.flac") << QString();
        // The program takes any name; TagLib tells the kind by the content.
        QTest::newRow("Ogg Vorbis") << QStringLiteral("take two.audio") << QStringLiteral("ogg");
    }

    void keepsFlacAndOggVorbisComments()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QString input = path(name);
        QCOMPARE(MakeStereoAudio(input, 2.0, type), QString());
        const QByteArray front = Noise(40000), back = Noise(3000);
        {
            FileRef file(QFile::encodeName(input).constData());
            auto *flac = dynamic_cast<FLAC::File *>(file.file());
            Ogg::XiphComment &comments =
                flac ? *flac->xiphComment(true) : *dynamic_cast<Ogg::XiphComment *>(file.tag());
            FillComments(comments);
            for (const auto &[kind, mimeType, description, data] :
                 {std::tuple(FLAC::Picture::FrontCover, "image/png", kCoverText, front),
                  std::tuple(FLAC::Picture::BackCover, "image/jpeg", String(), back)}) {
                auto *picture = new FLAC::Picture;
                picture->setType(kind);
                picture->setMimeType(mimeType);
                picture->setDescription(description);
                picture->setData(Vector(data));
                flac ? flac->addPicture(picture) : comments.addPicture(picture);
            }
            QVERIFY(file.save());
        }
        const QString output = convert(input, name + QStringLiteral(".mp3"));
        QVERIFY(!output.isEmpty());

        const auto file = OpenMp3(output);
        QVERIFY(!file->hasID3v1Tag() && !file->hasAPETag());
        const ID3v2::Tag &tag = *file->ID3v2Tag();
        const QString title = QString::fromUtf8(kTitle.toCString(true));
        const QStringList frames = FrameSummary(tag);
        QCOMPARE(frames,
                 QStringList({"APIC image/jpeg", "APIC image/png", "COMM " + title, "TALB Album ∞",
                              "TCOM Composer", "TCON Chanson", "TDRC 2001-04-05", "TIT2 " + title,
                              "TPE1 Zoë|Ωmega", "TPE2 Album artist", "TPOS 1/2", "TRCK 3/12",
                              "TXXX ENCODER|reference libFLAC 1.4.2",
                              "TXXX LISTENING NOTES|" + title, "USLT first line\nsecond line"}));
        QCOMPARE(WalkId3v24(Contents(output)), Ids(frames));

        const ID3v2::FrameList pictures = tag.frameListMap()["APIC"];
        const auto *cover = dynamic_cast<const ID3v2::AttachedPictureFrame *>(pictures.front());
        const auto *backCover = dynamic_cast<const ID3v2::AttachedPictureFrame *>(pictures.back());
        QVERIFY(cover && backCover);
        QCOMPARE(cover->type(), ID3v2::AttachedPictureFrame::FrontCover);
        QCOMPARE(cover->description(), kCoverText);
        QCOMPARE(Bytes(cover->picture()), front);
        QCOMPARE(backCover->type(), ID3v2::AttachedPictureFrame::BackCover);
        QCOMPARE(Bytes(backCover->picture()), back);
    }

    void keepsTheInfoAndId3ChunksOfWav()
    {
        // The ID3 chunk names the title; the INFO chunk adds what it lacks.
        const QString input = path(QStringLiteral("recording.wav"));
        QCOMPARE(MakeStereoAudio(input, 1.0), QString());
        {
            RIFF::WAV::File file(QFile::encodeName(input).constData());
            RIFF::Info::Tag *info = file.InfoTag();
            info->setTitle("INFO title");
            info->setArtist(String("Zoë", String::UTF8));
            info->setFieldText("ICOP", "2001 Velunor");
            info->setFieldText("IENG", "Engineer");
            ID3v2::Tag *id3 = file.ID3v2Tag();
            id3->setTitle(kTitle);
            auto *picture = new ID3v2::AttachedPictureFrame;
            picture->setMimeType("image/png");
            picture->setType(ID3v2::AttachedPictureFrame::FrontCover);
            picture->setPicture(Vector(Noise(2000)));
            id3->addFrame(picture);
            // iTunes' loudness of the stereo audio, in a comment.
            auto *loudness = new ID3v2::CommentsFrame(String::UTF16);
            loudness->setDescription("iTunNORM");
            loudness->setText(" 00000349 00000322 00001FB0");
            id3->addFrame(loudness);
            QVERIFY(file.save());
        }
        const QString output = convert(input, QStringLiteral("recording.mp3"));
        QVERIFY(!output.isEmpty());

        const QStringList frames = FrameSummary(*OpenMp3(output)->ID3v2Tag());
        QCOMPARE(frames, QStringList({"APIC image/png", "TCOP 2001 Velunor",
                                      "TIT2 " + QString::fromUtf8(kTitle.toCString(true)),
                                      "TPE1 Zoë", "TXXX IENG|Engineer"}));
        QCOMPARE(WalkId3v24(Contents(output)), Ids(frames));
    }

    void leavesDamagedInputsWithoutTags_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("damaged"); // bytes of noise after the format's mark
        QTest::newRow("FLAC metadata blocks") << QStringLiteral("damaged.flac") << 200;
        QTest::newRow("Ogg first page") << QStringLiteral("damaged.ogg") << 60;
    }

    void leavesDamagedInputsWithoutTags()
    {
        QFETCH(QString, name);
        QFETCH(int, damaged);
        const QString input = path(name);
        QCOMPARE(MakeStereoAudio(input, 1.0), QString());
        {
            FileRef file(QFile::encodeName(input).constData());
            file.tag()->setTitle(kTitle);
            QVERIFY(file.save());
        }
        const QString output = convert(input, name + QStringLiteral(".mp3"));
        QVERIFY(!output.isEmpty());
        const QByteArray converted = Contents(output);

        QVERIFY(WriteFile(input, Contents(input).replace(4, damaged, Noise(damaged))));
        QCOMPARE(CopyTagsOnto(input, output, 1000), QString());
        QVERIFY(!OpenMp3(output)->hasID3v2Tag());
        QCOMPARE(Contents(output), AudioBytes(output));
        QVERIFY(converted.endsWith(Contents(output)));
    }
};

QTEST_GUILESS_MAIN(ForeignTagsTest)
#include "test_foreign_tags.moc"
