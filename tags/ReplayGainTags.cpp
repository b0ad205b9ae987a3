#include "ReplayGainTags.h"

#include "ApeTag.h"
#include "Id3v2Frames.h"
#include "tags/MpegLayout.h"

#include <QIODevice>

#include <array>
#include <cmath>
#include <vector>

namespace velunor::tags {

namespace {

using id3v2::Frame;

constexpr int kFields = 4;
constexpr std::array<const char *, kFields> kKeys = {
    "REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_TRACK_PEAK", "REPLAYGAIN_ALBUM_GAIN",
    "REPLAYGAIN_ALBUM_PEAK"};
constexpr int kTrackGain = 0, kAlbumGain = 2;

// The field that `key` names, in any case; none for any other key.
std::optional<int> FieldNamed(const QString &key)
{
    for (int field = 0; field < kFields; ++field)
        if (key.compare(QLatin1String(kKeys[field]), Qt::CaseInsensitive) == 0)
            return field;
    return std::nullopt;
}

std::optional<double> ValueOf(const ReplayGainValues &values, int field)
{
    const std::array<std::optional<double>, kFields> all = {values.trackGainDb, values.trackPeak,
                                                            values.albumGainDb, values.albumPeak};
    return all[size_t(field)];
}

// The text that `field` takes; none when `values` lack it.
std::optional<QString> TextOf(const ReplayGainValues &values, int field)
{
    const std::optional<double> value = ValueOf(values, field);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return field % 2 == 0 ? ReplayGainText(*value) : ReplayPeakText(*value);
}

// A frame of ID3v2 tag that holds ReplayGain values, read.
struct GainFrame {
    enum class Form { UserText, Rva2 };
    Form form = Form::UserText;
    int field = 0;             // user text: the one it holds
    bool album = false;        // RVA2: the album's rather than the track's
    int encoding = 0;          // user text: of its description and value
    QByteArray description;    // user text: as stored, terminator included
    QString descriptionText;   // user text
    QByteArray identification; // RVA2, without terminator
};

// What `frame` holds of ReplayGain; none for any other frame, or one that
// cannot be read (encrypted).
std::optional<GainFrame> ReadGainFrame(const Frame &frame, int version)
{
    const bool userText = frame.id == "TXXX" || frame.id == "TXX";
    if (!userText && frame.id != "RVA2")
        return std::nullopt;
    // Players read compressed frames too: a value in one must not stay.
    constexpr qint64 kMostContent = 64 * 1024;
    const std::optional<QByteArray> content = id3v2::InflatedContent(frame, version, kMostContent);
    if (!content || content->isEmpty())
        return std::nullopt;
    GainFrame gain;
    if (!userText) {
        gain.form = GainFrame::Form::Rva2;
        const qsizetype end = content->indexOf('\0');
        gain.identification = end < 0 ? *content : content->left(end);
        gain.album = QString::fromLatin1(gain.identification)
                         .compare(QLatin1String("album"), Qt::CaseInsensitive) == 0;
        return gain;
    }
    gain.encoding = uchar(content->at(0));
    const QByteArrayView text = QByteArrayView(*content).sliced(1);
    const std::optional<QString> description = id3v2::TextUpToTerminator(gain.encoding, text);
    const std::optional<int> field = description ? FieldNamed(*description) : std::nullopt;
    if (!field)
        return std::nullopt;
    gain.field = *field;
    gain.descriptionText = *description;
    const std::optional<QByteArrayView> value = id3v2::AfterTerminator(gain.encoding, text);
    if (value) {
        gain.description = text.first(text.size() - value->size()).toByteArray();
        return gain;
    }
    // Cut short before its terminator: a UTF-16 description keeps whole
    // characters only, so that the terminator added reads as one again.
    gain.description = text.toByteArray();
    if ((gain.encoding == 1 || gain.encoding == 2) && gain.description.size() % 2 != 0)
        gain.description.chop(1);
    gain.description += id3v2::Terminator(gain.encoding);
    return gain;
}

QByteArray UserTextContent(int encoding, const QByteArray &description, const QString &value)
{
    return char(encoding) + description + id3v2::EncodedText(encoding, value);
}

// An RVA2 frame's content: the identification, and a master volume
// adjustment of `gainDb` with `peak`.
QByteArray Rva2Content(const QByteArray &identification, double gainDb, std::optional<double> peak)
{
    constexpr char kMasterVolume = 1;
    const auto adjustment = qint16(std::clamp(std::round(gainDb * 512), -32768.0, 32767.0));
    QByteArray content = identification + '\0' + kMasterVolume + char(quint16(adjustment) >> 8) +
                         char(quint16(adjustment) & 0xFF);
    if (!peak || !std::isfinite(*peak) || *peak < 0)
        return content + '\0';
    const auto peakValue = quint16(std::min(std::round(*peak * 32768), 65535.0));
    return content + char(16) + char(peakValue >> 8) + char(peakValue & 0xFF);
}

} // namespace

QString ReplayGainText(double gainDb)
{
    return QString::asprintf("%+.2f dB", gainDb);
}

QString ReplayPeakText(double peak)
{
    return QString::asprintf("%.6f", peak);
}

ReplayGainForms &ReplayGainForms::operator|=(const ReplayGainForms &other)
{
    id3v2UserText = id3v2UserText || other.id3v2UserText;
    id3v2Rva2 = id3v2Rva2 || other.id3v2Rva2;
    apeReplayGain = apeReplayGain || other.apeReplayGain;
    apeMp3Gain = apeMp3Gain || other.apeMp3Gain;
    return *this;
}

ReplayGainForms ReplayGainFormsInId3v2(const QByteArray &tag)
{
    ReplayGainForms forms;
    const id3v2::TagBody read(tag);
    qint64 position = read.framesStart();
    while (const std::optional<Frame> frame = read.frameAt(position)) {
        if (const std::optional<GainFrame> gain = ReadGainFrame(*frame, read.version())) {
            forms.id3v2UserText = forms.id3v2UserText || gain->form == GainFrame::Form::UserText;
            forms.id3v2Rva2 = forms.id3v2Rva2 || gain->form == GainFrame::Form::Rva2;
        }
        position += frame->bytes.size();
    }
    return forms;
}

ReplayGainForms ReplayGainFormsInApe(const QByteArray &tag)
{
    ReplayGainForms forms;
    if (const std::optional<ape::Tag> read = ape::ReadTag(tag)) {
        for (const ape::Item &item : read->items) {
            const QString key = QString::fromLatin1(item.key);
            forms.apeReplayGain = forms.apeReplayGain || FieldNamed(key).has_value();
            forms.apeMp3Gain =
                forms.apeMp3Gain || key.startsWith(QLatin1String("MP3GAIN_"), Qt::CaseInsensitive);
        }
    }
    return forms;
}

std::optional<ReplayGainForms> ReplayGainFormsInFile(QIODevice &file)
{
    const std::optional<TagsOfFile> tags = ReadTagsOfFile(file);
    if (!tags)
        return std::nullopt;
    ReplayGainForms forms;
    for (const QByteArray &tag : tags->id3v2)
        forms |= ReplayGainFormsInId3v2(tag);
    for (const QByteArray &tag : tags->ape)
        forms |= ReplayGainFormsInApe(tag);
    return forms;
}

QByteArray Id3v2WithReplayGain(const QByteArray &tag, const ReplayGainValues &values)
{
    const ReplayGainForms used = ReplayGainFormsInId3v2(tag);
    if (!used.id3v2UserText && !used.id3v2Rva2)
        return id3v2::TagBody(tag).kind() == id3v2::TagBody::Kind::NotATag ? QByteArray() : tag;

    std::array<bool, kFields> written{};
    std::array<bool, 2> rva2Written{}; // track, album
    std::optional<QString> firstDescription;
    size_t insertAt = 0; // after the last ReplayGain frame
    const auto rva2 = [&](const QByteArray &identification, bool album, int version) {
        const int gainField = album ? kAlbumGain : kTrackGain;
        const std::optional<double> gainDb = ValueOf(values, gainField);
        if (rva2Written[album] || !gainDb || !std::isfinite(*gainDb))
            return QByteArray();
        rva2Written[album] = true;
        return id3v2::MakeFrame(
            version, "RVA2", Rva2Content(identification, *gainDb, ValueOf(values, gainField + 1)));
    };
    const auto userText = [&](int field, int encoding, const QByteArray &description,
                              QByteArrayView id, int version) {
        const std::optional<QString> text = TextOf(values, field);
        if (written[size_t(field)] || !text)
            return QByteArray();
        written[size_t(field)] = true;
        return id3v2::MakeFrame(version, id, UserTextContent(encoding, description, *text));
    };

    const auto edit = [&](const Frame &frame, int version, std::vector<QByteArray> &made) {
        const std::optional<GainFrame> gain = ReadGainFrame(frame, version);
        QByteArray kept = frame.bytes.toByteArray();
        if (gain && gain->form == GainFrame::Form::UserText) {
            firstDescription = firstDescription.value_or(gain->descriptionText);
            kept = userText(gain->field, gain->encoding, gain->description, frame.id, version);
        } else if (gain) {
            kept = rva2(gain->identification, gain->album, version);
        }
        if (!kept.isEmpty())
            made.push_back(kept);
        if (gain)
            insertAt = made.size();
    };
    const auto finish = [&](int version, std::vector<QByteArray> &made, qint64 room) {
        QByteArray added;
        const bool lowerCase = firstDescription && *firstDescription == firstDescription->toLower();
        for (int field = 0; field < kFields && used.id3v2UserText; ++field) {
            const QByteArray key = QByteArray(kKeys[size_t(field)]);
            added += userText(field, 0, (lowerCase ? key.toLower() : key) + '\0',
                              version == 2 ? "TXX" : "TXXX", version);
        }
        for (const bool album : {false, true})
            if (used.id3v2Rva2)
                added += rva2(album ? "album" : "track", album, version);
        if (!added.isEmpty() && added.size() <= room)
            made.insert(made.begin() + qsizetype(std::min(insertAt, made.size())), added);
    };
    return id3v2::EditedTag(tag, edit, finish, id3v2::Footer::AsItWas);
}

QByteArray ApeWithReplayGain(const QByteArray &tag, const ReplayGainValues &values)
{
    std::optional<ape::Tag> read = ape::ReadTag(tag);
    if (!read)
        return {};
    constexpr quint32 kItemType = 0x6; // 0: UTF-8 text
    std::vector<ape::Item> items;
    std::array<bool, kFields> written{};
    bool changed = false, usedReplayGain = false;
    size_t insertAt = 0;
    for (const ape::Item &item : read->items) {
        const QString key = QString::fromLatin1(item.key);
        const std::optional<int> field = FieldNamed(key);
        if (!field) {
            if (key.startsWith(QLatin1String("MP3GAIN_"), Qt::CaseInsensitive))
                changed = true;
            else
                items.push_back(item);
            continue;
        }
        changed = usedReplayGain = true;
        const std::optional<QString> text = TextOf(values, *field);
        if (text && !written[size_t(*field)]) {
            items.push_back({item.key, item.flags & ~kItemType, text->toUtf8()});
            written[size_t(*field)] = true;
        }
        insertAt = items.size();
    }
    if (!changed)
        return tag;
    if (usedReplayGain) {
        std::vector<ape::Item> added;
        for (int field = 0; field < kFields; ++field)
            if (const std::optional<QString> text = TextOf(values, field);
                text && !written[size_t(field)])
                added.push_back({kKeys[field], 0, text->toUtf8()});
        items.insert(items.begin() + qsizetype(insertAt), added.begin(), added.end());
    }
    if (items.empty())
        return {};
    read->items = std::move(items);
    return ape::WriteTag(*read);
}

} // namespace velunor::tags
