#include "tools/capture/soundtrack_source.h"

#include "src/soundtrack.h"
#include "tools/offline/frame_grid.h"

PcmSource soundtrack_source() {
  PcmSource s;
  s.channels = soundtrack_format.channels ? soundtrack_format.channels : 2;
  s.rate = soundtrack_format.samples_per_sec ? soundtrack_format.samples_per_sec : kClockRate;
  s.samples = soundtrack_pcm;
  s.frames = soundtrack_pcm ? soundtrack_sample_count / s.channels : 0;
  return s;
}
