// Any bytes as a file's name: shown as text that reads back to the same bytes.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckShownPath)
