// Any bytes as a whole file whose tags at both ends are found: ID3v2 at the
// start, and ID3v1, APE, Lyrics3 and appended ID3v2 at the end.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckMpegLayout)
