#include "src/soundtrack.h"

#include <cstdio>
#include <cstdlib>

#include "src/asset_catalog.h"
#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "platform/program_name.h"

namespace {

// A caller's device is kept; otherwise the default output.
void open_output(PlaybackState& state) {
  if (!state.wave_out) state.wave_out = platform::make_system_audio_device();
  state.wave_out = opened_or_wall_clock(std::move(state.wave_out), soundtrack_format);
}

}  // namespace

// When the output cannot be opened, a silent wall clock, so the intro still
// runs in real time and ends on time instead of standing at its first frame.
std::unique_ptr<platform::AudioDevice> opened_or_wall_clock(std::unique_ptr<platform::AudioDevice> device,
                                                            const platform::WaveFormat& format) {
  if (device->open(format)) return device;
  std::fprintf(stderr, "%s: no audio device could be opened; running silently on the wall clock\n",
               platform::program_name());
  device = platform::make_wall_clock_audio_device();
  device->open(format);
  return device;
}

void playback_start(PlaybackState& state) {
  const AssetBytes stream = soundtrack_asset();
  if (!decode_soundtrack(stream.data, stream.size)) std::exit(1);
  state.registry = start_sync_tracks();
  open_output(state);
  state.wave_out->prepare(soundtrack_block);
  state.wave_out->write(soundtrack_block);
}

std::uint32_t playback_position(PlaybackState& state) {
  if (state.wave_out) state.wave_out->position(state.position);
  return state.position.sample;
}

void playback_shutdown(PlaybackState& state) {
  if (state.wave_out) {
    state.wave_out->stop();
    state.wave_out->unprepare(soundtrack_block);
    state.wave_out->close();
    state.wave_out.reset();
  }
  release_soundtrack_pcm();
  registry_destroy(state.registry);
  state.registry = nullptr;
  for (Track*& entry : track_table) entry = nullptr;
}
