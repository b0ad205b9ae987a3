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

} // namespace Shell32
} // namespace velunor::conversion
