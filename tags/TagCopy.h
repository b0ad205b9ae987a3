#pragma once

#include "platform/Path.h"
#include "platform/Result.h"
#include "tags/ReplayGainTags.h"

#include <QString>

#include <atomic>
#include <functional>

namespace velunor::tags {

// Gives the path of a new, empty file that the caller made and owns (and
// later fsyncs and renames) for the tagged copy, or why it cannot make one.
// Asked only when the converted file must be written again, which most files
// of a run never need.
using TaggedFile = std::function<Expected<Path>()>;

// Gives the ReplayGain values of the converted audio, for tags that carry
// values in `forms`; a value it cannot give is none.
using ReplayGainOfNewAudio = std::function<ReplayGainValues(const ReplayGainForms &forms)>;

// Writes the converted audio of `convertedPath` with the tags of `inputPath`
// into the file that `taggedFile` gives; true when it wrote it, false when
// the converted file needed no change. Checks `cancel` between blocks; a
// cancelled copy is a failure. A write that failed carries its errno value.
//
// The output gets the input's ID3v2 tag with all of its frames in the
// input's own ID3v2 version (2.3 stays 2.3, 2.4 stays 2.4), and the APE,
// Lyrics3 and ID3v1 tags, each only when the input has it, in its order.
// TLEN is set to `outputLengthMs` when the input had TLEN; frames that point
// into the old audio by byte offsets (MLLT, ASPI, SEEK, and the 2.3 TSIZ) and
// the old encoding's gapless and loudness figures are dropped. A damaged
// ID3v2 tag gives what could be read of it, and never a problem.
//
// The ReplayGain values of the copied ID3v2 and APE tags describe the old
// audio: when they hold any, every one of them takes what `replayGain`
// gives for the new audio, in the form and version the tag used (see
// Id3v2WithReplayGain and ApeWithReplayGain); a value it does not give, and
// every value when there is no `replayGain`, is removed rather than copied.
//
// An ID3v2 tag appended at the end of the input (found by its footer) moves
// to the front of the output when the input has no ID3v2 tag at its start.
// When it has both, both stay where they are (each made fit for the new
// audio), so that whatever a reader finds in either is still there.
//
// An input without any of these (FLAC, Ogg, WAV, ...) gives the output its
// own tags as an ID3v2.4 tag (see ForeignTagsAsId3v24), or, when it has none,
// no tag at all (SoX writes a small tag of its own, which must go): when the
// converted file has none either, nothing is written. The audio frames of
// the converted file are copied unchanged. A disk that fills up is told as
// such ("the tags could not be written (No space left on device)").
// Reentrant.
Expected<bool> CopyTags(const Path &inputPath, const Path &convertedPath,
                        const TaggedFile &taggedFile, qint64 outputLengthMs,
                        const std::atomic<bool> *cancel = nullptr,
                        const ReplayGainOfNewAudio &replayGain = {});

} // namespace velunor::tags
