#include "platform/window/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
bool display_reachable() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

void show(const char* text, const char* caption, Uint32 kind) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  if (!display_reachable()) return;
  SDL_ShowSimpleMessageBox(kind, caption, text, nullptr);
}
}  // namespace

void show_info_message(const char* text, const char* caption) { show(text, caption, SDL_MESSAGEBOX_INFORMATION); }
void show_error_message(const char* text, const char* caption) { show(text, caption, SDL_MESSAGEBOX_ERROR); }

}  // namespace platform
