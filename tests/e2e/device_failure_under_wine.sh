#!/usr/bin/env bash
# With no Direct3D device to be had (Wine's renderer switched off, or under
# DXVK no Vulkan driver to be found), the intro returns the device creation's
# HRESULT as its exit status, the whole 32-bit code as Windows reports it,
# and says what it needs.
#   device_failure_under_wine.sh <velmorand.exe>
set -uo pipefail
[ -n "${WINEPREFIX:-}" ] || { echo "FAIL: run me inside scripts/wine-session"; exit 1; }
if [ "${VELMORAND_D3D11:-}" = dxvk ]; then
  export VK_ICD_FILENAMES=/nonexistent/icd.json VK_DRIVER_FILES=/nonexistent/icd.json
else
  key='HKCU\Software\Wine\Direct3D'
  trap 'wine reg delete "$key" /v renderer /f >/dev/null 2>&1' EXIT
  wine reg add "$key" /v renderer /d no3d /f >/dev/null 2>&1
fi
exe=$(winepath -w "$1")
out=$(timeout 120 wine cmd /c "start /wait \"\" \"$exe\" & echo status %ERRORLEVEL%" 2>&1)
echo "$out" | tail -3
status=$(echo "$out" | tr -d '\r' | awk '/^status / { print $2 }' | tail -1)
# A negative HRESULT (failure bit set) such as E_FAIL, not a small code of ours.
[ -n "$status" ] && [ "$status" -lt -2000000000 ] ||
  { echo "FAIL: exit status '$status' is not a failed HRESULT"; exit 1; }
# Started from a Unix shell, its message reaches stderr.
message=$(timeout 120 wine "$1" 2>&1)
echo "$message" | tail -1
echo "$message" | grep -m1 "DXVK: [0-9]"
echo "$message" | grep -q "HRESULT 0x8" || { echo "FAIL: no message names the HRESULT"; exit 1; }
echo "1 passed, 0 failed"
