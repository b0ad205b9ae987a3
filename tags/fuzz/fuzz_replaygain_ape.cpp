// Any bytes as an APE tag (its footer at their end) that is read and
// written again, and whose ReplayGain values are made anew, and removed.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckApeWithReplayGain)
