#pragma once

#include "platform/Result.h"

#include <atomic>

class QIODevice;

namespace velunor::tags {

// Copies the MPEG audio of `input` (open for reading, seekable): every byte
// between its tags at the start and at the end, as ReadMpegLayout finds
// them, unchanged (an encoder's Xing or LAME frame included, which still
// describes this audio), to `outputFd` where it stands. So an input that is
// already mono becomes its own output without being encoded again; its tags
// are the tag copy's to write. `outputFd` stays open. Looks at `cancel`
// before every megabyte. A failure tells why, in words, with the errno value
// of a write that failed. Reentrant.
Done CopyMpegAudio(QIODevice &input, int outputFd, const std::atomic<bool> *cancel = nullptr);

} // namespace velunor::tags
