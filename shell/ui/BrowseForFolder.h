#pragma once

#include <QString>

class QWidget;

namespace velunor::platform {
class Platform;
}

namespace velunor::shell {

namespace AddFolder {

// Asks the user for a folder through the desktop's folders-only dialog.
// Returns "" when the user cancels or picks nothing usable (a path that is not
// an existing local folder), "/" for the root folder, and every other folder
// without a trailing "/", as Path::text() shows it. A failure of the desktop
// is thrown to the caller.
QString BrowseForFolder(platform::Platform &platform, QWidget *owner, const QString &prompt);

} // namespace AddFolder
} // namespace velunor::shell
