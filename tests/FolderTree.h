#pragma once

// A folder tree of empty files in a temporary folder, for the folder-search
// tests.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

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

private:
    QTemporaryDir temporary_;
};

} // namespace velunor::testing
