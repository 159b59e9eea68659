#include <windows.h>

#include "platform/window/window.h"

namespace platform {

namespace {

constexpr int kIconResource = 102;  // the icon group in resources.rc

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      return 0;  // the back buffer keeps the desktop size it was made with
    case WM_SYSCOMMAND:
      // Alt or F10 would open the (absent) window menu and hold the loop in
      // the menu's modal loop; the music would play on under a frozen picture.
      if ((wparam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

std::string with_code(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// The class outlives every window, so it is registered once per process.
bool register_class(const char* name, std::string* error) {
  static bool registered = false;
  if (registered) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(WNDCLASSEXA);
  wc.style = CS_CLASSDC;
  wc.lpfnWndProc = window_procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  wc.lpszClassName = name;
  if (!RegisterClassExA(&wc)) {
    *error = with_code("cannot register the window class");
    return false;
  }
  registered = true;
  return true;
}

class Win32Window final : public Window {
 public:
  explicit Win32Window(HWND window) : window_(window) {}
  ~Win32Window() override {
    if (closed_) return;  // already destroyed through its close button
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
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
  }

  // The low bit says Escape went down since the previous query, so a tap
  // between two frames is not lost.
  bool escape_pressed() override { return GetAsyncKeyState(VK_ESCAPE) != 0; }

  bool closed() const override { return closed_; }

  // The descriptor's player fields (windowed, on_key) are not read here: the
  // author's player is a Linux tool.
  void set_title(const char* title) override { SetWindowTextA(window_, title); }

 private:
  HWND window_;
  bool closed_ = false;
};

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

std::unique_ptr<Window> create_window(const WindowDesc& desc, std::string* error) {
  if (!register_class(desc.app_name, error)) return nullptr;
  HWND window = CreateWindowExA(0, desc.app_name, desc.title, WS_POPUP | WS_VISIBLE, 0, 0,
                                desc.width, desc.height, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) {
    *error = with_code("cannot create the window");
    return nullptr;
  }
  ShowCursor(FALSE);
  return std::make_unique<Win32Window>(window);
}

}  // namespace platform
