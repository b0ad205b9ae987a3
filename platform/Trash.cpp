#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace velunor::platform::Trash {

// Moves `path` to the desktop's Trash and returns where it went; empty when
// there is no Trash for it. Qt puts a file that should go to the home Trash
// into the current folder when the user's data folder does not exist yet, so
// that folder is made first, and anything that did not land in a Trash is
// put back. Qt names files by text, so a name that is not UTF-8 cannot go
// through it: such a file gets no Trash.
Path MoveToTrash(const Path &path)
{
    const QString text = QFile::decodeName(path.bytes());
    if (QFile::encodeName(text) != path.bytes())
        return Path();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty() && !QFileInfo::exists(data) && QDir().mkpath(data))
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile file(text);
    if (!file.moveToTrash())
        return Path();
    const QString trashed = file.fileName();
    static const QRegularExpression inTrash(
        QStringLiteral("/(Trash|\\.Trash-\\d+|\\.Trash/\\d+)/files/"));
    if (QFileInfo(trashed).isAbsolute() && inTrash.match(trashed).hasMatch())
        return Path::FromBytes(QFile::encodeName(trashed));
    ::rename(QFile::encodeName(trashed).constData(), path.c_str());
    return Path();
}

bool PutBack(const Path &trashed, const Path &original)
{
    if (trashed.isEmpty() ||
        ::renameat2(AT_FDCWD, trashed.c_str(), AT_FDCWD, original.c_str(), RENAME_NOREPLACE) != 0)
        return false;
    // ".../Trash/files/NAME" is noted in ".../Trash/info/NAME.trashinfo".
    const Path trash = trashed.folder().folder();
    ::unlink(trash.child("info").child(trashed.fileName().withSuffix(".trashinfo")).c_str());
    return true;
}

} // namespace velunor::platform::Trash
