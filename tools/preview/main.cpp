// velmorand-preview: the author's player. The intro in a normal window with
// its sound, to seek, pause and loop, with the choreography live from text.
#include <chrono>
#include <cstdio>
#include <deque>
#include <thread>

#include "platform/program_name.h"
#include "platform/window/window.h"
#include "src/elapsed_time.h"
#include "src/soundtrack.h"
#include "tools/common/os_process.h"
#include "tools/offline/frame_grid.h"
#include "tools/preview/console.h"
#include "tools/preview/live_choreography.h"
#include "tools/preview/preview_keys.h"
#include "tools/preview/preview_options.h"
#include "tools/preview/resize_settle.h"
#include "tools/preview/status_line.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kNoDevice = 3;

struct Player {
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<HeadlessIntro> intro;
  std::unique_ptr<LiveChoreography> live;
  std::unique_ptr<platform::AudioDevice> sound;
  std::deque<Command> commands;
  ResizeSettle resize;
};

// Window, runtime and (with --choreography) the live lists; false after
// saying why, with the exit status in `status`.
bool open_player(const PreviewOptions& o, Console& console, Player& p, int* status) {
  auto fail = [&](int code, const std::string& why) {
    console.say(why);
    *status = code;
    return false;
  };
  std::string error;
  platform::DesktopSize desktop;
  if (!platform::desktop_size(&desktop, &error)) return fail(kBadArguments, error);
  p.window = platform::create_window({.title = "Velmorand preview",
                                      .app_name = "velmorand-preview",
                                      .width = o.size.width,
                                      .height = o.size.height,
                                      .windowed = true,
                                      .on_key =
                                          [&p](const platform::KeyPress& press) {
                                            if (auto c = command_for(press)) p.commands.push_back(*c);
                                          },
                                      .on_resize =
                                          [&p](int width, int height) {
                                            p.resize.resized({width, height}, ResizeSettle::Clock::now());
                                          }},
                                     &error);
  if (!p.window) return fail(kBadArguments, error);
  p.intro = start_headless_intro({.screen = o.size, .timing = true, .window = p.window->native_handle()}, &error);
  if (!p.intro) return fail(kNoDevice, error);
  if (!o.choreography.empty() && !(p.live = LiveChoreography::open(o.choreography, console, &error)))
    return fail(kBadArguments, error);
  p.sound = opened_or_wall_clock(platform::make_system_audio_device(), soundtrack_format);
  p.sound->prepare(soundtrack_block);
  p.sound->write(soundtrack_block);
  return true;
}

void show_status(Player& p, PreviewSession& session, StatusRefresh& refresh, Console& console) {
  const auto now = StatusRefresh::Clock::now();
  if (!refresh.due(now)) return;
  StatusFields fields{.position = session.shown_position(),
                      .paused = session.paused(),
                      .loop = session.loop(),
                      .fps = refresh.fps(session.frames_drawn(), now),
                      .timings = p.intro->device->last_frame_timings()};
  // During a replay the status says where the player is going.
  if (const auto replay = session.replay_progress())
    fields.position = replay->target, fields.replayed = replay->done, fields.replay_total = replay->total;
  if (auto text = refresh.take(status_text(fields), session.frames_drawn(), now)) {
    console.status(*text);
    p.window->set_title(("Velmorand preview | " + *text).c_str());
  }
  // A held picture is shown again, so a resized window does not stay empty.
  if (session.paused() && !session.replay_progress()) p.intro->device->present(1);
}

// The renderer made again at the size the window settled at; false after
// saying why when no device can be made at that size.
bool follow_window_size(Player& p, PreviewSession& session, Console& console) {
  const auto size = p.resize.settled(p.intro->options.screen, ResizeSettle::Clock::now());
  if (!size) return true;
  const auto start = std::chrono::steady_clock::now();
  std::string error;
  if (!remake_headless_renderer(*p.intro, *size, &error)) {
    console.say("cannot draw at " + std::to_string(size->width) + "x" + std::to_string(size->height) + ": " +
                error);
    return false;
  }
  session.renderer_remade();
  const Renderer& r = *p.intro->renderer;
  const double ms = ms_since(start);
  const SetupTimings& t = p.intro->setup;
  char spent[160];
  std::snprintf(spent, sizeof spent,
                "%.0f ms: device %.0f, images %.0f, uploads %.0f, programs %.0f, lens dirt %.0f", ms,
                p.intro->device_ms, t.image_decode_ms, t.uploads_ms, t.programs_ms, t.lens_dirt_ms);
  console.say("drawing at " + std::to_string(r.renderWidth) + "x" + std::to_string(r.renderHeight) +
              " for the window's " + std::to_string(size->width) + "x" + std::to_string(size->height) +
              " (the renderer made again in " + spent + ")");
  return true;
}

// The exit status once the author quits.
int play(Player& p, PreviewSession& session, Console& console) {
  StatusRefresh refresh(StatusRefresh::Clock::now());
  for (;;) {
    while (p.window->handle_one_event()) {
    }
    if (p.window->escape_pressed() || p.window->closed()) return 0;
    if (!follow_window_size(p, session, console)) return kNoDevice;
    for (; !p.commands.empty(); p.commands.pop_front()) session.command(p.commands.front());
    const bool drew = session.step();
    show_status(p, session, refresh, console);
    if (!drew) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

int main(int argc, char** argv) {
  platform::set_program_name("velmorand-preview");
  os::enable_terminal_escapes();  // the status line redraws itself in place
  Console console(stderr);
  std::string error;
  const auto options = parse_preview_options(argc, argv, &error);
  if (!options) {
    console.say(error + " (velmorand-preview --help lists the options)");
    return kBadArguments;
  }
  if (options->help) {
    std::fputs(kPreviewUsage, stdout);
    return 0;
  }
  Player player;
  int status = 0;
  if (!open_player(*options, console, player, &status)) return status;
  PreviewSession session(*player.intro, *player.sound, player.live.get(), console);
  session.seek(seconds_to_position(options->at));
  const int played = play(player, session, console);
  player.sound->stop();
  player.sound->unprepare(soundtrack_block);
  player.sound->close();
  stop_headless_intro(*player.intro);
  return played;
}
