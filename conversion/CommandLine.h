#pragma once

#include "platform/Path.h"

#include <QByteArrayList>
#include <QString>

namespace velunor {

// How the two channels of the input become the one of the output.
enum class ChannelMode { Mix, LeftOnly, RightOnly };

// The text that follows the converter path on a command line, built piece by
// piece together with the argument list it stands for. Every piece starts
// with one space, so the list is the faithful split of the text: quotes
// removed, nothing else. The program starts the converter from the list,
// never through a shell, so no character of a path is ever interpreted.
class ArgumentString {
public:
    // The argument string for one file:
    //   mix         " --no-glob "input" -c 1 --no-glob "output""
    //   left only   the mix form + " remix 1"
    //   right only  the mix form + " remix 2"
    // `encodingOptions` (see SoxEncodingOptions) follow "-c 1"; none by
    // default, which leaves the encoding to LAME's defaults.
    static ArgumentString ForMode(ChannelMode mode, const Path &inputPath, const Path &outputPath,
                                  const QStringList &encodingOptions = {});

    // Appends " " + word: an option or a value that holds no space or quote.
    ArgumentString &word(const QString &word);
    // Appends " " + the path, as people see it, between double quotes; the
    // argument is the path's bytes. A relative path that begins with "-"
    // gets "./" in front, so it is never read as an option.
    ArgumentString &quotedPath(const Path &path);

    const QString &text() const { return text_; }
    const QByteArrayList &arguments() const { return arguments_; }
    bool isEmpty() const { return arguments_.isEmpty(); }

private:
    QString text_;
    QByteArrayList arguments_;
};

// A command line: the program's path between double quotes, one space, and
// the argument string (which starts with a space of its own, so two spaces
// follow the program).
class CommandLine {
public:
    CommandLine(Path programPath, ArgumentString arguments);

    QString text() const;
    const Path &program() const { return program_; }
    const QByteArrayList &arguments() const { return arguments_.arguments(); }

private:
    Path program_;
    ArgumentString arguments_;
};

} // namespace velunor
