// Any bytes as the content of a comment or user text frame (the first byte
// names which), whose description is read in its text encoding.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckDescription)
