#include "platform/window/message_box.h"

#include <windows.h>

#include <cstdio>

namespace platform {

// Also on stderr, so a run from a console or a log keeps the message after
// the box is dismissed.
namespace {
void show(const char* text, const char* caption, UINT icon) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  MessageBoxA(nullptr, text, caption, MB_OK | icon);
}
}  // namespace

void show_info_message(const char* text, const char* caption) { show(text, caption, MB_ICONINFORMATION); }
void show_error_message(const char* text, const char* caption) { show(text, caption, MB_ICONERROR); }

}  // namespace platform
