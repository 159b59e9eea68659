#include "platform/window/refresh_rate.h"

#include <windows.h>

namespace platform {

// The mode of the monitor the window is on; Windows answers 0 or 1 for "the
// hardware's default", which says nothing about the rate.
double refresh_rate_hz(Window& window) {
  HMONITOR monitor = MonitorFromWindow(static_cast<HWND>(window.native_handle()), MONITOR_DEFAULTTOPRIMARY);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return 0;
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  return mode.dmDisplayFrequency > 1 ? mode.dmDisplayFrequency : 0;
}

}  // namespace platform
