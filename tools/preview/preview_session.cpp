#include "tools/preview/preview_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "src/elapsed_time.h"
#include "src/frame_clock.h"
#include "sync/choreography.h"
#include "tools/offline/frame_grid.h"
#include "tools/offline/offline_frames.h"
#include "tools/preview/console.h"
#include "tools/preview/live_choreography.h"

namespace {

std::string row_text(int32_t row) { return "row " + std::to_string(row); }

std::string ms_text(std::chrono::system_clock::time_point from, std::chrono::system_clock::time_point to) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", ms_between(from, to));
  return text;
}

}  // namespace

PreviewSession::PreviewSession(HeadlessIntro& intro, platform::AudioDevice& sound, LiveChoreography* live,
                               Console& console, std::chrono::steady_clock::duration replay_slice)
    : intro_(intro),
      sound_(sound),
      live_(live),
      console_(console),
      replay_slice_(replay_slice),
      end_(std::min(platform::block_frames(soundtrack_block, soundtrack_format),
                    seconds_to_position(kEndSeconds))) {}

uint32_t PreviewSession::now() {
  if (pending_) return *pending_;
  if (landing_) return landing_->target;
  if (paused_) return shown_;
  sound_.position(heard_);
  return std::min(heard_.sample, end_);
}

void PreviewSession::seek(uint32_t position) {
  pending_ = std::min(position, end_);
  pending_keeps_particles_ = false;
}

void PreviewSession::command(Command c) {
  switch (c) {
    case Command::PlayPause: return toggle_pause();
    case Command::BarBack: return seek(moved(now(), -int64_t{kBarFrames}, end_));
    case Command::BarForward: return seek(moved(now(), kBarFrames, end_));
    case Command::BeatBack: return seek(moved(now(), -int64_t{kBeatFrames}, end_));
    case Command::BeatForward: return seek(moved(now(), kBeatFrames, end_));
    case Command::SectionBack: return seek(row_position(previous_section(whole_row(now()))));
    case Command::SectionForward: {
      const int32_t row = whole_row(now());
      if (next_section(row) != row) seek(row_position(next_section(row)));
      return;
    }
    case Command::Home: return seek(0);
    case Command::LoopStart:
      loop_.start = whole_row(now());
      return console_.say("loop start at " + row_text(loop_.start));
    case Command::LoopEnd: loop_.end = whole_row(now()); return console_.say("loop end at " + row_text(loop_.end));
    case Command::LoopToggle: return toggle_loop();
  }
}

// The sound resumes from the picture that stood, not from where the device
// had got to when it was held.
void PreviewSession::toggle_pause() {
  if (!paused_) {
    paused_ = true;
    sound_.pause(true);
    return;
  }
  paused_ = false;
  if (landing_) return;                           // the sound goes on when the landing's picture is drawn
  if (!pending_ && shown_ >= end_) pending_ = 0;  // at the end, play starts over
  if (!pending_) sound_.seek(shown_);
  sound_.pause(false);
}

void PreviewSession::toggle_loop() {
  if (!loop_.on && !loop_.usable()) {
    return console_.say("the loop needs its start before its end: mark them with [ and ]");
  }
  loop_.on = !loop_.on;
  console_.say(std::string(loop_.on ? "looping rows " : "no longer looping rows ") + std::to_string(loop_.start) +
               " to " + std::to_string(loop_.end));
}

bool PreviewSession::step() {
  take_saved_lists();
  if (pending_) {
    const uint32_t target = *pending_;
    const bool keep_particles = pending_keeps_particles_;
    pending_.reset();
    pending_keeps_particles_ = false;
    land(target, keep_particles);
    return true;
  }
  if (landing_) {
    go_on_landing();
    return true;
  }
  if (paused_) {
    if (!redraw_) return false;
    draw(shown_);
    return true;
  }
  const uint32_t position = now();
  if (loop_.on && loop_.usable() && position >= row_position(loop_.end)) {
    land(row_position(loop_.start));
    return true;
  }
  draw(position);
  if (position >= end_) {
    paused_ = true;
    sound_.pause(true);
  }
  return true;
}

std::optional<ReplayProgress> PreviewSession::replay_progress() const {
  if (!landing_) return std::nullopt;
  return ReplayProgress{landing_->target, landing_->replay.done(), landing_->replay.total()};
}

// Sound and picture move together: the sound is held while the carried
// effects are replayed, so it goes on from the first frame drawn there. A
// landing cut short by another leaves a part-made particle field, which the
// next one's plan zeroes unless both keep the field.
void PreviewSession::land(uint32_t position, bool keep_particles) {
  sound_.pause(true);
  sound_.seek(position);
  Priming plan = replay_plan(position, keep_particles);
  if (plan.frames.size() > 1)
    console_.say("replaying " + std::to_string(plan.frames.size()) +
                 " earlier frames for the sun shafts and logo particles");
  landing_.emplace(Landing{position, keep_particles, SlicedReplay(std::move(plan), kReplayFps)});
  go_on_landing();
}

void PreviewSession::go_on_landing() {
  if (!landing_->replay.advance(intro_, replay_slice_)) return;
  const uint32_t position = landing_->target;
  landing_.reset();
  draw(position);
  if (!paused_) sound_.pause(false);
}

Priming PreviewSession::replay_plan(uint32_t position, bool keep_particles) const {
  Priming plan = plan_priming(position, kReplayFps, intro_glitch_credits());
  if (keep_particles) {
    plan.reset_particles = false;
    std::erase_if(plan.frames,
                  [](int64_t k) { return position_row(frame_position(k, kReplayFps)) >= kShaftsEndRow; });
  }
  return plan;
}

void PreviewSession::draw(uint32_t position) {
  render_frame_at(intro_, position);
  shown_ = position;
  redraw_ = false;
  ++frames_drawn_;
  if (saved_at_) {
    console_.say("the save is on screen " + ms_text(*saved_at_, std::chrono::system_clock::now()) +
                 " ms after it was written (its keys were in after " + ms_text(*saved_at_, swapped_at_) + " ms)");
    saved_at_.reset();
  }
}

// New keys change the sun shafts' last frame, so where that frame is on
// screen it is drawn again. The logo particles depend on the keys only
// through where "PostProcess:glitchCredits" seeds them, so they are replayed
// from their seed only when that track changed; otherwise the field goes on
// as it was (a standing picture's field steps once more). Where neither
// effect is on screen the next frame simply uses the new keys.
void PreviewSession::take_saved_lists() {
  if (!live_) return;
  const LiveChoreography::Applied applied = live_->apply_saved();
  if (applied.tracks.empty()) return;
  if (applied.saved_at) saved_at_ = applied.saved_at;
  swapped_at_ = std::chrono::system_clock::now();
  const bool seeding = std::find(applied.tracks.begin(), applied.tracks.end(), kGlitchCreditsTrack) !=
                       applied.tracks.end();
  const uint32_t here = now();
  // A replay under way drew its frames with the old keys: it starts over.
  if (!landing_ && replay_plan(here, !seeding).frames.empty()) {
    redraw_ = true;
  } else {
    // A move already waiting replays everything, and so does this landing then.
    const bool kept = pending_ ? pending_keeps_particles_ : !landing_ || landing_->keeps_particles;
    pending_keeps_particles_ = kept && !seeding;
    pending_ = here;
  }
}
