#include "platform/window/refresh_rate.h"

#include <SDL.h>

namespace platform {

double refresh_rate_hz(Window& window) {
  auto* sdl_window = static_cast<SDL_Window*>(window.native_handle());
  const int display = SDL_GetWindowDisplayIndex(sdl_window);
  SDL_DisplayMode mode;
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
  return mode.refresh_rate > 0 ? mode.refresh_rate : 0;
}

}  // namespace platform
