#pragma once

#include <QtGlobal>

#include <atomic>

class QIODevice;

namespace velunor {

// How a copy of bytes from one file to another ended.
enum class ByteCopyEnd { Copied, Unreadable, Unwritable, Cancelled };

// Writes all of `bytes` to `to`. A write that stops short (the disk filled up
// part way) is tried again for the rest, so that the error it then meets is
// the one `to` tells. False when a write fails.
bool WriteAll(QIODevice &to, const char *bytes, qint64 size);
bool WriteAll(QIODevice &to, const QByteArray &bytes);

// Copies the bytes [`begin`, `end`) of `from` (open for reading, seekable)
// to where `to` stands, in blocks of a megabyte, looking at `cancel` before
// every block. The devices' errorString() tell what failed. Reentrant.
ByteCopyEnd CopyBytes(QIODevice &from, qint64 begin, qint64 end, QIODevice &to,
                      const std::atomic<bool> *cancel = nullptr);

} // namespace velunor
