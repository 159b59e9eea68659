#pragma once
#include "dsp/stereo.h"

namespace music {

// Integrated loudness in LUFS after ITU-R BS.1770 (K-weighting, 400 ms
// blocks with 75 % overlap, absolute gate -70 LUFS, relative gate -10 LU).
// Returns -inf-like -200 for silence.
double integratedLoudness(const Stereo& signal, double sampleRate);

// The same meter without gates over [begin, end): the level of one section.
double sectionLoudness(const Stereo& signal, double sampleRate, size_t begin, size_t end);

} // namespace music
