#pragma once

#include <QList>
#include <QString>

namespace velunor {

// What a conversion run tells the user at its end: "Done." (or "Stopped."
// when the user stopped it) alone when every file was converted, otherwise
// that word, an empty line and the files that were not, each with its reason;
// a long list is cut short with a count of the rest. Lines are separated by
// CR LF.
class RunSummary {
public:
    static constexpr int kListedAtMost = 10;

    void addConverted() { ++converted_; }
    void addNotConverted(const QString &path, const QString &reason);
    void setStopped(bool stopped) { stopped_ = stopped; }
    QString message() const;
    // The first line of the message: "Done." or "Stopped.".
    QString heading() const;
    // The counts in one line, for a notice outside the window: "All 12
    // files were converted." or "3 of 12 files were not converted."
    QString counts() const;

private:
    struct Entry {
        QString path;
        QString reason;
    };
    QList<Entry> notConverted_;
    int converted_ = 0;
    bool stopped_ = false;
};

} // namespace velunor
