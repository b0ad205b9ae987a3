#pragma once

#include "platform/Path.h"

#include <QByteArrayList>

namespace velunor::conversion {

// Running the converter.
namespace Shell32 {

// The converter's environment: this program's, without SOX_OPTS (which
// could add options to every command line), and with `stagingFolder` first
// in LD_LIBRARY_PATH so that the staged libraries are the ones loaded.
QByteArrayList ConverterEnvironment(const Path &stagingFolder);

// `environment` for converting an MP3 input: the program's module that keeps
// SoX to its MP3 module is loaded first, so that SoX does not open every
// format module it has at each start. `environment` as it is when that module
// is missing or its path cannot be named in LD_PRELOAD.
QByteArrayList Mp3ConverterEnvironment(const QByteArrayList &environment);

} // namespace Shell32
} // namespace velunor::conversion
