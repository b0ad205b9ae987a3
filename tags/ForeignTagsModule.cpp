// The reader of the tags that other formats than MP3 keep in a format of
// their own, built as a module of its own that links TagLib: the program
// loads it the first time an input needs it (see tags/ForeignTags.cpp).

#include <QByteArray>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <memory>
#include <new>
#include <vector>

namespace {

using TagLib::ByteVector;
using TagLib::PropertyMap;
using TagLib::String;
using TagLib::StringList;

// The size field of an ID3v2 tag holds 28 bits.
constexpr qint64 kLargestTagBody = 0x0FFFFFFF;

// Fields that describe the old file's audio stream rather than the
// recording: its length, its channel layout, its loudness (which the mix to
// one channel changes) and the old encoder's delay and padding. iTunes keeps
// some of these in comments ("COMMENT:ITUNNORM").
bool DescribesOldAudio(String key)
{
    if (key.startsWith("COMMENT:"))
        key = key.substr(8);
    for (const char *name :
         {"LENGTH", "ITUNSMPB", "ITUNNORM", "ITUNPGAP", "WAVEFORMATEXTENSIBLE_CHANNEL_MASK"})
        if (key == name)
            return true;
    for (const char *prefix : {"REPLAYGAIN_", "R128_", "MP3GAIN_"})
        if (key.startsWith(prefix))
            return true;
    return false;
}

// Moves the values of `from` to `to` when `to` has none; otherwise both stay.
void Rename(PropertyMap &fields, const char *from, const char *to)
{
    if (!fields.contains(from) || fields.contains(to))
        return;
    fields.insert(to, fields[from]);
    fields.erase(from);
}

// Joins a Vorbis-style total ("TRACKTOTAL=12") to the numbers ("3/12"); a
// number that carries a total of its own keeps it. A total with no number to
// join stays a field of its own.
void JoinTotal(PropertyMap &fields, const char *numberKey, const char *totalKey)
{
    if (!fields.contains(totalKey) || !fields.contains(numberKey) || fields[totalKey].isEmpty())
        return;
    const String total = fields[totalKey].front();
    StringList numbers;
    for (const String &number : fields[numberKey])
        numbers.append(number.find("/") < 0 ? number + "/" + total : number);
    fields.replace(numberKey, numbers);
    fields.erase(totalKey);
}

// The fields of a RIFF INFO chunk under the names the other formats use; the
// rest under their own four letters.
PropertyMap InfoFields(const TagLib::RIFF::Info::Tag &info)
{
    static const std::pair<const char *, const char *> kNames[] = {
        {"INAM", "TITLE"},       {"IART", "ARTIST"},      {"IPRD", "ALBUM"},
        {"ICMT", "COMMENT"},     {"IGNR", "GENRE"},       {"ICRD", "DATE"},
        {"IPRT", "TRACKNUMBER"}, {"ITRK", "TRACKNUMBER"}, {"IMUS", "COMPOSER"},
        {"ICOP", "COPYRIGHT"},   {"ISFT", "ENCODING"},    {"ILNG", "LANGUAGE"}};
    PropertyMap fields;
    for (const auto &[id, text] : info.fieldListMap()) {
        if (text.isEmpty())
            continue;
        String key = String(id, String::Latin1);
        for (const auto &[fourLetters, name] : kNames)
            if (id == fourLetters)
                key = name;
        if (!fields.contains(key))
            fields.insert(key, StringList(text));
    }
    return fields;
}

// Every text field of `file`, ready to become frames.
PropertyMap TextFields(TagLib::File &file)
{
    PropertyMap fields = file.properties();
    // TagLib gives a WAV file's ID3 chunk; its INFO chunk fills the gaps.
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(&file); wav && wav->hasInfoTag())
        for (const auto &[key, values] : InfoFields(*wav->InfoTag()))
            if (!fields.contains(key))
                fields.insert(key, values);

    // Other names that Vorbis comments use for the same things.
    Rename(fields, "ALBUM ARTIST", "ALBUMARTIST");
    Rename(fields, "DESCRIPTION", "COMMENT");
    Rename(fields, "UNSYNCEDLYRICS", "LYRICS");
    Rename(fields, "YEAR", "DATE");
    for (const char *total : {"TRACKTOTAL", "TOTALTRACKS"})
        JoinTotal(fields, "TRACKNUMBER", total);
    for (const char *total : {"DISCTOTAL", "TOTALDISCS"})
        JoinTotal(fields, "DISCNUMBER", total);

    PropertyMap kept;
    for (const auto &[key, values] : fields)
        // Legacy cover fields that TagLib did not take for a picture are no
        // text, and would only grow the tag.
        if (!key.isEmpty() && !values.isEmpty() && !DescribesOldAudio(key) && key != "COVERART" &&
            key != "COVERARTMIME" && key != "METADATA_BLOCK_PICTURE")
            kept.insert(key, values);
    return kept;
}

using Frames = std::vector<std::unique_ptr<TagLib::ID3v2::Frame>>;

// COMM and USLT hold one text each, told apart by their description (the
// part after "COMMENT:"): several values go into that one text, a line each.
template <typename TextFrame>
std::unique_ptr<TagLib::ID3v2::Frame> DescribedTextFrame(const String &key, const String &prefix,
                                                         const StringList &values)
{
    auto frame = std::make_unique<TextFrame>(String::UTF8);
    frame->setLanguage("XXX");
    if (key.size() > prefix.size())
        frame->setDescription(key.substr(prefix.size() + 1));
    frame->setText(values.toString("\n"));
    return frame;
}

std::unique_ptr<TagLib::ID3v2::Frame> TextFieldFrame(const String &key, const StringList &values)
{
    if (key == "COMMENT" || key.startsWith("COMMENT:"))
        return DescribedTextFrame<TagLib::ID3v2::CommentsFrame>(key, "COMMENT", values);
    if (key == "LYRICS" || key.startsWith("LYRICS:"))
        return DescribedTextFrame<TagLib::ID3v2::UnsynchronizedLyricsFrame>(key, "LYRICS", values);
    // TagLib's own names: the standard text frames (several values apart, in
    // UTF-8), URL frames, and TXXX named after the field for the rest.
    return std::unique_ptr<TagLib::ID3v2::Frame>(
        TagLib::ID3v2::Frame::createTextualFrame(key, values));
}

std::unique_ptr<TagLib::ID3v2::Frame> PictureFrame(const String &mimeType, unsigned int type,
                                                   const String &description,
                                                   const ByteVector &data)
{
    using TagLib::ID3v2::AttachedPictureFrame;
    auto frame = std::make_unique<AttachedPictureFrame>();
    frame->setTextEncoding(String::UTF8);
    frame->setMimeType(mimeType);
    // Both formats number the same 21 kinds of picture; others are "other".
    frame->setType(type <= AttachedPictureFrame::PublisherLogo ? AttachedPictureFrame::Type(type)
                                                               : AttachedPictureFrame::Other);
    frame->setDescription(description);
    frame->setPicture(data);
    return frame;
}

void AddPictures(const TagLib::List<TagLib::FLAC::Picture *> &pictures, Frames &frames)
{
    for (const TagLib::FLAC::Picture *picture : pictures)
        if (!picture->data().isEmpty())
            frames.push_back(PictureFrame(picture->mimeType(), picture->type(),
                                          picture->description(), picture->data()));
}

// The pictures of `file`: FLAC picture blocks, those in Ogg (and FLAC)
// comments, and the APIC frames of an ID3 chunk.
Frames PictureFrames(TagLib::File &file)
{
    Frames frames;
    if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(&file)) {
        AddPictures(flac->pictureList(), frames);
        if (flac->hasXiphComment())
            AddPictures(flac->xiphComment()->pictureList(), frames);
    }
    if (auto *comments = dynamic_cast<TagLib::Ogg::XiphComment *>(file.tag()))
        AddPictures(comments->pictureList(), frames);
    if (const auto *id3 = dynamic_cast<const TagLib::ID3v2::Tag *>(file.tag()))
        for (const TagLib::ID3v2::Frame *frame : id3->frameListMap()["APIC"])
            if (const auto *apic = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame);
                apic && !apic->picture().isEmpty())
                frames.push_back(PictureFrame(apic->mimeType(), apic->type(), apic->description(),
                                              apic->picture()));
    return frames;
}

QByteArray Bytes(const ByteVector &vector)
{
    return QByteArray(vector.data(), qsizetype(vector.size()));
}

// A tag of `frames` in the order given; a frame that would take the tag past
// the largest size an ID3v2 tag can state is left out.
QByteArray Id3v24Tag(const Frames &frames)
{
    QByteArray body;
    for (const auto &frame : frames) {
        if (!frame)
            continue;
        const ByteVector rendered = frame->render();
        if (body.size() + qint64(rendered.size()) <= kLargestTagBody)
            body += Bytes(rendered);
    }
    if (body.isEmpty())
        return {};
    QByteArray tag("ID3\x04\x00\x00", 6);
    tag += Bytes(TagLib::ID3v2::SynchData::fromUInt(static_cast<unsigned int>(body.size())));
    return tag + body;
}

} // namespace

// What ForeignTagsAsId3v24 (tags/ForeignTags.h) tells of the file at `path`,
// written into `tag`.
extern "C" __attribute__((visibility("default"))) void
velunor_foreign_tags_as_id3v24(const char *path, QByteArray *tag)
{
    tag->clear();
    try {
        // Without the audio properties, TagLib reads the tags alone. It tells
        // the kind of file by its name, or else by its first bytes.
        TagLib::FileRef input(path, false);
        if (input.isNull() || !input.file()->isValid())
            return;
        Frames frames;
        for (const auto &[key, values] : TextFields(*input.file()))
            frames.push_back(TextFieldFrame(key, values));
        for (auto &picture : PictureFrames(*input.file()))
            frames.push_back(std::move(picture));
        *tag = Id3v24Tag(frames);
    } catch (const std::bad_alloc &) {
        // Tags too large to hold in memory: the output goes without them.
        tag->clear();
    }
}
