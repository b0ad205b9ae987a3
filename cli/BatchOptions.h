#pragma once

#include "conversion/CommandLine.h" // ChannelMode

#include <QString>
#include <QStringList>

#include <optional>

namespace velunor::cli {

// What the program was asked on its command line, when that is not to open
// the window.
struct BatchOptions {
    enum class Request { Batch, Help, Version };

    Request request = Request::Batch;
    // Each unset one is taken from the stored choices or the machine.
    std::optional<ChannelMode> mode;
    std::optional<QString> outputFolder;
    std::optional<int> jobs;
    // Files and folders, in the order given.
    QStringList paths;
};

// The options, or why they cannot be taken: one line for the user, which the
// caller follows with the hint to --help.
struct ParsedOptions {
    BatchOptions options;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the arguments that follow the program's name. Options may come
// anywhere before "--", as "--output FOLDER" or "--output=FOLDER"; --help and
// --version win over everything else. Everything that is not an option is a
// path.
ParsedOptions ParseOptions(const QStringList &arguments);

// True when the command line asks for no window: it names --batch, --help,
// -h, --version or one of the batch options before any "--". Looked at before
// anything of the window is made, so it reads the raw arguments.
bool WantsCommandLine(int argc, const char *const *argv);

// The channel mode of a --mode value ("mix", "left", "right"); none for any
// other text.
std::optional<ChannelMode> ModeNamed(const QString &name);
// The --mode value of a channel mode.
QString NameOfMode(ChannelMode mode);

QString HelpText();
QString VersionText();

} // namespace velunor::cli
