#pragma once

#include "platform/Result.h"

#include <QString>

namespace velunor::conversion {

// The steps of a run that a front end may be told have failed. Steps that
// come once per converter file (the program and its four libraries) carry
// the file's place among them, from 0.
// Every other step of a run either cannot fail or is a file's own outcome.
enum class RunStep {
    LoadConverterFile, // the file's bytes, as the executable carries them
    WriteStagedFile,   // staging it
};

// One failed step.
struct StepFailure {
    RunStep step = RunStep::LoadConverterFile;
    int index = 0; // the converter file's place, for the steps that have one
    Failure failure;
};

// What a step is, in words, for a front end that tells failures in words.
QString DescribeStep(RunStep step, int index);

} // namespace velunor::conversion
