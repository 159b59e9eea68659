#pragma once
// An information message box with one OK button and no owner window.
// Blocks until it is dismissed. Where no display can be reached (a headless
// machine, a CI run) the text goes to stderr instead, so the message is
// never lost.
namespace platform {
void show_info_message(const char* text, const char* caption);
// The same with the error icon.
void show_error_message(const char* text, const char* caption);
}  // namespace platform
