#pragma once
// Float pictures as PNG files a person can look at.

#include <string>

#include "tools/kernel_reference/reference_image.h"

namespace kernel_lab {

// Exposure, then 1 - e^-x so that bright values roll off instead of
// clipping, then the display's gamma. Alpha is dropped.
bool write_tone_mapped(const std::string& path, const reference::Image& image, double exposure);

}  // namespace kernel_lab
