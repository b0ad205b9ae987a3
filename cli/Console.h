#pragma once

#include <QString>

#include <cstdio>

namespace velunor::cli {

// Where the command line writes: whole lines to its standard output and
// standard error and, on a terminal, one status line redrawn in place. A line
// written while the status line shows first clears it, so that nothing is
// written over it and it never stays behind.
class Console {
public:
    // `statusColumns` tells the terminal's width at each redraw; a console
    // without it shows no status line.
    Console(std::FILE *out, std::FILE *err, int (*statusColumns)(int fd) = nullptr);
    ~Console();
    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    bool showsStatus() const { return statusColumns_ != nullptr; }
    // The width of the terminal the status line is drawn on.
    int columns() const;

    // Draws `line` in place of the status line; nothing when it is unchanged.
    void showStatus(const QString &line);
    // Removes the status line, leaving the cursor at the start of its line.
    void clearStatus();

    // One line each; the line break is added.
    void printOut(const QString &line);
    void printError(const QString &line);

    // The errno value of the first write to either stream that failed (a
    // full disk, a closed pipe); 0 when none did. The run goes on regardless,
    // but its exit status tells, as GNU tools tell it.
    int writeError() const { return writeError_; }

private:
    void write(std::FILE *stream, const QString &text);

    int writeError_ = 0;
    std::FILE *out_;
    std::FILE *err_;
    int (*statusColumns_)(int fd);
    QString shownStatus_;
};

// The width of the terminal on `fd`; 80 when it cannot be told.
int TerminalColumns(int fd);
// True when `fd` is a terminal.
bool IsTerminal(int fd);

} // namespace velunor::cli
