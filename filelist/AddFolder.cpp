#include "filelist/AddFolder.h"

#include "app/Main.h"
#include "filelist/FileListModel.h"
#include "filelist/KernelFileSystems.h"
#include "filelist/WildcardPattern.h"
#include "platform/Platform.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace velunor::AddFolder {

namespace {

bool IsDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A name read from the disk that decodes to text which encodes back to other
// bytes (invalid UTF-8, say) could never be opened again by its text.
bool SurvivesRoundTrip(const char *raw, const QString &decoded)
{
    return QFile::encodeName(decoded) == raw;
}

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// File-manager order: by name without regard to case, names that differ only
// in case in a fixed order.
void SortAsFileManager(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

// The list of names grows in steps of 50 from room for 100: few folders hold
// more than a hundred files, and a step of 50 keeps a folder of many files from
// reserving far more room than it ends up using.
void AppendName(QStringList &names, const QString &name)
{
    if (names.size() == names.capacity())
        names.reserve(names.capacity() + 50);
    names.append(name);
}

// A folder opened for listing, closed on every way out of the scope.
class OpenFolder {
public:
    explicit OpenFolder(const QByteArray &path) : dir_(::opendir(path.constData()))
    {
        error_ = dir_ ? 0 : errno;
    }
    ~OpenFolder()
    {
        if (dir_)
            ::closedir(dir_);
    }
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    int error() const { return error_; }
    int fd() const { return ::dirfd(dir_); }
    // The next entry other than "." and ".."; null at the end or on a failure,
    // which error() then tells.
    dirent *next()
    {
        for (;;) {
            errno = 0;
            dirent *entry = ::readdir(dir_);
            if (!entry) {
                error_ = errno;
                return nullptr;
            }
            if (!IsDotOrDotDot(entry->d_name))
                return entry;
        }
    }

private:
    DIR *dir_;
    int error_ = 0;
};

// Whether an entry of an open folder is a file in the sense of IsExistingFile.
// The entry kind that the listing reports is trusted; only links and entries
// of unknown kind are looked up.
bool IsFileEntry(const OpenFolder &folder, const dirent &entry)
{
    switch (entry.d_type) {
    case DT_DIR:
        return false;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat facts {};
        return ::fstatat(folder.fd(), entry.d_name, &facts, 0) == 0 && !S_ISDIR(facts.st_mode);
    }
    default:
        return true;
    }
}

QStringList MatchingNames(OpenFolder &folder, const WildcardPattern &pattern)
{
    QStringList names;
    names.reserve(100);
    while (const dirent *entry = folder.next()) {
        if (entry->d_type == DT_DIR)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!pattern.matches(name) || !SurvivesRoundTrip(entry->d_name, name) ||
            !IsFileEntry(folder, *entry))
            continue;
        AppendName(names, name);
    }
    SortAsFileManager(names);
    names.squeeze();
    return names;
}

// Hidden and archive and nothing else: an ordinary, writable file, not a link
// and not on a kernel file system, whose name begins with ".". Files like these
// are the working files programs keep beside the user's own; a hidden file the
// user has made read-only is taken.
bool IsPlainHiddenFile(const struct stat &own, const QString &name, int folderFd,
                       KernelFileSystems &kernel)
{
    return name.startsWith(QLatin1Char('.')) && S_ISREG(own.st_mode) &&
           (own.st_mode & S_IWUSR) != 0 && !kernel.holdsOpen(folderFd, own.st_dev);
}

// Whether a listed name is still a file to be added, looked up afresh.
bool IsAcceptedFile(const OpenFolder &folder, const QString &name, KernelFileSystems &kernel)
{
    const QByteArray raw = QFile::encodeName(name);
    struct stat own {};
    if (::fstatat(folder.fd(), raw.constData(), &own, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISLNK(own.st_mode)) {
        struct stat target {};
        return ::fstatat(folder.fd(), raw.constData(), &target, 0) == 0 && !S_ISDIR(target.st_mode);
    }
    return !S_ISDIR(own.st_mode) && !IsPlainHiddenFile(own, name, folder.fd(), kernel);
}

void CollapseSeparators(QString &path)
{
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
}

// One breadth-first search over a folder list.
class FolderWalk {
public:
    void run(QStringList &folders, bool recurse)
    {
        QStringList level = searchLevel(folders, /*givenByUser=*/true);
        if (!recurse) {
            for (const QString &entry : std::as_const(level)) {
                const Verdict verdict = lookUp(entry, /*givenByUser=*/false);
                Main::YieldToEvents();
                if (verdict == Verdict::Qualifies)
                    folders.append(entry);
            }
            return;
        }
        // Each finished level joins the list at once, so that a failure further
        // down loses nothing already found.
        while (!level.isEmpty()) {
            QStringList deeper = searchLevel(level, /*givenByUser=*/false);
            folders.append(level);
            level = std::move(deeper);
        }
    }

private:
    enum class Verdict { Qualifies, NotSearched, Gone };

    // Looks every entry up and lists the subfolders of those that qualify.
    // Entries that have gone or deny access are removed from `entries`, and so
    // are entries found below that do not qualify; the entries given by the
    // user that do not qualify stay, as their own files are still wanted.
    QStringList searchLevel(QStringList &entries, bool givenByUser)
    {
        QStringList subfolders;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString entry = entries[i];
            const Verdict verdict = lookUp(entry, givenByUser);
            Main::YieldToEvents();
            bool keep = verdict != Verdict::Gone && (givenByUser || verdict == Verdict::Qualifies);
            if (verdict == Verdict::Qualifies)
                keep = listSubfolders(entry, subfolders);
            if (!keep) {
                // The first entry of that text goes, which is this one unless
                // the list names the folder twice.
                entries.removeAt(entries.indexOf(entry));
                --i;
            }
        }
        return subfolders;
    }

    // Appends entry + name + "/" for each subfolder with a usable name, in
    // file-manager order. False when the folder denies access.
    bool listSubfolders(const QString &entry, QStringList &subfolders)
    {
        OpenFolder folder(QFile::encodeName(entry));
        if (!folder.isOpen())
            return folder.error() != EACCES && folder.error() != EPERM;
        QStringList names;
        while (const dirent *found = folder.next()) {
            if (!isRealFolder(folder, *found))
                continue;
            Main::YieldToEvents();
            const QString name = QFile::decodeName(found->d_name);
            if (SurvivesRoundTrip(found->d_name, name) && !HasUnsafeChars(name))
                names.append(name);
        }
        // A listing cut short keeps the subfolders it found.
        SortAsFileManager(names);
        for (const QString &name : std::as_const(names))
            subfolders.append(entry + name + QLatin1Char('/'));
        return true;
    }

    // A folder entry that is a folder itself; links are never searched, so
    // they are not counted as subfolders.
    static bool isRealFolder(const OpenFolder &folder, const dirent &entry)
    {
        if (entry.d_type != DT_UNKNOWN)
            return entry.d_type == DT_DIR;
        struct stat facts {};
        return ::fstatat(folder.fd(), entry.d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISDIR(facts.st_mode);
    }

    Verdict lookUp(const QString &entry, bool givenByUser)
    {
        QString path = entry;
        while (path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (path.isEmpty())
            return Verdict::Qualifies; // the root folder
        const QByteArray raw = QFile::encodeName(path);
        struct stat facts {};
        if (::lstat(raw.constData(), &facts) != 0)
            return failedLookUp(errno);
        if (S_ISLNK(facts.st_mode)) {
            if (!givenByUser)
                return Verdict::NotSearched;
            if (::stat(raw.constData(), &facts) != 0)
                return failedLookUp(errno);
        }
        if (!S_ISDIR(facts.st_mode))
            return Verdict::Gone;
        return kernel_.holds(raw, facts.st_dev) ? Verdict::NotSearched : Verdict::Qualifies;
    }

    static Verdict failedLookUp(int error)
    {
        switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ELOOP:
        case EACCES:
        case EPERM:
            return Verdict::Gone;
        default:
            throw PlatformError(ErrorText(error));
        }
    }

    KernelFileSystems kernel_;
};

} // namespace

void CollectSubfolders(QStringList &folders, bool recurse)
{
    FolderWalk().run(folders, recurse);
}

bool HasUnsafeChars(const QString &name)
{
    for (const QChar character : name) {
        const char16_t code = character.unicode();
        if (code < 32 || (code >= 127 && code <= 159) || code == u'?')
            return true;
    }
    return QFile::decodeName(QFile::encodeName(name)) != name;
}

QStringList ListMatchingFiles(const QString &folder, const QString &pattern)
{
    const QString withSeparator =
        folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    OpenFolder listing(QFile::encodeName(withSeparator));
    if (!listing.isOpen())
        return {};
    return MatchingNames(listing, WildcardPattern(pattern));
}

bool IsExistingFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray raw = QFile::encodeName(path);
    if (QFile::decodeName(raw) != path)
        return false;
    struct stat facts {};
    return ::stat(raw.constData(), &facts) == 0 && !S_ISDIR(facts.st_mode);
}

void AddFilesFromFolders(const QStringList &folders, const QString &pattern, FileListModel &items)
{
    const WildcardPattern matcher(pattern);
    KernelFileSystems kernel;
    // Nothing here lets other events run, so handing the list all new items at
    // once looks the same as adding them one by one; a failure part way still
    // leaves the items found before it.
    QStringList accepted;
    const auto handOver = qScopeGuard([&] { items.add(accepted); });

    for (const QString &entry : folders) {
        const QString folder = entry.endsWith(QLatin1Char('/')) ? entry.chopped(1) : entry;
        OpenFolder listing(QFile::encodeName(folder + QLatin1Char('/')));
        if (!listing.isOpen())
            continue;
        const QStringList names = MatchingNames(listing, matcher);
        for (const QString &name : names) {
            if (name.startsWith(QLatin1Char('~')) || !IsAcceptedFile(listing, name, kernel))
                continue;
            QString path = folder + QLatin1Char('/') + name;
            CollapseSeparators(path);
            accepted.append(path);
        }
    }
}

} // namespace velunor::AddFolder
