#pragma once

#include <QString>

namespace velunor {

// Where the converted copy of `inputPath` goes: the output folder, a "/"
// when the folder text does not end with one, the input's name without its
// last extension (a name without a dot is kept whole), and ".mp3".
QString OutputPathFor(const QString &outputFolder, const QString &inputPath);

// True when both paths name one and the same existing file, whatever links,
// "." or ".." lead to it.
bool IsSameFile(const QString &first, const QString &second);

} // namespace velunor
