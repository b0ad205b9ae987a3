// Any bytes as a whole file whose MPEG audio frames are walked and counted.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckMeasureMpegAudio)
