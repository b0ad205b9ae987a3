#pragma once

#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "platform/Processes.h"

namespace velunor {

// The converter a run uses, for the questions the checks ask it.
struct StagedConverter {
    QString path;
    QStringList environment;
};

// How a converter's output fared in the checks before it may take its final
// name.
struct CheckedOutput {
    FileOutcome::Result result = FileOutcome::Result::Converted;
    QString detail;
    int number = 0;
};

// Once the converter of `plan` has ended: decides whether its temporary
// output is a whole conversion (the converter ended well and the output holds
// as much audio as the input, within half a second) and, when it is, copies
// the input's tags onto it and writes it through to the disk. The output is
// left under its temporary name either way. Reads and writes files only, so
// it runs on a worker thread.
CheckedOutput CheckAndCompleteOutput(const FilePlan &plan, const ProcessEnd &end,
                                     const QByteArray &errorOutput,
                                     const StagedConverter &converter);

// The length of the audio in `path` in seconds: the MPEG frames counted,
// or, for any other kind of file, what the converter reads in it. None when
// neither can tell.
std::optional<double> AudioSeconds(const QString &path, const StagedConverter &converter);

// Gives a completed output its final name, replacing what was there in one
// step. Returns "" or the reason in words; the temporary output is removed
// when it cannot be put in place.
QString PutOutputInPlace(const FilePlan &plan);

} // namespace velunor
