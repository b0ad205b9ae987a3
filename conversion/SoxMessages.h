#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velunor::conversion {

// What SoX's error output says. SoX starts each of its lines with the path
// it was started by and a level, "/usr/bin/sox WARN " or "sox FAIL ", then
// the part of it that speaks and a colon.

// The samples that SoX says it clipped, summed over every line that tells
// of clipping:
//   sox WARN sox: `in.wav' input clipped 47200 samples
//   sox WARN remix: remix clipped 7999 samples; decrease volume?
//   sox WARN vol: vol clipped 15998 samples; decrease volume?
//   sox WARN dither: dither clipped 13979 samples; decrease volume?
//   sox WARN sox: `out.wav' output clipped 7999 samples; decrease volume?
// Each stage counts on its own, so a sample that an effect clipped and the
// writing of the output clipped again counts twice (SoX 14.4.2 says both for
// `remix -m 1,2` into a WAV file; into an MP3 file it never told of output
// clipping). Mixing by `-c 1` averages the channels and never clips. Only the
// end of a line is read, so a file name in it that looks like a count is not
// taken for one. None when no line tells of clipping.
std::optional<qint64> ClippedSamples(const QByteArray &errorOutput);

// SoX's own reason for failing: the message of its last FAIL line, without
// SoX's path and level ("remix: too few input channels" for `remix 2` on a
// mono input); the last line holding anything (LastErrorLine) when no line
// is a FAIL line; "" when there is no line. Trimmed, at most 300 characters.
QString SoxFailure(const QByteArray &errorOutput);

} // namespace velunor::conversion
