#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

// Reading and writing APE tags (versions 1 and 2) as bytes. The tag comes
// from the user's file and may be damaged in any way: every size is taken in
// 64 bits and checked against the bytes that are there.
namespace velunor::tags::ape {

constexpr qint64 kFooterSize = 32; // and the size of a header

// One item: a key and its value, text (UTF-8) or binary as its flags say.
struct Item {
    QByteArray key; // 2 to 255 printable ASCII characters
    quint32 flags = 0;
    QByteArray value;

    bool operator==(const Item &) const = default;
};

struct Tag {
    quint32 version = 2000; // 1000 for version 1
    quint32 flags = 0;      // of the footer
    bool hasHeader = false;
    std::vector<Item> items;
};

// The APE tag whose footer takes the last 32 bytes of `bytes` (and whose
// header, where the footer announces one, stands before its items). The
// items read before one that does not fit, or before the count the footer
// gives; none when there is no such footer or the sizes it gives do not fit
// into `bytes`.
std::optional<Tag> ReadTag(QByteArrayView bytes);

// `tag` as bytes: a header when it has one, the items, the footer, with
// the sizes and count of these items.
QByteArray WriteTag(const Tag &tag);

} // namespace velunor::tags::ape
