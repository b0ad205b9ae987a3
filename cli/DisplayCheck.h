#pragma once

#include <QByteArray>

#include <optional>

namespace velunor::cli {

// What keeps the window from opening.
struct DisplayProblem {
    enum class Kind { NoneNamed, NotAnswering };
    Kind kind = Kind::NoneNamed;
    QByteArray display; // DISPLAY as set, for NotAnswering
};

// Why the window cannot open here, when that is certain before trying: no
// display is named at all (a console, ssh without X forwarding), or the X
// display named is one on this machine whose socket nobody answers (a
// DISPLAY left over from an earlier session). Nothing when the window may
// open; Qt then decides. Qt itself would end the window program with an
// abort and a core dump.
std::optional<DisplayProblem> FindDisplayProblem();

// Tells `problem` on standard error, in the user's language, with the way
// to convert without the window, and returns the exit status for it.
int TellNoDisplay(int argc, char **argv, const DisplayProblem &problem);

} // namespace velunor::cli
