#pragma once

#include <QString>

namespace velunor {

// Replaces every tag of the MP3 file `outputPath` with the tags of
// `inputPath`: the ID3v2 tag with all of its frames in the input's own ID3v2
// version (2.3 stays 2.3, 2.4 stays 2.4), the ID3v1 tag and the APE tag (and
// Lyrics3), each only when the input has it. TLEN is set to `outputLengthMs`
// when the input had TLEN; frames that point into the old audio by byte
// offsets (MLLT, ASPI, SEEK, and the 2.3 TSIZ) are dropped. An input without
// any of these (FLAC, Ogg, WAV, ...) gives the output its own tags as an
// ID3v2.4 tag (see ForeignTagsAsId3v24), or, when it has none, no tag at all
// (SoX writes a small tag of its own, which must go). The audio frames of the
// output are not changed.
//
// The new file replaces the output in one step once it is complete, so on
// failure the output is still the one SoX wrote. Returns "" on success,
// otherwise the reason in words (for example "the tags could not be written
// (No space left on device)"). Reentrant.
QString CopyTags(const QString &inputPath, const QString &outputPath, qint64 outputLengthMs);

} // namespace velunor
