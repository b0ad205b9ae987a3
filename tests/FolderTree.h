#pragma once

// A folder tree of empty files in a temporary folder, for the folder-search
// tests.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::testing {

class FolderTree {
public:
    // Each relative path ending in "/" is a folder, every other one an empty
    // file; missing parent folders are made as needed.
    explicit FolderTree(const QStringList &paths = {}) { add(paths); }

    bool isValid() const { return temporary_.isValid(); }

    void add(const QStringList &paths)
    {
        for (const QString &relative : paths) {
            const QString full = path(relative);
            if (relative.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(full);
            } else {
                QDir().mkpath(QFileInfo(full).absolutePath());
                QFile file(full);
                if (file.open(QIODevice::WriteOnly))
                    file.write("x");
            }
        }
    }

    // Makes below `relative` a chain of `levels` folders with names of 200
    // characters, whose deepest paths are longer than a path may be.
    bool addTooDeepChain(const QString &relative, int levels)
    {
        int fd = ::open(QFile::encodeName(path(relative)).constData(), O_DIRECTORY | O_RDONLY);
        const QByteArray name(200, 'n');
        for (int level = 0; level < levels && fd >= 0; ++level) {
            if (::mkdirat(fd, name.constData(), 0755) != 0) {
                ::close(fd);
                return false;
            }
            const int deeper = ::openat(fd, name.constData(), O_DIRECTORY | O_RDONLY);
            ::close(fd);
            fd = deeper;
        }
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }

    // The absolute path of `relative`; the tree's own folder for "".
    QString path(const QString &relative = QString()) const
    {
        return relative.isEmpty() ? temporary_.path() : temporary_.path() + u'/' + relative;
    }

    // `absolute` paths made relative to the tree, for short expectations.
    QStringList relative(const QStringList &absolute) const
    {
        QStringList result;
        const QString prefix = temporary_.path() + u'/';
        for (const QString &one : absolute)
            result << (one.startsWith(prefix) ? one.mid(prefix.size()) : one);
        return result;
    }

    ~FolderTree()
    {
        // A chain too deep to be removed by path is removed folder by folder.
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), temporary_.path()});
    }

private:
    QTemporaryDir temporary_;
};

} // namespace velunor::testing
