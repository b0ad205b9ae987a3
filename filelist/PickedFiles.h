#pragma once

#include "platform/Path.h"

#include <QList>
#include <QString>

namespace velunor::filelist {

// The full paths named by a file dialog's result: "" gives none; a result
// without NUL characters is one path, kept exactly as it is; otherwise the
// first piece is the folder and every further piece a name in it, each joined
// as folder + "/" + name with doubled separators collapsed (the folder "/"
// would otherwise give "//name"). Empty names name no file and are skipped.
// Each path is read as RecoveredPath() reads it.
QList<Path> PickedFilePaths(const QString &dialogResult);

// The path of a file named by text that a desktop dialog made of its bytes.
// Such dialogs decode names that are not UTF-8 with a replacement character
// (U+FFFD) where a byte did not decode, which no longer names the file; when
// the text names nothing and its folder holds exactly one file whose name
// decodes to the same text, that file's path is given. Any other text is read
// by Path::FromText().
Path RecoveredPath(const QString &text);

} // namespace velunor::filelist
