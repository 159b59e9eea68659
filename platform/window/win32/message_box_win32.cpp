#include "platform/window/message_box.h"

#include <windows.h>

#include <cstdio>

namespace platform {

// Also on stderr, so a run from a console or a log keeps the message after
// the box is dismissed.
void show_info_message(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace platform
