#pragma once

#include <QString>
#include <QStringList>

#include <set>
#include <sys/types.h>
#include <utility>

namespace velunor {

// Where the converted copy of `inputPath` goes: the output folder, a "/"
// when the folder text does not end with one, the input's name without its
// last extension (a name without a dot is kept whole), and ".mp3".
QString OutputPathFor(const QString &outputFolder, const QString &inputPath);

// True when both paths name one and the same existing file, whatever links,
// "." or ".." lead to it.
bool IsSameFile(const QString &first, const QString &second);

// The files a list names, told apart by what they are on disk rather than by
// how they are written, so that an output path can be checked against every
// listed input at once.
class ListedFiles {
public:
    explicit ListedFiles(const QStringList &paths);
    // True when `path` is one of the listed files.
    bool contains(const QString &path) const;

private:
    std::set<std::pair<dev_t, ino_t>> identities_;
};

} // namespace velunor
