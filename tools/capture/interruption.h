#pragma once
// Ctrl-C and SIGTERM during a capture: the first one asks the capture to stop
// after the frame in hand and close its output properly; a second one ends
// the process at once. SIGPIPE is ignored so that a failed ffmpeg shows up as
// a failed write with a message, not a silent death.

void install_interruption_handlers();
bool interruption_requested();
