#pragma once

#include "platform/Path.h"

namespace velunor::platform {

// The file at `relative` (such as "modules/x.so") beside this program's
// executable, found through the executable's real path, which the kernel
// knows even when it was started through a link. `relative` as it is when
// that path cannot be read.
Path FileBesideProgram(const char *relative);

} // namespace velunor::platform
