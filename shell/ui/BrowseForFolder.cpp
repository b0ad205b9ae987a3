// The one folder picker of the program, shared by the folder adder and the
// output-folder browse button.

#include "shell/ui/BrowseForFolder.h"

#include "filelist/PickedFiles.h"
#include "platform/FileSystem.h"
#include "platform/ui/Platform.h"

namespace velunor::shell::AddFolder {

QString BrowseForFolder(platform::Platform &platform, QWidget *owner, const QString &prompt)
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
    // The dialog names folders by text; one whose name is not UTF-8 is found
    // again by its bytes, and given as people see it (Path::text()).
    const Path folder = filelist::RecoveredPath(chosen);
    if (!platform::Main::FolderExists(folder))
        return QString();
    return folder.text();
}

} // namespace velunor::shell::AddFolder
