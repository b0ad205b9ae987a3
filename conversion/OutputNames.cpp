#include "conversion/OutputNames.h"

#include "platform/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

constexpr QByteArrayView kExtension = ".mp3";
// More numbered names than any folder holds; a name is given up on after.
constexpr int kMostNumbers = 100000;

// Names this long are taken everywhere (eCryptfs takes the fewest bytes);
// only a longer one is worth asking the file system about.
constexpr qsizetype kNameEveryFileSystemTakes = 143;

// `stem` followed by `suffix`, the stem cut short where the whole would be
// longer than the file system of `folder` takes: a name it refuses as too
// long could never be had, whatever its number. A character of UTF-8 is never
// cut in two.
Path FittedName(const Path &stem, const QByteArray &suffix, const Path &folder)
{
    QByteArray bytes = stem.bytes();
    if (bytes.size() + suffix.size() > kNameEveryFileSystemTakes) {
        const qsizetype room = platform::FileSystem::LongestNameIn(folder) - suffix.size();
        if (room > 0 && bytes.size() > room) {
            qsizetype cut = room;
            for (int back = 0; back < 3 && cut > 1 && (uchar(bytes[cut]) & 0xC0) == 0x80; ++back)
                --cut;
            bytes.truncate(cut);
        }
    }
    return Path::FromBytes(bytes + suffix);
}

// Names Windows keeps for devices, whatever extension follows them.
constexpr const char *kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

bool RefusedByWindows(unsigned char byte)
{
    return byte < 32 || byte == 127 || QByteArrayView("\"*:<>?\\|").contains(char(byte));
}

bool IsDeviceName(QByteArrayView word)
{
    for (const char *device : kDeviceNames)
        if (word.compare(device, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// True when `folder` lies on one of Linux's own file systems, which take
// every character that Windows refuses in a name.
bool TakesEveryName(const Path &folder)
{
    struct statfs facts {};
    if (::statfs(folder.c_str(), &facts) != 0)
        return false;
    switch (static_cast<unsigned long>(facts.f_type)) {
    case EXT4_SUPER_MAGIC: // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC:
        return true;
    default:
        return false;
    }
}

// Makes a hidden file named with `name` in `folder` and removes it again:
// true when the file system refused the name. Failures that have nothing to
// do with the name (a folder that cannot be written says EACCES or EROFS)
// count as no refusal: the rename tells them.
bool ProbeRefuses(const Path &folder, QByteArrayView name)
{
    static std::atomic<quint64> probes{0};
    const Path probe = folder.child(".velunor-" + QByteArray::number(::getpid()) + "-probe" +
                                    QByteArray::number(++probes) + '-' + name.toByteArray());
    const int fd =
        ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
        return false;
    }
    // Drivers that refuse a name say EINVAL, EILSEQ or EPERM.
    return errno != EEXIST && errno != ENAMETOOLONG && errno != ENOSPC && errno != EDQUOT &&
           errno != EACCES && errno != EROFS && errno != ENOENT;
}

} // namespace

Path WindowsSafeStem(const Path &stem)
{
    QByteArray safe = WithUndecodableBytesReplaced(stem.bytes(), '_');
    for (char &byte : safe)
        if (RefusedByWindows(static_cast<unsigned char>(byte)))
            byte = '_';
    while (safe.endsWith('.') || safe.endsWith(' '))
        safe.chop(1);
    if (safe.isEmpty())
        return Path::FromBytes("_");
    // "CON.mp3", "con.live.mp3" and "Con .mp3" all name the device.
    qsizetype wordEnd = safe.indexOf('.');
    if (wordEnd < 0)
        wordEnd = safe.size();
    qsizetype trimmedEnd = wordEnd;
    while (trimmedEnd > 0 && safe[trimmedEnd - 1] == ' ')
        --trimmedEnd;
    if (IsDeviceName(QByteArrayView(safe).first(trimmedEnd)))
        safe.insert(trimmedEnd, '_');
    return Path::FromBytes(safe);
}

bool FolderRefusesWindowsNames(const Path &folder)
{
    // Nothing needs to be tried where the answer is known.
    return !TakesEveryName(folder) && ProbeRefuses(folder, "a:b?c*d\"e<f>g|h");
}

bool FileSystemRefusesName(const Path &path)
{
    const Path name = path.fileName();
    if (WindowsSafeStem(name.stem()) == name.stem())
        return false;
    return ProbeRefuses(path.folder(), name.bytes());
}

OutputNames::Claim OutputNames::claim(const Path &folderKey, const Path &folder, const Path &stem,
                                      NameChanges changes, const NameCheck &check)
{
    const std::lock_guard lock(mutex_);
    return claimLocked(folderKey.withSeparator().text(), folder, stem, changes, check);
}

OutputNames::Claim OutputNames::claimInstead(const Path &folderKey, const Path &given,
                                             const Path &folder, const Path &stem,
                                             NameChanges changes, const NameCheck &check)
{
    const std::lock_guard lock(mutex_);
    const QString keyFolder = folderKey.withSeparator().text();
    taken_.remove(keyFolder + given.fileName().text().toCaseFolded());
    return claimLocked(keyFolder, folder, stem, changes, check);
}

OutputNames::Claim OutputNames::claimLocked(const QString &keyFolder, const Path &folder,
                                            const Path &stem, NameChanges changes,
                                            const NameCheck &check)
{
    for (int number = 1; number <= kMostNumbers; ++number) {
        const QByteArray suffix =
            number == 1 ? kExtension.toByteArray()
                        : " (" + QByteArray::number(number) + ")" + kExtension.toByteArray();
        const Path name = FittedName(stem, suffix, folder);
        if (name.size() < stem.size() + suffix.size())
            changes |= NameChange::Shortened;
        const QString key = keyFolder + name.text().toCaseFolded();
        if (taken_.contains(key)) {
            changes |= NameChange::SameNameInList;
            continue;
        }
        const Path path = folder.child(name);
        switch (check ? check(path) : NameUse::Free) {
        case NameUse::Free:
            taken_.insert(key);
            return {path, changes};
        case NameUse::HeldByAnotherInput:
            changes |= NameChange::HeldByAnotherInput;
            break;
        case NameUse::Listed:
            changes |= NameChange::SameNameInList;
            break;
        case NameUse::UsersFileKept:
            changes |= NameChange::UsersFileKept;
            break;
        }
    }
    return {Path(), changes};
}

} // namespace velunor::conversion
