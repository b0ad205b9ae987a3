#pragma once

namespace velunor::conversion {

// What a run does besides converting, the same for every file of it. The
// command line chooses them; the window keeps them all off.
struct RunOptions {
    // An input whose output, at the name the rules give it, carries the
    // input's mark with the size and modification time the input has now is
    // not converted again.
    bool skipUpToDate = false;
    // Each output takes its input's modification time.
    bool keepDates = false;
    // Each input goes to the desktop's Trash once its output is in place and
    // whole. An output may then take its input's own name, which the input
    // leaves for it: a folder is converted in place.
    bool trashInputs = false;
};

} // namespace velunor::conversion
