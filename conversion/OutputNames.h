#pragma once

#include <QString>

#include <QSet>
#include <mutex>

namespace velunor {

// Why an output is not saved under the name its input gives it.
enum class NameChange {
    None,
    SameNameInList,    // an earlier file of the list has an output of that name
    RefusedCharacters, // the output's file system refuses a character of the name
};

// The names the outputs of one run take. The first file in list order keeps
// the name its input gives; a later one whose name another output of the
// run has taken gets "<name> (2).mp3", then " (3)", and so on. Names are
// compared without regard to case, as FAT, exFAT, NTFS and SMB compare them.
// The same list gives the same names every time. Thread-safe.
class OutputNames {
public:
    struct Claim {
        QString path;
        NameChange change = NameChange::None;
    };

    // Claims the output name of `inputPath` in the output folder written as
    // `folderText`. `folderKey` names that folder however its text is written
    // (its canonical path), so that "/out" and "/out/" share their names.
    Claim claim(const QString &folderKey, const QString &folderText, const QString &inputPath);
    // Claims a name for an output whose name `refusedPath` the file system
    // refused: the same name with every character that FAT-family file
    // systems refuse made "_" (see FileSystemSafeName), then made unique as
    // claim() does.
    Claim claimSafe(const QString &folderKey, const QString &refusedPath);

private:
    // The name `base` + ".mp3", or the first of "<base> (2).mp3", ... that
    // no output of the run has taken; numbered ones count as renamed because
    // of a file of the same name.
    Claim claimUnique(const QString &folderKey, const QString &folderText, const QString &base);

    std::mutex mutex_;
    QSet<QString> taken_; // folder key + "/" + case-folded name
};

// `base` (a file name without its extension) with each character that FAT,
// exFAT, NTFS and SMB refuse (" * : < > ? \ | and control characters) made
// "_", and without trailing dots and spaces. Never empty.
QString FileSystemSafeName(const QString &base);

} // namespace velunor
