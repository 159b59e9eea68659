#pragma once
// The intro's window: one borderless window covering the desktop, cursor
// hidden, one pending event handled per loop iteration, and the Escape key.
// The author's player asks for a normal window and its keys through the
// descriptor's extra fields; left zero they change nothing.

#include <functional>
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

// The keys the author's player reads; every other key is Other.
enum class Key { Other, Escape, Space, Left, Right, PageUp, PageDown, Home, BracketLeft, BracketRight, L };

struct KeyPress {
  Key key = Key::Other;
  bool shift = false;
  bool repeat = false;  // sent again because the key is held down
};

struct WindowDesc {
  const char* title = "";
  const char* app_name = "";  // the window class on X11
  int width = 0;
  int height = 0;
  // 32 x 32 RGBA icon pixels, or null.
  const unsigned char* icon_rgba = nullptr;
  int icon_size = 0;
  // A normal, resizable window with a frame and the cursor, centred on the
  // desktop, instead of the borderless one covering it.
  bool windowed = false;
  // Called from handle_one_event for every key pressed in the window.
  std::function<void(const KeyPress&)> on_key;
  // Called from handle_one_event when the window's drawable area has taken a
  // new size (in pixels); a drag sends many, the last one is the size.
  std::function<void(int width, int height)> on_resize;
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
  virtual void set_title(const char* title) = 0;
};

std::unique_ptr<Window> create_window(const WindowDesc& desc, std::string* error);

}  // namespace platform
