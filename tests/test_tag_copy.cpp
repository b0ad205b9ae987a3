// Copying a stereo MP3's tags onto its mono conversion by the real SoX, and
// measuring MPEG audio by its frames. Tags are written and read back with
// TagLib.

#include "Audio.h"
#include "conversion/MpegAudio.h"
#include "conversion/TagCopy.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/apefooter.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/generalencapsulatedobjectframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/uniquefileidentifierframe.h>
#include <taglib/unknownframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/urllinkframe.h>

using namespace velunor;
using namespace velunor::testing;
using namespace TagLib;

namespace {

const String kTitle("Ça ira — 日本語 テスト", String::UTF8);

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (char &byte : bytes)
        byte = char(generator.generate());
    return bytes;
}

ByteVector Vector(const QByteArray &bytes)
{
    return ByteVector(bytes.constData(), bytes.size());
}

QByteArray Bytes(const ByteVector &vector)
{
    return QByteArray(vector.data(), vector.size());
}

std::unique_ptr<MPEG::File> Open(const QString &path)
{
    return std::make_unique<MPEG::File>(QFile::encodeName(path).constData());
}

// The bytes between a file's tags, as TagLib finds them.
QByteArray AudioBytes(const QString &path)
{
    const auto file = Open(path);
    const QByteArray bytes = Contents(path);
    const qsizetype begin = file->hasID3v2Tag() ? file->ID3v2Tag()->header()->completeTagSize() : 0;
    const qsizetype end = bytes.size() - (file->hasID3v1Tag() ? 128 : 0) -
                          (file->hasAPETag() ? file->APETag()->footer()->completeTagSize() : 0);
    return bytes.mid(begin, end - begin);
}

// A frame TagLib has no class for, holding `payload` as it is.
ID3v2::Frame *RawFrame(const char *id, const ByteVector &payload)
{
    return new ID3v2::UnknownFrame(ByteVector(id) + ID3v2::SynchData::fromUInt(payload.size()) +
                                   ByteVector(2, '\0') + payload);
}

void AddText(ID3v2::Tag *tag, const char *id, const String &text, String::Type encoding)
{
    auto *frame = new ID3v2::TextIdentificationFrame(id, encoding);
    frame->setText(text);
    tag->addFrame(frame);
}

// The kinds of frames users' files carry, in ID3v2 `version`, with an ID3v1
// and an APE tag.
bool TagEverything(const QString &path, ID3v2::Version version)
{
    const auto file = Open(path);
    ID3v2::Tag *tag = file->ID3v2Tag(true);
    const String::Type unicode = version == ID3v2::v4 ? String::UTF8 : String::UTF16;
    AddText(tag, "TIT2", kTitle, unicode);
    AddText(tag, "TPE1", String("Zoë", String::UTF8), String::Latin1);
    for (const char *id : {"TPE2", "TCOM", "TPUB"})
        AddText(tag, id, String(id) + String(" Ωmega", String::UTF8), unicode);
    const std::pair<const char *, const char *> latin1Texts[] = {{"TRCK", "3/12"},
                                                                 {"TPOS", "1/2"},
                                                                 {"TCON", "Chanson"},
                                                                 {"TDRC", "1999-12-31T23:59"},
                                                                 {"TLEN", "99999"}};
    for (const auto &[id, text] : latin1Texts)
        AddText(tag, id, text, String::Latin1);
    for (const char *description : {"MOOD", "CATALOG"}) {
        auto *text = new ID3v2::UserTextIdentificationFrame(unicode);
        text->setDescription(description);
        text->setText(kTitle + description);
        tag->addFrame(text);
    }
    for (const char *language : {"eng", "fra"}) {
        auto *comment = new ID3v2::CommentsFrame(unicode);
        comment->setLanguage(language);
        comment->setDescription(language);
        comment->setText(kTitle);
        tag->addFrame(comment);
    }
    auto *lyrics = new ID3v2::UnsynchronizedLyricsFrame(unicode);
    lyrics->setLanguage("jpn");
    lyrics->setText(kTitle + "\nsecond line");
    tag->addFrame(lyrics);
    for (const int size : {150000, 20000}) {
        auto *picture = new ID3v2::AttachedPictureFrame;
        picture->setMimeType("image/jpeg");
        picture->setType(size > 100000 ? ID3v2::AttachedPictureFrame::FrontCover
                                       : ID3v2::AttachedPictureFrame::BackCover);
        picture->setPicture(Vector(Noise(size)));
        tag->addFrame(picture);
    }
    auto *rating = new ID3v2::PopularimeterFrame;
    rating->setEmail("listener@example.org");
    rating->setRating(196);
    rating->setCounter(12);
    tag->addFrame(rating);
    auto *owned = new ID3v2::PrivateFrame;
    owned->setOwner("velunor.test");
    owned->setData(Vector(Noise(64)));
    tag->addFrame(owned);
    tag->addFrame(new ID3v2::UniqueFileIdentifierFrame("http://example.org/ids", "0a1b2c3d"));
    auto *link = new ID3v2::UserUrlLinkFrame(unicode);
    link->setDescription("shop");
    link->setUrl("https://example.org/shop");
    tag->addFrame(link);
    tag->addFrame(RawFrame("MLLT", ByteVector(12, '\x01')));
    // RVAD is a 2.3 frame that TagLib drops when it saves a tag it has read.
    tag->addFrame(RawFrame("RVAD", ByteVector("\x03\x10\x01\x00\x01\x00\x00\x00\x00\x00", 10)));
    tag->addFrame(RawFrame("XVEL", "a frame of a program of its own"));
    file->ID3v1Tag(true)->setTitle("Ca ira");
    file->ID3v1Tag()->setYear(1999);
    file->APETag(true)->setTitle(kTitle);
    file->APETag()->setItem("Catalog", APE::Item("Catalog", "VEL-1"));
    return file->save(MPEG::File::AllTags, File::StripOthers, version);
}

} // namespace

class TagCopyTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;
    QString stereo_; // three seconds, no tags

    QString path(const QString &name) const { return work_.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(work_.isValid());
        stereo_ = path(QStringLiteral("stereo.mp3"));
        QCOMPARE(MakeStereoMp3(stereo_, 3.0), QString());
    }

    void copiesEveryFrameInTheInputsVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("ID3v2.3") << 3;
        QTest::newRow("ID3v2.4") << 4;
    }

    void copiesEveryFrameInTheInputsVersion()
    {
        QFETCH(int, version);
        const QString input = path(QStringLiteral("tagged %1.mp3").arg(version));
        const QString output = path(QStringLiteral("mono %1.mp3").arg(version));
        QVERIFY(QFile::copy(stereo_, input));
        QVERIFY(TagEverything(input, ID3v2::Version(version)));
        QCOMPARE(ConvertToMono(input, output), QString());
        const QByteArray audio = AudioBytes(output);
        const std::optional<MpegAudioLength> length = MeasureMpegAudio(output);
        QVERIFY(length);
        const qint64 lengthMs = qRound64(length->seconds() * 1000);

        QCOMPARE(CopyTags(input, output, lengthMs), QString());
        QCOMPARE(AudioBytes(output), audio);
        QCOMPARE(MeasureMpegAudio(output).value_or(MpegAudioLength()).frames, length->frames);

        const auto original = Open(input), copied = Open(output);
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
        const QString withId3v1 = path(QStringLiteral("only ID3v1.mp3"));
        const QString output = path(QStringLiteral("mono of only ID3v1.mp3"));
        QVERIFY(QFile::copy(stereo_, withId3v1));
        {
            const auto file = Open(withId3v1);
            file->ID3v1Tag(true)->setTitle("Only an ID3v1 tag");
            QVERIFY(file->save(MPEG::File::ID3v1));
        }
        QCOMPARE(ConvertToMono(withId3v1, output), QString());
        QVERIFY(Open(output)->hasID3v2Tag());
        const QByteArray audio = AudioBytes(output);

        QCOMPARE(CopyTags(stereo_, output, 3000), QString());
        QCOMPARE(Contents(output), audio);
        QCOMPARE(CopyTags(withId3v1, output, 3000), QString());
        QCOMPARE(Contents(output), audio + Contents(withId3v1).right(128));
    }

    void saysWhyTagsCouldNotBeCopied()
    {
        const QString output = path(QStringLiteral("mono untagged.mp3"));
        QCOMPARE(ConvertToMono(stereo_, output), QString());
        const QByteArray converted = Contents(output);
        const QString noInput = CopyTags(path(QStringLiteral("missing.mp3")), output, 3000);
        QVERIFY2(noInput.startsWith(QStringLiteral("the tags of the input could not be read (")),
                 qPrintable(noInput));
        QCOMPARE(Contents(output), converted);
        const QString noOutput = CopyTags(stereo_, path(QStringLiteral("gone/mono.mp3")), 3000);
        QVERIFY2(noOutput.startsWith(QStringLiteral("the converted file could not be read (")),
                 qPrintable(noOutput));
    }

    void measuresTheFramesPresent()
    {
        const std::optional<MpegAudioLength> full = MeasureMpegAudio(stereo_);
        QVERIFY(full);
        QVERIFY2(qAbs(full->seconds() - 3.0) < 0.1, qPrintable(QString::number(full->seconds())));
        QCOMPARE(full->sampleRate, 44100);

        // A VBR file's Xing header gives the frame count of the whole stream,
        // also when the file was cut short.
        const QString vbr = path(QStringLiteral("vbr.mp3"));
        const QString cut = path(QStringLiteral("cut.mp3"));
        QCOMPARE(MakeStereoMp3(vbr, 3.0, 440, 1000, 0.5, true), QString());
        QVERIFY(Write(cut, Contents(vbr).left(Contents(vbr).size() / 2)));
        const std::optional<MpegAudioLength> whole = MeasureMpegAudio(vbr);
        const std::optional<MpegAudioLength> half = MeasureMpegAudio(cut);
        QVERIFY(whole && half);
        QCOMPARE(whole->frames, full->frames); // the frame holding the Xing header is no audio
        QVERIFY2(qAbs(half->seconds() - whole->seconds() / 2) < 0.15,
                 qPrintable(QString::number(half->seconds())));

        const QString noise = path(QStringLiteral("noise.mp3"));
        const QString wave = path(QStringLiteral("tone.wav"));
        QVERIFY(Write(noise, Noise(300000)));
        QCOMPARE(MakeStereoMp3(wave, 1.0), QString()); // SoX writes WAV by the name
        QVERIFY(!MeasureMpegAudio(noise));
        QVERIFY(!MeasureMpegAudio(wave));
    }

    void measuresPastTagsAndDamage()
    {
        const std::optional<MpegAudioLength> plain = MeasureMpegAudio(stereo_);
        QVERIFY(plain);

        // A big cover and an embedded MP3 (a preview clip) in the ID3v2 tag,
        // and an ID3v1 tag after the audio.
        const QString tagged = path(QStringLiteral("with cover.mp3"));
        const QString preview = path(QStringLiteral("preview.mp3"));
        QVERIFY(QFile::copy(stereo_, tagged));
        QCOMPARE(MakeStereoMp3(preview, 1.0), QString());
        {
            const auto file = Open(tagged);
            auto *cover = new ID3v2::AttachedPictureFrame;
            cover->setPicture(Vector(Noise(500000)));
            file->ID3v2Tag(true)->addFrame(cover);
            auto *clip = new ID3v2::GeneralEncapsulatedObjectFrame;
            clip->setObject(Vector(Contents(preview)));
            file->ID3v2Tag()->addFrame(clip);
            file->ID3v1Tag(true)->setTitle("Cover");
            QVERIFY(file->save(MPEG::File::ID3v1 | MPEG::File::ID3v2));
        }
        QCOMPARE(MeasureMpegAudio(tagged).value_or(MpegAudioLength()).frames, plain->frames);

        // Noise over the middle fifth of the bytes.
        QByteArray bytes = Contents(stereo_);
        const qsizetype damaged = bytes.size() / 5;
        bytes.replace(bytes.size() * 2 / 5, damaged, Noise(damaged));
        const QString broken = path(QStringLiteral("damaged.mp3"));
        QVERIFY(Write(broken, bytes));
        const std::optional<MpegAudioLength> rest = MeasureMpegAudio(broken);
        QVERIFY(rest);
        QVERIFY2(qAbs(rest->seconds() - plain->seconds() * 4 / 5) < 0.1,
                 qPrintable(QString::number(rest->seconds())));
    }
};

QTEST_GUILESS_MAIN(TagCopyTest)
#include "test_tag_copy.moc"
