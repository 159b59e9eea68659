#pragma once
// Number formatting shared by the tool's commands.
#include <string>

// The shortest decimal that reads back as the same float32 ("0.1", "-2.5", "3.1500001").
std::string float_text(float value);
