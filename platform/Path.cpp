#include "platform/Path.h"

#include <QHashFunctions>

namespace velunor {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int HexValue(char16_t c)
{
    if (c <= u'9')
        return c - u'0';
    return (c | 0x20) - u'a' + 10;
}

void AppendEscaped(QString &text, unsigned char byte)
{
    text += u'\\';
    text += u'x';
    text += QChar(kHexDigits[byte >> 4]);
    text += QChar(kHexDigits[byte & 0xF]);
}

// Control characters would break a line of output or hide in it.
bool IsControl(char32_t code)
{
    return code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

// The length of the well-formed UTF-8 sequence at `at` and its code point;
// 0 when the bytes there are not one (overlong forms and surrogates
// included, as a decoder must refuse them).
int DecodeOne(QByteArrayView bytes, qsizetype at, char32_t &code)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// A "\" is read as an escape when "x" and two hex digits follow it.
bool StartsEscape(QStringView text, qsizetype at)
{
    return text[at] == u'\\' && at + 3 < text.size() && text[at + 1] == u'x' &&
           IsHexDigit(text[at + 2].unicode()) && IsHexDigit(text[at + 3].unicode());
}

// The same test on raw bytes, before they are shown: "x" and two hex digits
// are plain ASCII, which is shown as it is.
bool BytesStartEscape(QByteArrayView bytes, qsizetype at)
{
    return bytes[at] == '\\' && at + 3 < bytes.size() && bytes[at + 1] == 'x' &&
           IsHexDigit(static_cast<unsigned char>(bytes[at + 2])) &&
           IsHexDigit(static_cast<unsigned char>(bytes[at + 3]));
}

} // namespace

QString ShownText(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = DecodeOne(bytes, at, code);
        if (length == 0 || IsControl(code) || (code == u'\\' && BytesStartEscape(bytes, at))) {
            // Each byte of the sequence on its own: a two-byte control
            // character (U+0080 to U+009F) shows both of its bytes.
            const int escaped = length == 0 ? 1 : length;
            for (int i = 0; i < escaped; ++i)
                AppendEscaped(text, static_cast<unsigned char>(bytes[at + i]));
            at += escaped;
            continue;
        }
        if (code < 0x10000) {
            text += QChar(static_cast<char16_t>(code));
        } else {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        }
        at += length;
    }
    return text;
}

QByteArray BytesOfShownText(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype to) {
        if (to > plainFrom)
            bytes += text.mid(plainFrom, to - plainFrom).toUtf8();
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!StartsEscape(text, at))
            continue;
        flushPlain(at);
        bytes += static_cast<char>(HexValue(text[at + 2].unicode()) * 16 +
                                   HexValue(text[at + 3].unicode()));
        at += 3;
        plainFrom = at + 1;
    }
    flushPlain(text.size());
    return bytes;
}

QByteArray WithUndecodableBytesReplaced(QByteArrayView bytes, char replacement)
{
    QByteArray kept = bytes.toByteArray();
    for (qsizetype at = 0; at < kept.size();) {
        char32_t code = 0;
        const int length = DecodeOne(kept, at, code);
        if (length == 0)
            kept[at++] = replacement;
        else
            at += length;
    }
    return kept;
}

Path Path::FromBytes(QByteArray bytes)
{
    return Path(std::move(bytes));
}

Path Path::FromText(QStringView text)
{
    return Path(BytesOfShownText(text));
}

QList<Path> Path::FromTexts(const QStringList &texts)
{
    QList<Path> paths;
    paths.reserve(texts.size());
    for (const QString &text : texts)
        paths.append(FromText(text));
    return paths;
}

QString Path::text() const
{
    return ShownText(bytes_);
}

Path Path::fileName() const
{
    return Path(bytes_.mid(bytes_.lastIndexOf('/') + 1));
}

Path Path::folder() const
{
    const qsizetype slash = bytes_.lastIndexOf('/');
    if (slash < 0)
        return Path();
    return Path(slash == 0 ? QByteArray("/") : bytes_.left(slash));
}

Path Path::stem() const
{
    const QByteArray name = bytes_.mid(bytes_.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return Path(dot < 0 ? name : name.left(dot));
}

Path Path::withSeparator() const
{
    return endsWithSeparator() ? *this : Path(bytes_ + '/');
}

Path Path::child(const Path &name) const
{
    return child(QByteArrayView(name.bytes_));
}

Path Path::child(QByteArrayView name) const
{
    QByteArray joined = withSeparator().bytes_;
    joined.append(name);
    return Path(std::move(joined));
}

Path Path::withSuffix(QByteArrayView suffix) const
{
    QByteArray joined = bytes_;
    joined.append(suffix);
    return Path(std::move(joined));
}

Path Path::collapsed() const
{
    if (!bytes_.contains("//"))
        return *this;
    QByteArray kept;
    kept.reserve(bytes_.size());
    for (const char c : bytes_)
        if (c != '/' || !kept.endsWith('/'))
            kept += c;
    return Path(std::move(kept));
}

bool Path::isWithin(const Path &folder) const
{
    const QByteArray base = folder.collapsed().bytes_;
    const QByteArray own = collapsed().bytes_;
    if (base == "/")
        return own.startsWith('/');
    const QByteArray trimmed = base.endsWith('/') ? base.chopped(1) : base;
    return own == trimmed || own.startsWith(trimmed + '/');
}

size_t qHash(const Path &path, size_t seed) noexcept
{
    return qHash(path.bytes(), seed);
}

} // namespace velunor
