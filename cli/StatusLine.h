#pragma once

#include "conversion/ConversionJob.h" // RunProgress

#include <QString>

#include <optional>

namespace velunor::cli {

// The run's one line on a terminal: a bar, the percentage, the files done of
// all, the time left once it can be told, and the name of the file at work,
// as in
//   [########------------]  42%  5/12 files  3:10 left  song.mp3
// It never takes more than `columns` - 1 columns, so that the terminal never
// wraps it and a carriage return always reaches its start: the file's name is
// cut first (keeping its end), then the bar goes.
QString StatusLine(const conversion::RunProgress &progress, int filesDone, int filesTotal,
                   int columns);

// The columns a text takes on a terminal: two for the wide characters of East
// Asian scripts and for characters outside the basic plane, one for others.
int DisplayWidth(const QString &text);

} // namespace velunor::cli
