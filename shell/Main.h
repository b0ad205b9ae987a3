#pragma once

#include "platform/FileSystem.h" // PathExists, FolderExists

#include <QString>

// Path and file helpers shared by the core and the window's handlers.
namespace velunor::shell::Main {

// The folder of the running executable, without a trailing "/".
QString ProgramFolder();
// The desktop folder, or the home folder where there is no desktop folder;
// "" when neither can be found.
QString DesktopPath();

// The folder that the output-folder box's text names: the text as typed,
// with a leading "~" standing for the home folder as in a shell ("~" alone or
// followed by "/"), since that is how Linux users write their folders.
Path OutputFolderOf(const QString &text);

// The application title: the display name cut at its last space once, and
// again while longer than 40 characters. A name without a space is kept.
QString ApplicationTitleFrom(const QString &displayName);

} // namespace velunor::shell::Main
