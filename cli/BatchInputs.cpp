#include "cli/BatchInputs.h"

#include "filelist/AddFolder.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchInputs)
};

const QString kPattern = QStringLiteral("*.mp3");

} // namespace

using filelist::SearchRequest;

QList<Path> MissingPaths(const QList<Path> &paths)
{
    QList<Path> missing;
    for (const Path &path : paths) {
        const Path absolute = platform::FileSystem::AbsoluteOf(path);
        if (!platform::Main::FolderExists(absolute) &&
            !platform::AddFolder::IsExistingFile(absolute))
            missing << path;
    }
    return missing;
}

Expected<QList<Path>> ReadPathList(const Path &source, bool nulSeparated)
{
    const bool standardInput = source.bytes() == "-";
    const QString named =
        standardInput ? Words::tr("standard input") : QStringLiteral("\"%1\"").arg(source.text());
    QFile file;
    const Done opened =
        standardInput
            ? (file.open(stdin, QIODevice::ReadOnly) ? Done() : Done(Failure::OfErrno(EIO)))
            : platform::FileSystem::Open(file, source, QIODevice::ReadOnly);
    if (!opened)
        return Failure::Because(Words::tr("the list of paths %1 cannot be read (%2)")
                                    .arg(named, opened.failure().words));
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure::Because(
            Words::tr("the list of paths %1 cannot be read (%2)").arg(named, file.errorString()));
    // Windows editors begin a list saved as UTF-8 with the byte order mark,
    // which no path begins with.
    if (!nulSeparated && content.startsWith("\xef\xbb\xbf"))
        content.remove(0, 3);
    const char separator = nulSeparated ? '\0' : '\n';
    if (content.endsWith(separator))
        content.chop(1);
    QList<Path> paths;
    if (content.isEmpty())
        return paths;
    QList<QByteArray> entries = content.split(separator);
    // A list written on Windows ends every line with CR LF; no one names all
    // of their files with a CR at the end.
    if (!nulSeparated && std::all_of(entries.begin(), entries.end(),
                                     [](const QByteArray &line) { return line.endsWith('\r'); })) {
        for (QByteArray &line : entries)
            line.chop(1);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].isEmpty())
            return Failure::Because(
                (nulSeparated ? Words::tr("the list of paths %1 holds an empty path (entry %2)")
                              : Words::tr("the list of paths %1 holds an empty path (line %2)"))
                    .arg(named, QString::number(i + 1)));
        paths << Path::FromBytes(entries[i]);
    }
    return paths;
}

SearchRequest InputSearch(const QList<Path> &paths, const Path &outputFolder,
                          QList<UnsearchedFolder> &unsearched, bool inPlace)
{
    SearchRequest request;
    request.pattern = kPattern;
    request.options.excluded = outputFolder;
    // A link in the collection that leads nowhere is named in the summary,
    // so that "every file was converted" stays true.
    request.options.brokenLinksToo = true;
    const Path outputReal = platform::FileSystem::RealPathOf(outputFolder);
    for (const Path &path : paths) {
        const Path absolute = platform::FileSystem::AbsoluteOf(path);
        if (!inPlace && platform::Main::FolderExists(absolute) && !outputReal.isEmpty() &&
            platform::FileSystem::RealPathOf(absolute).isWithin(outputReal)) {
            unsearched << UnsearchedFolder{
                absolute, Words::tr("it is the output folder or lies in it, where the "
                                    "outputs go")};
            continue;
        }
        request.entries << absolute;
    }
    return request;
}

Path FolderBelow(const Path &file, const Path &root)
{
    const Path folder = file.folder().withSeparator();
    if (root.isEmpty() || !folder.bytes().startsWith(root.bytes()))
        return Path();
    return Path::FromBytes(folder.bytes().mid(root.size()));
}

QList<UnsearchedFolder> UnreadFolders(const filelist::SearchResult &result)
{
    QList<UnsearchedFolder> unread;
    for (const filelist::AddFolder::UnreadFolder &folder : result.unread) {
        const bool told =
            std::any_of(unread.cbegin(), unread.cend(), [&folder](const UnsearchedFolder &one) {
                return one.folder == folder.folder;
            });
        if (!told)
            unread << UnsearchedFolder{folder.folder,
                                       platform::FileSystem::SystemMessage(folder.error)};
    }
    return unread;
}

} // namespace velunor::cli
