#pragma once
// Number formatting and parsing shared by the tool's commands.
#include <string>

// The shortest decimal that reads back as the same float32 ("0.1", "-2.5", "3.1500001").
std::string float_text(float value);

// Parses a whole argument as float32 the way strtof does; false when the text
// is empty, has anything after the number, or is not a finite number.
bool parse_float_argument(const char* text, float* value);
