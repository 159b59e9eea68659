#pragma once
// What the device layer needs to know about a compiled program, read straight
// from its SPIR-V words: which bindings of descriptor set 0 it uses, and the
// member offsets of its uniform blocks (a test compares those with the host
// copy of the constant block).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gpu {

struct BlockMember {
  std::string name;
  uint32_t offset = 0;
};

struct SpirvInfo {
  std::vector<uint32_t> bindings;  // set-0 bindings of every resource, ascending
  // Members of each uniform block, by block type name (e.g. "UniformBuffer").
  std::vector<std::pair<std::string, std::vector<BlockMember>>> blocks;
  uint32_t local_size[3] = {1, 1, 1};  // compute group size
};

// Parses a module; nullopt when the words are not SPIR-V.
std::optional<SpirvInfo> reflect_spirv(std::span<const uint8_t> code);

}  // namespace gpu
