// Any bytes as an ID3v2 tag whose ReplayGain values are made anew, and
// removed.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckId3v2WithReplayGain)
