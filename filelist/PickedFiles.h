#pragma once

#include <QString>
#include <QStringList>

namespace velunor {

// The full paths named by a file dialog's result: "" gives none; a result
// without NUL characters is one path, kept exactly as it is; otherwise the
// first piece is the folder and every further piece a name in it, each joined
// as folder + "/" + name with doubled separators collapsed (the folder "/"
// would otherwise give "//name"). Empty names name no file and are skipped.
QStringList PickedFilePaths(const QString &dialogResult);

} // namespace velunor
