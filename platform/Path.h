#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace velunor {

// A file's path as the kernel gives it and takes it: bytes, with no encoding
// assumed. Names from old rips, FAT copies and zip archives need not be
// UTF-8, and a path that went through text could no longer be opened, so
// every path that reaches the disk is one of these, from the folder search,
// the command line, a drop or a dialog to the converter's argument list and
// the output's name.
//
// People see a path as text(): UTF-8 decoded, with each byte that does not
// decode, and each control character, written as "\xHH" (two upper-case hex
// digits), so that nothing is hidden and no two paths look alike. A "\" that
// would be read as the start of such an escape is itself written "\x5C".
// FromText() reads that form back, so a shown path can be typed again.
class Path {
public:
    Path() = default;

    static Path FromBytes(QByteArray bytes);
    static Path FromBytes(const char *bytes) { return FromBytes(QByteArray(bytes)); }
    // A path a person wrote, or one shown by text(): "\xHH" stands for the
    // byte HH, everything else is encoded as UTF-8.
    static Path FromText(QStringView text);
    // The paths of several texts, each read by FromText().
    static QList<Path> FromTexts(const QStringList &texts);

    const QByteArray &bytes() const { return bytes_; }
    // For system calls; always terminated.
    const char *c_str() const { return bytes_.constData(); }
    bool isEmpty() const { return bytes_.isEmpty(); }
    bool isAbsolute() const { return bytes_.startsWith('/'); }
    bool endsWithSeparator() const { return bytes_.endsWith('/'); }
    qsizetype size() const { return bytes_.size(); }

    // The path for people, see above.
    QString text() const;

    // The bytes after the last "/", or the whole path when it has none.
    Path fileName() const;
    // The folder part as written ("/x//sox" gives "/x/"): the bytes before
    // the last "/", "/" for a file in the root folder, and empty when the
    // path has no "/".
    Path folder() const;
    // The file name without its last extension: "a.b.mp3" gives "a.b"; a
    // name without a dot is its own stem.
    Path stem() const;
    // The path ending in one "/", ready for a name to follow.
    Path withSeparator() const;
    // This folder, a "/" when it does not end with one, and `name`.
    Path child(const Path &name) const;
    Path child(QByteArrayView name) const;
    // The path with `suffix` appended as it is (".mp3").
    Path withSuffix(QByteArrayView suffix) const;
    // The path with every run of "/" made one.
    Path collapsed() const;
    // True when this path is `folder` itself or lies below it, by the
    // bytes (both absolute and without "." or ".." parts).
    bool isWithin(const Path &folder) const;

    friend bool operator==(const Path &a, const Path &b) { return a.bytes_ == b.bytes_; }
    friend bool operator!=(const Path &a, const Path &b) { return a.bytes_ != b.bytes_; }
    friend bool operator<(const Path &a, const Path &b) { return a.bytes_ < b.bytes_; }

private:
    explicit Path(QByteArray bytes) : bytes_(std::move(bytes)) {}

    QByteArray bytes_;
};

size_t qHash(const Path &path, size_t seed = 0) noexcept;

// The shown form of any bytes, as Path::text() shows a path.
QString ShownText(QByteArrayView bytes);
// The bytes a shown form stands for, as Path::FromText() reads it.
QByteArray BytesOfShownText(QStringView text);
// `bytes` with each byte that is not part of a well-formed UTF-8 sequence
// made `replacement`.
QByteArray WithUndecodableBytesReplaced(QByteArrayView bytes, char replacement);

} // namespace velunor
