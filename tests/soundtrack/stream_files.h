#pragma once
// Reads the test streams and the linked assets' source files.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline std::vector<unsigned char> test_stream(const std::string& name) {
  return read_bytes(std::string(VELMORAND_SOURCE_DIR) + "/tests/soundtrack/data/" + name);
}
