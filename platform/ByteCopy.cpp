#include "platform/ByteCopy.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace velunor::platform {

namespace {
constexpr qint64 kCopyBlockSize = 1024 * 1024;
} // namespace

int WriteAll(int fd, const char *bytes, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes += written;
        size -= written;
    }
    return 0;
}

int WriteAll(int fd, const QByteArray &bytes)
{
    return WriteAll(fd, bytes.constData(), bytes.size());
}

ByteCopyEnd CopyBytes(QIODevice &from, qint64 begin, qint64 end, int toFd,
                      const std::atomic<bool> *cancel)
{
    using Kind = ByteCopyEnd::Kind;
    if (!from.seek(begin))
        return {Kind::Unreadable};
    QByteArray block(std::min(kCopyBlockSize, std::max<qint64>(end - begin, 0)), Qt::Uninitialized);
    for (qint64 offset = begin; offset < end; offset += kCopyBlockSize) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {Kind::Cancelled};
        const qint64 count = std::min(kCopyBlockSize, end - offset);
        if (from.read(block.data(), count) != count)
            return {Kind::Unreadable};
        if (const int error = WriteAll(toFd, block.constData(), count); error != 0)
            return {Kind::Unwritable, error};
    }
    return {Kind::Copied};
}

} // namespace velunor::platform
