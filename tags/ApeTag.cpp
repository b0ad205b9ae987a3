#include "ApeTag.h"

#include <algorithm>

namespace velunor::tags::ape {

namespace {

constexpr quint32 kHasHeader = 0x80000000u;
constexpr quint32 kIsHeader = 0x20000000u;
constexpr qint64 kItemHeadSize = 8; // value size, flags
constexpr qint64 kLongestKey = 255;

quint32 LittleEndian32(QByteArrayView bytes, qint64 at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

QByteArray LittleEndianBytes(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

bool IsKey(QByteArrayView key)
{
    return key.size() >= 2 && key.size() <= kLongestKey &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

QByteArray HeaderOrFooter(const Tag &tag, qint64 itemsSize, bool header)
{
    return QByteArray("APETAGEX") + LittleEndianBytes(tag.version) +
           LittleEndianBytes(quint32(itemsSize + kFooterSize)) +
           LittleEndianBytes(quint32(tag.items.size())) +
           LittleEndianBytes(header ? tag.flags | kIsHeader : tag.flags & ~kIsHeader) +
           QByteArray(8, '\0');
}

} // namespace

std::optional<Tag> ReadTag(QByteArrayView bytes)
{
    if (bytes.size() < kFooterSize)
        return std::nullopt;
    const QByteArrayView footer = bytes.last(kFooterSize);
    if (!footer.startsWith("APETAGEX"))
        return std::nullopt;
    Tag tag;
    tag.version = LittleEndian32(footer, 8);
    const qint64 itemsAndFooter = LittleEndian32(footer, 12);
    const qint64 count = LittleEndian32(footer, 16);
    tag.flags = LittleEndian32(footer, 20);
    tag.hasHeader = tag.flags & kHasHeader;
    const qint64 headerSize = tag.hasHeader ? kFooterSize : 0;
    if (itemsAndFooter < kFooterSize || itemsAndFooter + headerSize > bytes.size())
        return std::nullopt;

    const QByteArrayView items =
        bytes.sliced(bytes.size() - itemsAndFooter, itemsAndFooter - kFooterSize);
    qint64 position = 0;
    while (qint64(tag.items.size()) < count && items.size() - position >= kItemHeadSize) {
        const qint64 valueSize = LittleEndian32(items, position);
        const quint32 flags = LittleEndian32(items, position + kItemHeadSize - 4);
        const qint64 keyStart = position + kItemHeadSize;
        const qsizetype keyEnd = items.indexOf('\0', keyStart);
        if (keyEnd < 0 || !IsKey(items.sliced(keyStart, keyEnd - keyStart)) ||
            valueSize > items.size() - keyEnd - 1)
            break;
        tag.items.push_back({items.sliced(keyStart, keyEnd - keyStart).toByteArray(), flags,
                             items.sliced(keyEnd + 1, valueSize).toByteArray()});
        position = keyEnd + 1 + valueSize;
    }
    return tag;
}

QByteArray WriteTag(const Tag &tag)
{
    QByteArray items;
    for (const Item &item : tag.items)
        items += LittleEndianBytes(quint32(item.value.size())) + LittleEndianBytes(item.flags) +
                 item.key + '\0' + item.value;
    QByteArray bytes;
    if (tag.hasHeader)
        bytes += HeaderOrFooter(tag, items.size(), true);
    return bytes + items + HeaderOrFooter(tag, items.size(), false);
}

} // namespace velunor::tags::ape
