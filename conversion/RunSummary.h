#pragma once

#include "conversion/FileOutcome.h"

#include <QList>
#include <QString>

namespace velunor::conversion {

// What a conversion run tells the user at its end: "Done." (or "Stopped."
// when the user stopped it) alone when every file was converted as asked,
// under its own name, without a warning, and nothing of the user's was moved
// aside. Otherwise that word, then how many files were up to date and how
// many inputs went to the Trash, then the files that were not converted, each
// with its reason, then the warnings, each with its file, then the files
// saved under another name or in place of a file of the user's, each with
// where it went and why, then the inputs that stayed although they were to go
// to the Trash, each with why, then the files that were mono already. The
// message cuts each list short after a few lines; the details hold every one.
// Lines are separated by CR LF.
class RunSummary {
public:
    static constexpr int kListedAtMost = 10;

    // How one file of the run ended.
    void add(const FileOutcome &outcome);
    void addNotConverted(const Path &path, const QString &reason);
    // Something the user should know of the converted file at `path`.
    void addWarning(const Path &path, const QString &words);
    void setStopped(bool stopped) { stopped_ = stopped; }

    QString message() const;
    // Every file of every list; "" when the message holds no list.
    QString details() const;
    // The first line of the message: "Done." or "Stopped.".
    QString heading() const;
    // The counts in one line, for a notice outside the window: "All 12
    // files were converted." or "3 of 12 files were not converted."; files
    // found up to date count as neither.
    QString counts() const;
    int notConvertedCount() const { return static_cast<int>(notConverted_.size()); }
    int warningCount() const { return static_cast<int>(warnings_.size()); }

private:
    QString text(qsizetype listedAtMost) const;

    QStringList notConverted_; // "path - reason"
    QStringList movedAside_;   // "input -> output - why", "input - what of the user's moved"
    QStringList inputsKept_;   // "input - why it is not in the Trash"
    QStringList warnings_;     // "input - warning"
    QStringList alreadyMono_;  // "input - already mono: ..."
    int converted_ = 0;
    int upToDate_ = 0;
    int inputsTrashed_ = 0;
    bool stopped_ = false;
};

} // namespace velunor::conversion
