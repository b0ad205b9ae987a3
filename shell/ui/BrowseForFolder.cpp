// The one folder picker of the program, shared by the folder adder and the
// output-folder browse button.

#include "shell/ui/BrowseForFolder.h"

#include "platform/FileSystem.h"
#include "platform/ui/Platform.h"

#include <QFile>

namespace velunor::AddFolder {

QString BrowseForFolder(Platform &platform, QWidget *owner, const QString &prompt)
{
    QString chosen = platform.browseForFolder(owner, prompt);
    // A path ends at its first NUL for every call that is given it, so that is
    // where it ends here too.
    if (const qsizetype end = chosen.indexOf(QChar(u'\0')); end >= 0)
        chosen.truncate(end);
    if (!chosen.startsWith(QLatin1Char('/')))
        return QString(); // cancelled, or not a local path
    while (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/')))
        chosen.chop(1);
    if (QFile::decodeName(QFile::encodeName(chosen)) != chosen || !Main::FolderExists(chosen))
        return QString();
    return chosen;
}

} // namespace velunor::AddFolder
