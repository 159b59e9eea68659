// velmorand-preview: the author's player. The intro in a normal window with
// its sound, to seek, pause and loop, with the choreography live from text.
#include <chrono>
#include <cstdio>
#include <deque>
#include <thread>

#include "platform/window/window.h"
#include "src/soundtrack.h"
#include "tools/offline/frame_grid.h"
#include "tools/preview/console.h"
#include "tools/preview/live_choreography.h"
#include "tools/preview/preview_keys.h"
#include "tools/preview/preview_options.h"
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
                                          }},
                                     &error);
  if (!p.window) return fail(kBadArguments, error);
  p.intro =
      start_headless_intro({.screen = o.size, .timing = true, .window = p.window->native_handle()}, &error);
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
  const StatusFields fields{session.shown_position(), session.paused(), session.loop(),
                            refresh.fps(session.frames_drawn(), now), p.intro->device->last_frame_timings()};
  if (auto text = refresh.take(status_text(fields), session.frames_drawn(), now)) {
    console.status(*text);
    p.window->set_title(("Velmorand preview | " + *text).c_str());
  }
  // A held picture is shown again, so a resized window does not stay empty.
  if (session.paused()) p.intro->device->present(1);
}

void play(Player& p, PreviewSession& session, Console& console) {
  StatusRefresh refresh(StatusRefresh::Clock::now());
  for (;;) {
    while (p.window->handle_one_event()) {
    }
    if (p.window->escape_pressed() || p.window->closed()) return;
    for (; !p.commands.empty(); p.commands.pop_front()) session.command(p.commands.front());
    const bool drew = session.step();
    show_status(p, session, refresh, console);
    if (!drew) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

int main(int argc, char** argv) {
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
  play(player, session, console);
  player.sound->stop();
  player.sound->unprepare(soundtrack_block);
  player.sound->close();
  stop_headless_intro(*player.intro);
  return 0;
}
