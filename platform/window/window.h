#pragma once
// The intro's window: one borderless window covering the desktop, cursor
// hidden, one pending event handled per loop iteration, and the Escape key.

#include <memory>
#include <string>

namespace platform {

struct DesktopSize {
  int width = 0;
  int height = 0;
};

// Initialises video; false (with a message in `error`) when no display can
// be reached.
bool desktop_size(DesktopSize* out, std::string* error);

struct WindowDesc {
  const char* title = "";
  const char* app_name = "";  // the window class on X11
  int width = 0;
  int height = 0;
  // 32 x 32 RGBA icon pixels, or null.
  const unsigned char* icon_rgba = nullptr;
  int icon_size = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  // What the GPU layer presents into: an SDL_Window* with SDL, an HWND on
  // Windows.
  virtual void* native_handle() = 0;
  // Handles one waiting event; false when none was waiting.
  virtual bool handle_one_event() = 0;
  // Escape is down now or was pressed since the previous call.
  virtual bool escape_pressed() = 0;
  // The window was closed (the window manager's close button, for instance),
  // or the intro was asked to end (Ctrl-C or SIGTERM on Linux).
  virtual bool closed() const = 0;
};

std::unique_ptr<Window> create_window(const WindowDesc& desc, std::string* error);

}  // namespace platform
