#include "filelist/AddFolder.h"

#include "filelist/FileListModel.h"
#include "filelist/KernelFileSystems.h"
#include "filelist/WildcardPattern.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::AddFolder {

namespace {

bool IsDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A name read from the disk that decodes to text which encodes back to other
// bytes (invalid UTF-8, say) could never be opened again by its text. Plain
// ASCII names, by far the most, always come back unchanged.
bool SurvivesRoundTrip(const char *raw, const QString &decoded)
{
    const auto *byte = reinterpret_cast<const unsigned char *>(raw);
    while (*byte != 0 && *byte < 0x80)
        ++byte;
    return *byte == 0 || QFile::encodeName(decoded) == raw;
}

// File-manager order: by name without regard to case, names that differ only
// in case in a fixed order. Where both names hold plain ASCII up to the first
// difference, that difference decides without the full Unicode case folding;
// the result is the same, and a folder of many files sorts several times faster.
bool ComesFirst(const QString &a, const QString &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 128 || y >= 128)
            break;
        x = (x >= u'A' && x <= u'Z') ? char16_t(x + 32) : x;
        y = (y >= u'A' && y <= u'Z') ? char16_t(y + 32) : y;
        if (x != y)
            return x < y;
    }
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

// A folder opened for listing, closed on every way out of the scope.
class OpenFolder {
public:
    // Opens `path`; a symbolic link is followed only with `followLink`.
    OpenFolder(const QByteArray &path, bool followLink)
    {
        const int fd = ::open(path.constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
        if (fd < 0) {
            error_ = errno;
            return;
        }
        dir_ = ::fdopendir(fd);
        if (!dir_) {
            error_ = errno;
            ::close(fd);
        }
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
    // The next entry other than "." and ".."; null at the end or on a failure.
    const dirent *next()
    {
        for (;;) {
            errno = 0;
            const dirent *entry = ::readdir(dir_);
            if (!entry) {
                error_ = errno;
                return nullptr;
            }
            if (!IsDotOrDotDot(entry->d_name))
                return entry;
        }
    }

private:
    DIR *dir_ = nullptr;
    int error_ = 0;
};

// One file of a folder listing, with what the listing knew of it.
struct ListedFile {
    QString name;
    unsigned char kind = 0; // the listing's entry kind (DT_REG, DT_LNK, ...)
};

// Whether a listed entry is a file in the sense of IsExistingFile. The entry
// kind the listing reports is trusted; only links and entries of unknown kind
// are looked up.
bool IsFileEntry(const OpenFolder &folder, const dirent &entry, bool searchable)
{
    // In a folder that may be read but not entered, names can be listed but
    // no file can be opened: the look-up decides, and it fails.
    if (!searchable) {
        struct stat facts {};
        return ::fstatat(folder.fd(), entry.d_name, &facts, 0) == 0 && !S_ISDIR(facts.st_mode);
    }
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

// The files of an open folder that match, in file-manager order. Room for 100
// names is made at once, as most folders hold fewer; beyond that the list grows
// by doubling, so a folder of a hundred thousand files is listed in about the
// time it takes to read it.
QList<ListedFile> MatchingFiles(OpenFolder &folder, const WildcardPattern &pattern)
{
    QList<ListedFile> files;
    files.reserve(100);
    const bool searchable = ::faccessat(folder.fd(), ".", X_OK, AT_EACCESS) == 0;
    while (const dirent *entry = folder.next()) {
        if (entry->d_type == DT_DIR)
            continue;
        QString name = QFile::decodeName(entry->d_name);
        if (!pattern.matches(name) || !SurvivesRoundTrip(entry->d_name, name) ||
            !IsFileEntry(folder, *entry, searchable))
            continue;
        files.append(ListedFile{std::move(name), entry->d_type});
    }
    std::sort(files.begin(), files.end(),
              [](const ListedFile &a, const ListedFile &b) { return ComesFirst(a.name, b.name); });
    return files;
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

// Whether a listed file is to be added. The listing and the adding of a folder
// follow each other with nothing in between, so a plain file's kind as just
// listed stands; a file is looked up again where its kind was not read (links,
// unknown kinds) or where its attributes decide (hidden names).
bool IsAcceptedFile(const OpenFolder &folder, const ListedFile &file, KernelFileSystems &kernel)
{
    const bool kindKnown = file.kind != DT_LNK && file.kind != DT_UNKNOWN;
    if (kindKnown && !file.name.startsWith(QLatin1Char('.')))
        return true;
    const QByteArray raw = QFile::encodeName(file.name);
    struct stat own {};
    if (::fstatat(folder.fd(), raw.constData(), &own, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISLNK(own.st_mode)) {
        struct stat target {};
        return ::fstatat(folder.fd(), raw.constData(), &target, 0) == 0 && !S_ISDIR(target.st_mode);
    }
    return !S_ISDIR(own.st_mode) && !IsPlainHiddenFile(own, file.name, folder.fd(), kernel);
}

// One breadth-first search over a folder list.
class FolderWalk {
public:
    explicit FolderWalk(Yield yield) : yield_(std::move(yield)) {}

    void run(QStringList &folders, bool recurse)
    {
        QStringList level = searchLevel(folders, /*givenByUser=*/true);
        if (!recurse) {
            for (const QString &entry : std::as_const(level)) {
                const OpenFolder folder(QFile::encodeName(entry), /*followLink=*/false);
                const Verdict verdict = judge(folder);
                YieldNow(yield_);
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
    // user that do not qualify stay, as their own files are still wanted. A
    // link the user names is followed; links found below never are.
    QStringList searchLevel(QStringList &entries, bool givenByUser)
    {
        QStringList subfolders;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString entry = entries[i];
            OpenFolder folder(QFile::encodeName(entry), /*followLink=*/givenByUser);
            const Verdict verdict = judge(folder);
            YieldNow(yield_);
            if (verdict == Verdict::Qualifies) {
                listSubfolders(folder, entry, subfolders);
                continue;
            }
            if (verdict == Verdict::NotSearched && givenByUser)
                continue;
            // The first entry of that text goes, which is this one unless the
            // list names the folder twice.
            entries.removeAt(entries.indexOf(entry));
            --i;
        }
        return subfolders;
    }

    // A folder that cannot be opened, for whatever reason (gone, no access, a
    // name too long, a device error), is passed over: the search goes on
    // with the rest and keeps everything it has found.
    Verdict judge(const OpenFolder &folder)
    {
        if (!folder.isOpen())
            return folder.error() == ELOOP ? Verdict::NotSearched // a link, or a path that loops
                                           : Verdict::Gone;
        struct stat facts {};
        if (::fstat(folder.fd(), &facts) != 0)
            return Verdict::Gone;
        return kernel_.holdsOpen(folder.fd(), facts.st_dev) ? Verdict::NotSearched
                                                            : Verdict::Qualifies;
    }

    // Appends entry + name + "/" for each subfolder with a usable name, in
    // file-manager order. A listing cut short keeps what it found.
    void listSubfolders(OpenFolder &folder, const QString &entry, QStringList &subfolders)
    {
        QStringList names;
        while (const dirent *found = folder.next()) {
            if (!isRealFolder(folder, *found))
                continue;
            YieldNow(yield_);
            const QString name = QFile::decodeName(found->d_name);
            if (SurvivesRoundTrip(found->d_name, name) && !HasUnsafeChars(name))
                names.append(name);
        }
        std::sort(names.begin(), names.end(), ComesFirst);
        for (const QString &name : std::as_const(names))
            subfolders.append(entry + name + QLatin1Char('/'));
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

    KernelFileSystems kernel_;
    Yield yield_;
};

} // namespace

void CollectSubfolders(QStringList &folders, bool recurse, const Yield &yield)
{
    FolderWalk(yield).run(folders, recurse);
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
    OpenFolder listing(QFile::encodeName(Main::FolderWithSeparator(folder)), /*followLink=*/true);
    if (!listing.isOpen())
        return {};
    const QList<ListedFile> files = MatchingFiles(listing, WildcardPattern(pattern));
    QStringList names;
    names.reserve(files.size());
    for (const ListedFile &file : files)
        names.append(file.name);
    return names;
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
        OpenFolder listing(QFile::encodeName(folder + QLatin1Char('/')), /*followLink=*/true);
        if (!listing.isOpen())
            continue;
        // The chosen root "/" makes entries "//" and "//usr/...": the separator
        // is collapsed once per folder, as no name holds one.
        const QString prefix = FileSystem::CollapseSeparators(folder + QLatin1Char('/'));
        for (const ListedFile &file : MatchingFiles(listing, matcher)) {
            if (file.name.startsWith(QLatin1Char('~')) || !IsAcceptedFile(listing, file, kernel))
                continue;
            accepted.append(prefix + file.name);
        }
    }
}

} // namespace velunor::AddFolder
