#pragma once

#include <QtGlobal>

#include <atomic>

class QByteArray;
class QIODevice;

namespace velunor::platform {

// How a copy of bytes from one file to another ended.
struct ByteCopyEnd {
    enum class Kind { Copied, Unreadable, Unwritable, Cancelled };
    Kind kind = Kind::Copied;
    int writeError = 0; // the errno value of the write that failed
};

// Writes all of `bytes` to the file open at `fd`. A write that stops short
// (the disk filled up part way) is tried again for the rest, so that the
// error it then meets is the one told. Returns 0 or the errno value.
int WriteAll(int fd, const char *bytes, qint64 size);
int WriteAll(int fd, const QByteArray &bytes);

// Copies the bytes [`begin`, `end`) of `from` (open for reading, seekable)
// to where the file open at `toFd` stands, in blocks of a megabyte, looking
// at `cancel` before every block. `from`'s errorString() tells a read that
// failed. Reentrant.
ByteCopyEnd CopyBytes(QIODevice &from, qint64 begin, qint64 end, int toFd,
                      const std::atomic<bool> *cancel = nullptr);

} // namespace velunor::platform
