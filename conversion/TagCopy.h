#pragma once

#include <QString>

#include <atomic>

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
// Writes the result into `taggedPath`, an existing empty file that the
// caller owns, puts in place and writes through to the disk. `cancel` is
// looked at between blocks. Reentrant.
struct TagCopyResult {
    QString problem;      // "" on success, otherwise the reason in words
    bool written = false; // false: the output needed no change, taggedPath is untouched
};
TagCopyResult CopyTags(const QString &inputPath, const QString &outputPath,
                       const QString &taggedPath, qint64 outputLengthMs,
                       const std::atomic<bool> *cancel = nullptr);

} // namespace velunor
