#include <SDL.h>
#include <SDL_vulkan.h>
#include <signal.h>

#include <atomic>
#include <cstring>

#include "platform/window/window.h"

namespace platform {

namespace {

volatile sig_atomic_t interrupted = 0;

void on_interrupt(int) { interrupted = 1; }

// Ctrl-C and SIGTERM end the intro the way Escape does, at whatever stage
// they come: the main loop (and the start-up between its steps) sees the
// window as closed. Installed whatever the inherited disposition, since a
// shell starts a background job with SIGINT ignored. SDL's own handlers
// would only queue a quit event, and only where nothing was installed.
void install_interrupt_handlers() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// SDL falls back to drivers that draw nowhere when no display answers.
bool draws_nowhere(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

constexpr char kCaptureHint[] = "; velmorand-capture renders the intro to a video or PNG files without one";

// Escape is latched by an event watch, which sees every key event as SDL
// pumps them, so a press between two polls is never lost even though the
// loop handles one queued event at a time.
int watch_escape(void* latch, SDL_Event* event) {
  if (event->type == SDL_KEYDOWN && event->key.keysym.scancode == SDL_SCANCODE_ESCAPE)
    static_cast<std::atomic<bool>*>(latch)->store(true);
  return 1;
}

Key key_of(SDL_Keycode code) {
  switch (code) {
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_SPACE: return Key::Space;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_HOME: return Key::Home;
    case SDLK_LEFTBRACKET: return Key::BracketLeft;
    case SDLK_RIGHTBRACKET: return Key::BracketRight;
    case SDLK_l: return Key::L;
    default: return Key::Other;
  }
}

class SdlWindow final : public Window {
 public:
  SdlWindow(SDL_Window* w, std::function<void(const KeyPress&)> on_key, std::function<void(int, int)> on_resize)
      : window_(w), on_key_(std::move(on_key)), on_resize_(std::move(on_resize)) {
    SDL_AddEventWatch(watch_escape, &escape_latch_);
  }
  ~SdlWindow() override {
    SDL_DelEventWatch(watch_escape, &escape_latch_);
    SDL_DestroyWindow(window_);
  }
  void* native_handle() override { return window_; }

  bool handle_one_event() override {
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return false;
    if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
      closed_ = true;
    if (event.type == SDL_KEYDOWN && on_key_)
      on_key_({key_of(event.key.keysym.sym), (event.key.keysym.mod & KMOD_SHIFT) != 0, event.key.repeat != 0});
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && on_resize_) {
      int width = 0, height = 0;
      SDL_Vulkan_GetDrawableSize(window_, &width, &height);
      on_resize_(width, height);
    }
    return true;
  }

  bool escape_pressed() override {
    SDL_PumpEvents();
    bool down = SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE] != 0;
    return escape_latch_.exchange(false) || down;
  }

  bool closed() const override { return closed_ || interrupted; }

  void set_title(const char* title) override { SDL_SetWindowTitle(window_, title); }

 private:
  SDL_Window* window_;
  std::function<void(const KeyPress&)> on_key_;
  std::function<void(int, int)> on_resize_;
  std::atomic<bool> escape_latch_{false};
  bool closed_ = false;
};

void set_icon(SDL_Window* window, const WindowDesc& desc) {
  if (!desc.icon_rgba || desc.icon_size <= 0) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(desc.icon_rgba),
                                                         desc.icon_size, desc.icon_size, 32, desc.icon_size * 4,
                                                         SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace

bool desktop_size(DesktopSize* out, std::string* error) {
  install_interrupt_handlers();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *error = std::string("no display (") + SDL_GetError() + ")" + kCaptureHint;
    return false;
  }
  if (draws_nowhere(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    *error = std::string("no display: neither DISPLAY nor WAYLAND_DISPLAY leads to a screen") + kCaptureHint;
    return false;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    *error = std::string("cannot read the desktop size: ") + SDL_GetError();
    return false;
  }
  *out = {mode.w, mode.h};
  return true;
}

std::unique_ptr<Window> create_window(const WindowDesc& desc, std::string* error) {
  SDL_SetHint(SDL_HINT_APP_NAME, desc.app_name);
  SDL_SetHint("SDL_VIDEO_X11_WMCLASS", desc.app_name);
  const int at = desc.windowed ? SDL_WINDOWPOS_CENTERED : 0;
  const Uint32 kind = desc.windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS;
  SDL_Window* w = SDL_CreateWindow(desc.title, at, at, desc.width, desc.height,
                                   kind | SDL_WINDOW_SHOWN | SDL_WINDOW_VULKAN);
  if (!w) {
    *error = std::string("cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  set_icon(w, desc);
  if (!desc.windowed) SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(w);
  return std::make_unique<SdlWindow>(w, desc.on_key, desc.on_resize);
}

}  // namespace platform
