#include "ByteCopy.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

namespace velunor {

namespace {
constexpr qint64 kCopyBlockSize = 1024 * 1024;
} // namespace

bool WriteAll(QIODevice &to, const char *bytes, qint64 size)
{
    while (size > 0) {
        const qint64 written = to.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool WriteAll(QIODevice &to, const QByteArray &bytes)
{
    return WriteAll(to, bytes.constData(), bytes.size());
}

ByteCopyEnd CopyBytes(QIODevice &from, qint64 begin, qint64 end, QIODevice &to,
                      const std::atomic<bool> *cancel)
{
    if (!from.seek(begin))
        return ByteCopyEnd::Unreadable;
    QByteArray block(std::min(kCopyBlockSize, std::max<qint64>(end - begin, 0)), Qt::Uninitialized);
    for (qint64 offset = begin; offset < end; offset += kCopyBlockSize) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return ByteCopyEnd::Cancelled;
        const qint64 count = std::min(kCopyBlockSize, end - offset);
        if (from.read(block.data(), count) != count)
            return ByteCopyEnd::Unreadable;
        if (!WriteAll(to, block.constData(), count))
            return ByteCopyEnd::Unwritable;
    }
    return ByteCopyEnd::Copied;
}

} // namespace velunor
