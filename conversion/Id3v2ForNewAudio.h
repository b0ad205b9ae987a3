#pragma once

#include <QByteArray>

namespace velunor {

// The ID3v2 tag `tag` (as it sits at the start of a file: header, frames,
// padding, footer) made fit for the same recording with new audio: every frame
// keeps its bytes, in its order, in the tag's own version, except that TLEN
// says `audioLengthMs`, and MLLT, ASPI, SEEK and TSIZ, which point into the
// old audio by byte offsets, are left out. Empty when `tag` is no ID3v2 tag.
QByteArray Id3v2ForNewAudio(const QByteArray &tag, qint64 audioLengthMs);

} // namespace velunor
