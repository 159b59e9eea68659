#include "platform/window/win32/key_press_win32.h"

namespace platform {

namespace {

// The brackets and L are read as the characters the keyboard layout puts on
// the key, so `[` is found wherever the layout has it.
Key character_key(WPARAM virtual_key) {
  switch (MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR) & 0x7FFF) {
    case '[': return Key::BracketLeft;
    case ']': return Key::BracketRight;
    case 'L': return Key::L;
    default: return Key::Other;
  }
}

Key key_of(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_ESCAPE: return Key::Escape;
    case VK_SPACE: return Key::Space;
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_PRIOR: return Key::PageUp;
    case VK_NEXT: return Key::PageDown;
    case VK_HOME: return Key::Home;
    default: return character_key(virtual_key);
  }
}

}  // namespace

// Bit 30 of the flags says the key was already down: a repeat.
KeyPress key_press_of(WPARAM virtual_key, LPARAM flags) {
  return {key_of(virtual_key), GetKeyState(VK_SHIFT) < 0, (flags & (LPARAM{1} << 30)) != 0};
}

}  // namespace platform
