#pragma once

#include "platform/FileSystem.h" // PathExists, FolderExists

#include <QString>

// Path and file helpers shared by the core and the window's handlers.
namespace velunor::Main {

// The characters after the last "/", or the whole path when it has none.
QString FileNameOf(const QString &path);
// The folder part of a path as it is written ("/x//sox" gives "/x/"): the
// characters before the last "/", "/" for a file in the root folder, and ""
// when the path has no "/".
QString FolderOf(const QString &path);
// The characters before the last "."; a name without a dot is its own base.
QString StripExtension(const QString &name);
// `folder` ending in one "/", ready for a file name to follow: a "/" is
// added when it does not end with one.
QString FolderWithSeparator(const QString &folder);

// The folder of the running executable, without a trailing "/".
QString ProgramFolder();
// The desktop folder, or the home folder where there is no desktop folder;
// "" when neither can be found.
QString DesktopPath();

// The application title: the display name cut at its last space once, and
// again while longer than 40 characters. A name without a space is kept.
QString ApplicationTitleFrom(const QString &displayName);

} // namespace velunor::Main
