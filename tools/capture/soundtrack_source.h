#pragma once
// The intro's decoded soundtrack as the source of a capture's sound.

#include "tools/common/wav_file.h"

// The PCM the start-up decoded (see decode_soundtrack); empty before that.
PcmSource soundtrack_source();
