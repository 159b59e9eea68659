#include <windows.h>

#include <functional>
#include <utility>

#include "platform/window/win32/key_press_win32.h"
#include "platform/window/window.h"

namespace platform {

namespace {

constexpr int kIconResource = 102;  // the icon group in resources.rc

// What the author's player asks of its window beyond the intro's, kept as
// the window's user data for the player's own window procedure; the intro's
// window has its procedure as it always was.
struct PlayerAsks {
  bool windowed = false;
  std::function<void(int, int)> on_resize;
};

PlayerAsks* player_asks(HWND window) {
  return reinterpret_cast<PlayerAsks*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A minimised window reports 0 x 0, which is no size to draw at.
void report_size(const PlayerAsks& asks, WPARAM kind, LPARAM size) {
  const int width = LOWORD(size), height = HIWORD(size);
  if (asks.on_resize && kind != SIZE_MINIMIZED && width > 0 && height > 0) asks.on_resize(width, height);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE: return 0;  // the back buffer keeps the desktop size it was made with
    case WM_SYSCOMMAND:
      // Alt or F10 would open the (absent) window menu and hold the loop in
      // the menu's modal loop; the music would play on under a frozen picture.
      if ((wparam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// The player's window: its sizes go to the player, and the class having no
// cursor, a framed window shows the arrow over its picture (the frame has
// its own cursors). The rest as the intro's.
LRESULT CALLBACK player_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const PlayerAsks* asks = player_asks(window);
  if (asks && message == WM_SIZE) {
    report_size(*asks, wparam, lparam);
    return 0;
  }
  if (asks && asks->windowed && message == WM_SETCURSOR && LOWORD(lparam) == HTCLIENT) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  return window_procedure(window, message, wparam, lparam);
}

bool asks_more(const WindowDesc& desc) { return desc.windowed || desc.on_resize; }

std::string with_code(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// The class outlives every window, so it is registered once per process (a
// process makes either the intro's window or the player's).
bool register_class(const WindowDesc& desc, std::string* error) {
  static bool registered = false;
  if (registered) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(WNDCLASSEXA);
  wc.style = CS_CLASSDC;
  wc.lpfnWndProc = asks_more(desc) ? player_window_procedure : window_procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  wc.lpszClassName = desc.app_name;
  if (!RegisterClassExA(&wc)) {
    *error = with_code("cannot register the window class");
    return false;
  }
  registered = true;
  return true;
}

class Win32Window final : public Window {
 public:
  Win32Window(HWND window, const WindowDesc& desc)
      : window_(window), on_key_(desc.on_key), asks_{desc.windowed, desc.on_resize} {
    if (asks_more(desc)) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&asks_));
  }
  ~Win32Window() override {
    if (closed_) return;  // already destroyed through its close button
    if (asks_.windowed || asks_.on_resize) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    // Our own destruction posts a quit; a window made later in the same
    // process must not read it as its close.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  void* native_handle() override { return window_; }

  bool handle_one_event() override {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) closed_ = true;
    if (msg.message == WM_KEYDOWN) key_down(msg.wParam, msg.lParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
  }

  // The low bit says Escape went down since the previous query, so a tap
  // between two frames is not lost. A framed window is one among others, so
  // only an Escape typed into it counts; the state is read all the same,
  // since that bit is kept for the whole session and an Escape left in it
  // would end the next program to ask (the intro, the bench) at its start.
  bool escape_pressed() override {
    const bool down = GetAsyncKeyState(VK_ESCAPE) != 0;
    return asks_.windowed ? std::exchange(escape_latch_, false) : down;
  }

  bool closed() const override { return closed_; }

  void set_title(const char* title) override { SetWindowTextA(window_, title); }

 private:
  void key_down(WPARAM virtual_key, LPARAM flags) {
    if (virtual_key == VK_ESCAPE) escape_latch_ = true;
    if (on_key_) on_key_(key_press_of(virtual_key, flags));
  }

  HWND window_;
  std::function<void(const KeyPress&)> on_key_;
  PlayerAsks asks_;  // the window procedure reads it: the object stays put
  bool escape_latch_ = false;
  bool closed_ = false;
};

// The frame around a client area of the asked size, centred on the desktop.
RECT framed_rect(const WindowDesc& desc, DWORD style) {
  RECT rect{0, 0, desc.width, desc.height};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return {x, y, x + width, y + height};
}

}  // namespace

bool desktop_size(DesktopSize* out, std::string* error) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width == 0 || height == 0) {
    *error = "no display: the desktop has no size";
    return false;
  }
  *out = {width, height};
  return true;
}

// The intro's window is the borderless popup; the player's a framed,
// resizable one with the cursor.
std::unique_ptr<Window> create_window(const WindowDesc& desc, std::string* error) {
  if (!register_class(desc, error)) return nullptr;
  HWND window = nullptr;
  if (desc.windowed) {
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    const RECT at = framed_rect(desc, style);
    window = CreateWindowExA(0, desc.app_name, desc.title, style, at.left, at.top, at.right - at.left,
                             at.bottom - at.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  } else {
    window = CreateWindowExA(0, desc.app_name, desc.title, WS_POPUP | WS_VISIBLE, 0, 0, desc.width, desc.height,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  if (!window) {
    *error = with_code("cannot create the window");
    return nullptr;
  }
  if (!desc.windowed) ShowCursor(FALSE);
  return std::make_unique<Win32Window>(window, desc);
}

}  // namespace platform
