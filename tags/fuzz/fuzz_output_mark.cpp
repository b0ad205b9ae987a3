// Any bytes as an output's mark: read as its path and numbers, or as none.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckOutputMark)
