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
}  // namespace

void show_info_message(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  if (!display_reachable()) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr);
}

}  // namespace platform
