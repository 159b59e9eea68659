#pragma once
// The author's player around the intro's runtime: the sound device is the
// clock, as in the intro, and each frame is drawn at its position; the keys
// pause, seek and loop both together. A seek first replays what the two
// carried effects need (the capture's priming: the last sun-shaft frame, the
// logo particles from their seed), so the picture after it is the one a
// capture of that time shows; the replay runs a slice a step, and a move
// made meanwhile starts over from the new place. The window, or a test, feeds
// it commands and calls step() once per turn of its loop.
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/audio/audio_device.h"
#include "src/headless_intro.h"
#include "tools/offline/priming.h"
#include "tools/preview/sliced_replay.h"
#include "tools/preview/transport.h"

class Console;
class LiveChoreography;

enum class Command {
  PlayPause,
  BarBack,
  BarForward,
  BeatBack,
  BeatForward,
  SectionBack,
  SectionForward,
  Home,
  LoopStart,
  LoopEnd,
  LoopToggle,
};

// Frames a second of the grid the carried effects are replayed on after a
// seek, the capture's default: a capture at this rate shows the same picture.
inline constexpr int kReplayFps = 60;

// How long one step may replay before the window's events are handled again.
inline constexpr std::chrono::milliseconds kReplaySlice{50};

// A landing under way: where, and how far its replay has got.
struct ReplayProgress {
  uint32_t target = 0;
  int64_t done = 0;
  int64_t total = 0;
};

class PreviewSession {
 public:
  // `sound` is open, prepared and written; `live` may be null (compiled-in keys).
  PreviewSession(HeadlessIntro& intro, platform::AudioDevice& sound, LiveChoreography* live, Console& console,
                 std::chrono::steady_clock::duration replay_slice = kReplaySlice);

  void command(Command c);
  // Starts (or moves) the player at `position` at the next step.
  void seek(uint32_t position);
  // The renderer was made again (at a new size): the next step draws where
  // the player is, the carried effects replayed as after a move.
  void renderer_remade() { seek(now()); }
  // One turn: saved lists are swapped in, a pending seek or a loop wrap is
  // carried out (or its replay goes on), and a frame is drawn when playing or
  // when the picture must change. True when a frame was drawn or replayed.
  bool step();

  uint32_t shown_position() const { return shown_; }  // of the picture last drawn
  bool paused() const { return paused_; }
  const LoopRange& loop() const { return loop_; }
  uint32_t end_position() const { return end_; }
  long frames_drawn() const { return frames_drawn_; }
  std::optional<ReplayProgress> replay_progress() const;

 private:
  uint32_t now();  // where the player is: the pending seek, the standing picture or the sound
  void toggle_pause();
  void toggle_loop();
  void land(uint32_t position, bool keep_particles = false);
  void go_on_landing();
  // What to draw first so the carried effects at `position` are right; with
  // `keep_particles` only the sun shafts' frame, the field staying as it is.
  Priming replay_plan(uint32_t position, bool keep_particles) const;
  void draw(uint32_t position);
  void take_saved_lists();

  HeadlessIntro& intro_;
  platform::AudioDevice& sound_;
  LiveChoreography* live_;
  Console& console_;
  std::chrono::steady_clock::duration replay_slice_;
  uint32_t end_;
  uint32_t shown_ = 0;
  long frames_drawn_ = 0;
  bool paused_ = false;
  bool redraw_ = false;
  std::optional<uint32_t> pending_;
  bool pending_keeps_particles_ = false;  // a landing for new keys, not a move
  LoopRange loop_;
  struct Landing {
    uint32_t target;
    bool keeps_particles;
    SlicedReplay replay;
  };
  std::optional<Landing> landing_;                                 // the sound is held until its picture is drawn
  platform::AudioPosition heard_;                                  // the sound's last answer
  std::optional<std::chrono::system_clock::time_point> saved_at_;  // of lists not yet drawn
  std::chrono::system_clock::time_point swapped_at_;               // when their keys went in
};
