#pragma once
// The refresh rate of the display a window is on, as the platform reports
// it, for counting the refreshes a frame missed.

#include "platform/window/window.h"

namespace platform {

// In Hz; 0 when the platform does not know it (a virtual display such as
// Xvfb reports none).
double refresh_rate_hz(Window& window);

}  // namespace platform
