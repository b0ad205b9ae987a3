#include "filelist/AddFolder.h"

#include "filelist/KernelFileSystems.h"
#include "filelist/WildcardPattern.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::filelist::AddFolder {

namespace {

bool IsDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// File-manager order: by name without regard to case, names that differ only
// in case in a fixed order. Where both names hold plain ASCII up to the first
// difference, that difference decides without the full Unicode case folding;
// the result is the same, and a folder of many files sorts several times faster.
bool ComesFirst(const QString &a, const QString &b, const Path &rawA, const Path &rawB)
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
    return order != 0 ? order < 0 : rawA < rawB;
}

// A folder opened for listing, closed on every way out of the scope.
class OpenFolder {
public:
    // Opens `path`; a symbolic link is followed only with `followLink`.
    OpenFolder(const Path &path, bool followLink)
    {
        const int fd = ::open(path.c_str(),
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
    Path name;
    QString shown;          // as people see it: what the pattern and the order go by
    unsigned char kind = 0; // the listing's entry kind (DT_REG, DT_LNK, ...)
};

// True when a look-up that follows links failed with `error` because a link
// leads nowhere: to a file that is not there, or round in a loop of links.
bool LeadsNowhere(int error)
{
    return error == ENOENT || error == ELOOP;
}

// Whether a listed entry is a file in the sense of IsExistingFile. The entry
// kind the listing reports is trusted; only links and entries of unknown kind
// are looked up.
bool IsFileEntry(const OpenFolder &folder, const dirent &entry, bool searchable,
                 bool brokenLinksToo)
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
        if (::fstatat(folder.fd(), entry.d_name, &facts, 0) == 0)
            return !S_ISDIR(facts.st_mode);
        // Whether it is a link at all, IsAcceptedFile looks up before it is taken.
        return brokenLinksToo && LeadsNowhere(errno);
    }
    default:
        return true;
    }
}

// The files of an open folder that match, in file-manager order. Room for 100
// names is made at once, as most folders hold fewer; beyond that the list grows
// by doubling, so a folder of a hundred thousand files is listed in about the
// time it takes to read it.
QList<ListedFile> MatchingFiles(OpenFolder &folder, const WildcardPattern &pattern,
                                bool brokenLinksToo = false)
{
    QList<ListedFile> files;
    files.reserve(100);
    const bool searchable = ::faccessat(folder.fd(), ".", X_OK, AT_EACCESS) == 0;
    while (const dirent *entry = folder.next()) {
        if (entry->d_type == DT_DIR)
            continue;
        QString shown = ShownText(entry->d_name);
        if (!pattern.matches(shown) || !IsFileEntry(folder, *entry, searchable, brokenLinksToo))
            continue;
        files.append(ListedFile{Path::FromBytes(entry->d_name), std::move(shown), entry->d_type});
    }
    std::sort(files.begin(), files.end(), [](const ListedFile &a, const ListedFile &b) {
        return ComesFirst(a.shown, b.shown, a.name, b.name);
    });
    return files;
}

// Hidden and archive and nothing else: an ordinary, writable file, not a link
// and not on a kernel file system, whose name begins with ".". Files like these
// are the working files programs keep beside the user's own; a hidden file the
// user has made read-only is taken.
bool IsPlainHiddenFile(const struct stat &own, const Path &name, int folderFd,
                       KernelFileSystems &kernel)
{
    return name.bytes().startsWith('.') && S_ISREG(own.st_mode) && (own.st_mode & S_IWUSR) != 0 &&
           !kernel.holdsOpen(folderFd, own.st_dev);
}

// Whether a listed file is to be added. The listing and the adding of a folder
// follow each other with nothing in between, so a plain file's kind as just
// listed stands; a file is looked up again where its kind was not read (links,
// unknown kinds) or where its attributes decide (hidden names).
bool IsAcceptedFile(const OpenFolder &folder, const ListedFile &file, KernelFileSystems &kernel,
                    bool brokenLinksToo)
{
    const bool kindKnown = file.kind != DT_LNK && file.kind != DT_UNKNOWN;
    if (kindKnown && !file.name.bytes().startsWith('.'))
        return true;
    const char *raw = file.name.c_str();
    struct stat own {};
    if (::fstatat(folder.fd(), raw, &own, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISLNK(own.st_mode)) {
        struct stat target {};
        if (::fstatat(folder.fd(), raw, &target, 0) == 0)
            return !S_ISDIR(target.st_mode);
        return brokenLinksToo && LeadsNowhere(errno);
    }
    return !S_ISDIR(own.st_mode) && !IsPlainHiddenFile(own, file.name, folder.fd(), kernel);
}

// One breadth-first search over a folder list.
class FolderWalk {
public:
    explicit FolderWalk(const SearchOptions &options) : options_(options)
    {
        if (!options_.excluded.isEmpty()) {
            excludedReal_ = platform::FileSystem::RealPathOf(options_.excluded);
            excluded_ = platform::FileSystem::IdentityOf(options_.excluded);
        }
    }

    void run(QList<Path> &folders)
    {
        QList<Found> level = searchLevel(folders);
        if (!options_.recurse) {
            for (const Found &found : std::as_const(level)) {
                OpenFolder folder(found.path, /*followLink=*/true);
                const Verdict verdict = judge(folder, found);
                if (verdict == Verdict::Qualifies)
                    folders.append(found.path);
            }
            return;
        }
        // Each finished level joins the list at once, so that a failure further
        // down loses nothing already found.
        while (!level.isEmpty() && !cancelled()) {
            QList<Found> deeper;
            QList<Path> searched;
            for (const Found &found : std::as_const(level)) {
                if (cancelled())
                    break;
                OpenFolder folder(found.path, /*followLink=*/true);
                const Verdict verdict = judge(folder, found);
                if (verdict == Verdict::Gone)
                    noteUnread(found.path, folder.error());
                if (verdict != Verdict::Qualifies)
                    continue;
                listSubfolders(folder, found.path, deeper);
                searched.append(found.path);
            }
            folders.append(searched);
            level = std::move(deeper);
        }
    }

private:
    enum class Verdict { Qualifies, NotSearched, Gone };

    // A subfolder found by the search; `linked` when its entry is a link.
    struct Found {
        Path path;
        bool linked = false;
    };

    // Looks the entries given by the user up and lists the subfolders of those
    // that qualify. Entries that have gone or deny access are removed; the
    // entries that do not qualify stay, as their own files are still wanted.
    QList<Found> searchLevel(QList<Path> &entries)
    {
        QList<Found> subfolders;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const Path entry = entries[i];
            OpenFolder folder(entry, /*followLink=*/true);
            const Verdict verdict = judge(folder, Found{entry, false}, /*given=*/true);
            if (verdict == Verdict::Qualifies) {
                listSubfolders(folder, entry, subfolders);
                continue;
            }
            if (verdict == Verdict::NotSearched)
                continue;
            noteUnread(entry, folder.error());
            // The first entry of that path goes, which is this one unless the
            // list names the folder twice.
            entries.removeAt(entries.indexOf(entry));
            --i;
        }
        return subfolders;
    }

    // A folder that cannot be opened, for whatever reason (gone, no access, a
    // name too long, a device error), is passed over: the search goes on
    // with the rest and keeps everything it has found. A folder met before
    // (two links to one folder, a link back up the tree) is searched once.
    Verdict judge(const OpenFolder &folder, const Found &found, bool given = false)
    {
        if (!folder.isOpen())
            return folder.error() == ELOOP ? Verdict::NotSearched // a link that loops on itself
                                           : Verdict::Gone;
        struct stat facts {};
        if (::fstat(folder.fd(), &facts) != 0)
            return Verdict::Gone;
        const platform::FileIdentity identity{facts.st_dev, facts.st_ino};
        if (!given) {
            if (excluded_ == identity ||
                (found.linked && !excludedReal_.isEmpty() &&
                 platform::FileSystem::RealPathOf(found.path).isWithin(excludedReal_)))
                return Verdict::NotSearched;
            if (!seen_.insert(identity).second)
                return Verdict::NotSearched;
        } else {
            seen_.insert(identity);
        }
        return kernel_.holdsOpen(folder.fd(), facts.st_dev) ? Verdict::NotSearched
                                                            : Verdict::Qualifies;
    }

    // Appends entry + name + "/" for each subfolder with a usable name, in
    // file-manager order. A listing cut short keeps what it found, and is
    // noted as unread.
    void listSubfolders(OpenFolder &folder, const Path &entry, QList<Found> &subfolders)
    {
        QList<ListedFile> names;
        while (const dirent *found = folder.next()) {
            bool linked = false;
            if (!isFolderEntry(folder, *found, linked))
                continue;
            Path name = Path::FromBytes(found->d_name);
            if (!HasUnsafeChars(name))
                names.append(ListedFile{std::move(name), ShownText(found->d_name),
                                        static_cast<unsigned char>(linked ? DT_LNK : DT_DIR)});
        }
        if (folder.error() != 0)
            noteUnread(entry, folder.error());
        std::sort(names.begin(), names.end(), [](const ListedFile &a, const ListedFile &b) {
            return ComesFirst(a.shown, b.shown, a.name, b.name);
        });
        for (const ListedFile &name : std::as_const(names))
            subfolders.append(Found{entry.child(name.name).withSeparator(), name.kind == DT_LNK});
    }

    // A folder entry that is a folder itself, or a link that leads to one.
    static bool isFolderEntry(const OpenFolder &folder, const dirent &entry, bool &linked)
    {
        if (entry.d_type == DT_DIR)
            return true;
        if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
            return false;
        struct stat facts {};
        if (::fstatat(folder.fd(), entry.d_name, &facts, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        if (S_ISDIR(facts.st_mode))
            return true;
        linked = S_ISLNK(facts.st_mode);
        return linked && ::fstatat(folder.fd(), entry.d_name, &facts, 0) == 0 &&
               S_ISDIR(facts.st_mode);
    }

    void noteUnread(const Path &folder, int error)
    {
        if (options_.unread && error != 0)
            options_.unread->append(UnreadFolder{folder, error});
    }

    const SearchOptions &options_;
    bool cancelled() const { return options_.cancel && options_.cancel->load(); }

    KernelFileSystems kernel_;
    std::set<platform::FileIdentity> seen_;
    Path excludedReal_;
    std::optional<platform::FileIdentity> excluded_;
};

} // namespace

void CollectSubfolders(QList<Path> &folders, const SearchOptions &options)
{
    FolderWalk(options).run(folders);
}

void CollectSubfolders(QList<Path> &folders, bool recurse)
{
    SearchOptions options;
    options.recurse = recurse;
    CollectSubfolders(folders, options);
}

bool HasUnsafeChars(const Path &name)
{
    const QByteArray &bytes = name.bytes();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        // U+0080 to U+009F are C2 80 to C2 9F in UTF-8.
        const bool c1Control = byte == 0xC2 && i + 1 < bytes.size() &&
                               static_cast<unsigned char>(bytes[i + 1]) >= 0x80 &&
                               static_cast<unsigned char>(bytes[i + 1]) <= 0x9F;
        if (byte < 32 || byte == 127 || byte == '?' || c1Control)
            return true;
    }
    return false;
}

QList<Path> ListMatchingFiles(const Path &folder, const QString &pattern)
{
    OpenFolder listing(folder.withSeparator(), /*followLink=*/true);
    if (!listing.isOpen())
        return {};
    const QList<ListedFile> files = MatchingFiles(listing, WildcardPattern(pattern));
    QList<Path> names;
    names.reserve(files.size());
    for (const ListedFile &file : files)
        names.append(file.name);
    return names;
}

void AddFilesFromFolders(const QList<Path> &folders, const QString &pattern, QList<Path> &items,
                         QList<UnreadFolder> *unread, bool brokenLinksToo)
{
    const WildcardPattern matcher(pattern);
    KernelFileSystems kernel;
    // A failure part way still leaves the items found before it.
    QList<Path> &accepted = items;
    const auto noteUnread = [unread](const Path &folder, int error) {
        if (unread)
            unread->append(UnreadFolder{folder, error});
    };

    for (const Path &entry : folders) {
        OpenFolder listing(entry.withSeparator(), /*followLink=*/true);
        if (!listing.isOpen()) {
            noteUnread(entry, listing.error());
            continue;
        }
        // In a folder that may be read but not entered, no file can be
        // opened: none is listed, and the folder is named as unread.
        if (::faccessat(listing.fd(), ".", X_OK, AT_EACCESS) != 0)
            noteUnread(entry, errno);
        // The chosen root "/" makes entries "//" and "//usr/...": the separator
        // is collapsed once per folder, as no name holds one.
        const Path prefix = entry.withSeparator().collapsed();
        for (const ListedFile &file : MatchingFiles(listing, matcher, brokenLinksToo)) {
            if (file.name.bytes().startsWith('~') ||
                !IsAcceptedFile(listing, file, kernel, brokenLinksToo))
                continue;
            accepted.append(prefix.child(file.name));
        }
    }
}

} // namespace velunor::filelist::AddFolder
