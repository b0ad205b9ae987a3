#pragma once

#include "platform/Path.h"

#include <QFlags>
#include <QSet>
#include <QString>

#include <functional>
#include <mutex>

namespace velunor::conversion {

// Why an output is not saved under the name its input gives it.
enum class NameChange {
    None = 0,
    SameNameInList = 1,     // an earlier file of the list has an output of that name
    RefusedCharacters = 2,  // the output's file system refuses the name as it is
    HeldByAnotherInput = 4, // an output made from another input has that name
    UsersFileKept = 8,      // a file of the user's has that name, and no Trash could take it
    Shortened = 16,         // the name is longer than the output's file system takes
};
Q_DECLARE_FLAGS(NameChanges, NameChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(NameChanges)

// What the disk says of a name an output might take.
enum class NameUse {
    Free,               // nothing there, this input's earlier output, or a file of the user's
    HeldByAnotherInput, // an output of another input, which keeps its name
    Listed,             // a file of the list, or the input itself: never replaced
    UsersFileKept,      // a file of the user's that no Trash could take: it stays
};
using NameCheck = std::function<NameUse(const Path &candidate)>;

// The names the outputs of one run take. Each output takes the first of
// "<stem>.mp3", "<stem> (2).mp3", "<stem> (3).mp3", ... that no other output
// of the run has taken and that the disk does not hold for another input, so
// the first file in list order keeps the name its input gives and a
// collection converted in many runs ends with one output per input. Names are
// compared without regard to case, as FAT, exFAT, NTFS and SMB compare them.
// The same list gives the same names every time. Thread-safe.
class OutputNames {
public:
    struct Claim {
        Path path; // empty when no name could be had
        NameChanges changes;
    };

    // Claims the output name for the stem `stem` in the output folder
    // written as `folder`. `folderKey` names that folder however its text is
    // written (its real path), so that "/out" and "/out/" share their
    // names. `changes` says what made `stem` differ from the input's own.
    Claim claim(const Path &folderKey, const Path &folder, const Path &stem, NameChanges changes,
                const NameCheck &check);
    // Gives back `given`, the name an output held until the disk showed it
    // taken, and claims another as claim() does, in one step: the output's
    // own claim is not told as another file of the list.
    Claim claimInstead(const Path &folderKey, const Path &given, const Path &folder,
                       const Path &stem, NameChanges changes, const NameCheck &check);

private:
    Claim claimLocked(const QString &keyFolder, const Path &folder, const Path &stem,
                      NameChanges changes, const NameCheck &check);

    std::mutex mutex_;
    QSet<QString> taken_; // folder key + "/" + case-folded name as shown
};

// `stem` (a file name without its extension) made fit for a file system that
// takes only what Windows takes: each byte that FAT, exFAT, NTFS and SMB
// refuse (" * : < > ? \ | and control characters) and each byte that is not
// UTF-8 made "_", trailing dots and spaces dropped, and a name Windows keeps
// for a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case,
// before any extension) given "_" after it. Never empty.
Path WindowsSafeStem(const Path &stem);

// True when the file system of `folder` refuses the names that Windows
// refuses (FAT, exFAT, NTFS mounted for Windows, SMB): asked by making a
// hidden file whose name holds such characters, never by renaming (one FAT
// driver loses the file it was asked to rename to a name it refuses).
bool FolderRefusesWindowsNames(const Path &folder);

// True when the file system of `path`'s folder refuses `path`'s name, asked
// in the same way; false for names that hold nothing Windows refuses.
bool FileSystemRefusesName(const Path &path);

} // namespace velunor::conversion
