#include "platform/Trash.h"

#include "platform/ByteCopy.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The desktop Trash as freedesktop.org describes it, kept by hand rather than
// through Qt, which names files by text and so cannot trash a name that is
// not UTF-8. A file goes by rename() only, so it is either in the Trash with
// its note or where it was: never copied, never half moved.
namespace velunor::platform::Trash {

namespace {

constexpr mode_t kPrivate = 0700;

std::optional<struct stat> StatOf(const Path &path)
{
    struct stat facts {};
    if (::lstat(path.c_str(), &facts) != 0)
        return std::nullopt;
    return facts;
}

// The user's data folder, as Qt finds it ($XDG_DATA_HOME, else
// ~/.local/share), so that a test that redirects Qt's folders redirects the
// Trash too.
Path DataHome()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.startsWith(u'/') ? Path::FromBytes(QFile::encodeName(data)) : Path();
}

// Makes `folder` and the folders it lies in where they are missing, the new
// ones private to the user; true when it is a folder (not a link) then.
bool MakeFolders(const Path &folder)
{
    if (const std::optional<struct stat> facts = StatOf(folder))
        return S_ISDIR(facts->st_mode);
    const Path parent = folder.folder();
    if (parent.isEmpty() || parent == folder || !MakeFolders(parent))
        return false;
    if (::mkdir(folder.c_str(), kPrivate) != 0 && errno != EEXIST)
        return false;
    const std::optional<struct stat> facts = StatOf(folder);
    return facts && S_ISDIR(facts->st_mode);
}

// The top of the file system that `folder` lies on: the last folder upwards
// on the same device.
Path TopOfFileSystem(const Path &folder, dev_t device)
{
    Path top = folder;
    for (Path parent = folder.folder(); !parent.isEmpty() && parent != top;
         parent = parent.folder()) {
        const std::optional<struct stat> facts = StatOf(parent);
        if (!facts || facts->st_dev != device)
            break;
        top = parent;
    }
    return top;
}

struct TrashPlace {
    Path folder;     // holds files/ and info/
    Path topOfFiles; // a note's path is written relative to this, when set
};

// The Trash folders a file on `device` in `folder` may go to, best first: the
// home Trash when the file shares its file system, else the file system's
// own, $top/.Trash/UID when the administrator made .Trash (a folder, not a
// link, with the sticky bit) or else $top/.Trash-UID.
std::vector<TrashPlace> PlacesFor(const Path &folder, dev_t device)
{
    std::vector<TrashPlace> places;
    const Path data = DataHome();
    if (!data.isEmpty()) {
        // The nearest folder of the data home that exists tells its device.
        Path existing = data;
        std::optional<struct stat> facts;
        while (!(facts = StatOf(existing)) && existing.folder() != existing &&
               !existing.folder().isEmpty())
            existing = existing.folder();
        if (facts && facts->st_dev == device)
            places.push_back({data.child("Trash"), Path()});
    }
    if (!places.empty())
        return places;
    const Path top = TopOfFileSystem(folder, device);
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const Path shared = top.child(".Trash");
    if (const std::optional<struct stat> facts = StatOf(shared);
        facts && S_ISDIR(facts->st_mode) && (facts->st_mode & S_ISVTX))
        places.push_back({shared.child(uid), top});
    places.push_back({top.child(".Trash-" + uid), top});
    return places;
}

// rename() that never replaces a file at `to`. Some file systems (FUSE ones,
// FAT through FUSE among them) know no such rename; there the name is looked
// at first, which leaves only a moment for another program to take it.
bool RenameWithoutReplacing(const Path &from, const Path &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (FileSystem::HasEntry(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// "name.mp3" as "name (N).mp3": the same rule as for outputs.
Path Numbered(const Path &name, int number)
{
    if (number < 2)
        return name;
    const QByteArray bytes = name.bytes();
    const qsizetype dot = bytes.lastIndexOf('.');
    const qsizetype cut = dot > 0 ? dot : bytes.size();
    return Path::FromBytes(bytes.left(cut) + " (" + QByteArray::number(number) + ")" +
                           bytes.mid(cut));
}

QByteArray NoteFor(const Path &path, const Path &topOfFiles)
{
    QByteArray where = path.collapsed().bytes();
    if (!topOfFiles.isEmpty() && path.isWithin(topOfFiles))
        where = where.mid(topOfFiles.collapsed().withSeparator().size());
    return "[Trash Info]\nPath=" + where.toPercentEncoding("/") +
           "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + "\n";
}

// Moves `path` into the Trash at `place`: its note is made first under a
// name no other note has (O_EXCL), then the file takes that name in files/
// without replacing anything there.
Path MoveInto(const TrashPlace &place, const Path &path, dev_t device)
{
    const Path files = place.folder.child("files");
    const Path info = place.folder.child("info");
    if (!MakeFolders(files) || !MakeFolders(info))
        return Path();
    // A Trash someone else made in a shared place is not the user's.
    const std::optional<struct stat> trashFacts = StatOf(place.folder);
    const std::optional<struct stat> filesFacts = StatOf(files);
    if (!trashFacts || trashFacts->st_uid != ::getuid() || !filesFacts ||
        filesFacts->st_uid != ::getuid())
        return Path();
    if (filesFacts->st_dev != device)
        return Path(); // rename() cannot cross file systems
    const QByteArray note = NoteFor(path, place.topOfFiles);
    const Path name = path.fileName();
    for (int number = 1; number < 10000; ++number) {
        const Path trashedName = Numbered(name, number);
        const Path notePath = info.child(trashedName.withSuffix(".trashinfo"));
        const int fd =
            ::open(notePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Path();
        }
        const bool noted = WriteAll(fd, note) == 0;
        ::close(fd);
        const Path trashed = files.child(trashedName);
        if (noted && RenameWithoutReplacing(path, trashed))
            return trashed;
        const int error = errno;
        ::unlink(notePath.c_str());
        if (!noted || error != EEXIST)
            return Path();
        // A file without a note holds that name in files/: the next one.
    }
    return Path();
}

} // namespace

Path MoveToTrash(const Path &path)
{
    if (!path.isAbsolute())
        return Path();
    const std::optional<struct stat> facts = StatOf(path);
    if (!facts)
        return Path();
    for (const TrashPlace &place : PlacesFor(path.folder(), facts->st_dev)) {
        if (const Path trashed = MoveInto(place, path, facts->st_dev); !trashed.isEmpty())
            return trashed;
    }
    return Path();
}

bool PutBack(const Path &trashed, const Path &original)
{
    if (trashed.isEmpty() || !RenameWithoutReplacing(trashed, original))
        return false;
    // ".../Trash/files/NAME" is noted in ".../Trash/info/NAME.trashinfo".
    const Path trash = trashed.folder().folder();
    ::unlink(trash.child("info").child(trashed.fileName().withSuffix(".trashinfo")).c_str());
    return true;
}

} // namespace velunor::platform::Trash
