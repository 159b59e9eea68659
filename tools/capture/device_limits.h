#pragma once
// The largest image side the Vulkan device allows. The device layer creates
// images beyond it without complaint on lavapipe (and a capture at 20000
// pixels then crawls along drawing into memory it should not have), so the
// capture asks the device itself before it starts.

#include <string>

// maxImageDimension2D of the physical device named `adapter`; with no such
// name (or an empty one) the largest of all devices, a bound that can be
// checked before any device is made. 0 when there is no Vulkan device.
int max_image_side(const std::string& adapter);
