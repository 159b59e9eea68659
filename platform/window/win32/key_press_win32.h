#pragma once
// A key-down message as the author's player reads it.
#include <windows.h>

#include "platform/window/window.h"

namespace platform {

KeyPress key_press_of(WPARAM virtual_key, LPARAM flags);

}  // namespace platform
