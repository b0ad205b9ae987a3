#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <QByteArray>

namespace velunor::tags {

// The tags of a file that keeps them in a format of its own (FLAC and Ogg
// comments, the ID3 and INFO chunks of WAV and AIFF, APE tags of WavPack and
// Monkey's Audio files, and whatever else TagLib reads) as one complete
// ID3v2.4 tag for an MP3 made from it: header and frames, no padding, all
// text in UTF-8.
//
// The usual fields get their usual frames (title TIT2, artist TPE1, album
// TALB, album artist TPE2, composer TCOM, date TDRC, genre TCON, comment
// COMM, lyrics USLT, and the others TagLib knows a frame for); track and disc
// numbers carry their totals ("3/12"); a field with several values keeps them
// all; any other field becomes a TXXX frame named after it. Pictures become
// APIC frames with their type, MIME type and description. Left out are
// fields that describe the old audio rather than the recording: its length,
// channel layout, loudness and gapless data (ReplayGain, R128, iTunNORM,
// iTunSMPB, ...), all wrong for the new audio.
//
// Empty when the file cannot be read or holds no tags TagLib reads, and for
// a file that starts with an MPEG audio frame (an MP3 without ID3v2 tag,
// whose other tags are copied as they are), which its first four bytes tell
// without TagLib. Only the tags are read, never the audio; a damaged file
// gives what TagLib still finds in it, or nothing. A failure only when the
// part of the program that reads these tags cannot be loaded. Reentrant.
Expected<QByteArray> ForeignTagsAsId3v24(const Path &inputPath);

} // namespace velunor::tags
