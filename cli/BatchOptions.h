#pragma once

#include "conversion/CommandLine.h" // ChannelMode
#include "conversion/OutputQuality.h"
#include "conversion/RunOptions.h"
#include "platform/Path.h"

#include <QByteArrayList>
#include <QList>
#include <QString>

#include <optional>

namespace velunor::cli {

// What the program was asked on its command line, when that is not to open
// the window.
struct BatchOptions {
    enum class Request { Batch, Help, Version };

    Request request = Request::Batch;
    // Each unset one is taken from the stored choices or the machine.
    std::optional<conversion::ChannelMode> mode;
    std::optional<Path> outputFolder;
    std::optional<int> jobs;
    // None: the encoder's defaults, as the window converts.
    std::optional<conversion::OutputQuality> quality;
    // Files and folders, in the order given.
    QList<Path> paths;
    // Lists of more paths (a list named "-" is standard input), read after
    // the paths given; one path a line, or NUL-separated with --null.
    QList<Path> pathLists;
    bool nulSeparated = false;
    // Each file found in a folder given goes to the same folder below the
    // output folder.
    bool keepFolders = false;
    // What each file's output is besides: up to date ones are not made
    // again, dates are kept, inputs go to the Trash.
    conversion::RunOptions run;
};

// The options, or why they cannot be taken: one line for the user, which the
// caller follows with the hint to --help.
struct ParsedOptions {
    BatchOptions options;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the arguments that follow the program's name, as the bytes the
// program was given: paths are never decoded. Options may come anywhere
// before "--", as "--output FOLDER" or "--output=FOLDER"; --help and
// --version win over everything else. Everything that is not an option is a
// path; an empty one is refused (an unset variable in a script would
// otherwise name the current folder).
ParsedOptions ParseOptions(const QByteArrayList &arguments);

// True when the command line asks for no window: it names --batch, --help,
// -h, --version or one of the batch options before any "--". Looked at before
// anything of the window is made, so it reads the raw arguments.
bool WantsCommandLine(int argc, const char *const *argv);

// The channel mode of a --mode value ("mix", "left", "right"); none for any
// other text.
std::optional<conversion::ChannelMode> ModeNamed(const QString &name);
// The --mode value of a channel mode.
QString NameOfMode(conversion::ChannelMode mode);

QString HelpText();
QString VersionText();

} // namespace velunor::cli
