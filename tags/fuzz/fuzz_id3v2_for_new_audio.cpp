// Any bytes as the ID3v2 tag at the start of a file, made fit for new audio.
#include "FuzzTarget.h"

VELUNOR_FUZZ_TARGET(CheckId3v2ForNewAudio)
