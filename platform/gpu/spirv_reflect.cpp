#include "platform/gpu/spirv_reflect.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace gpu {

namespace {

constexpr uint32_t kMagic = 0x07230203;
constexpr uint32_t kOpName = 5;
constexpr uint32_t kOpMemberName = 6;
constexpr uint32_t kOpExecutionMode = 16;
constexpr uint32_t kOpVariable = 59;
constexpr uint32_t kOpDecorate = 71;
constexpr uint32_t kOpMemberDecorate = 72;
constexpr uint32_t kDecorationBlock = 2;
constexpr uint32_t kDecorationOffset = 35;
constexpr uint32_t kDecorationBinding = 33;
constexpr uint32_t kDecorationDescriptorSet = 34;
constexpr uint32_t kExecutionModeLocalSize = 17;

std::string literal_string(std::span<const uint32_t> words) {
  std::string s;
  for (uint32_t w : words) {
    for (int i = 0; i < 4; ++i) {
      char c = static_cast<char>((w >> (8 * i)) & 0xFF);
      if (c == 0) return s;
      s.push_back(c);
    }
  }
  return s;
}

struct Module {
  std::map<uint32_t, std::string> names;
  std::map<uint32_t, std::map<uint32_t, std::string>> member_names;
  std::map<uint32_t, std::map<uint32_t, uint32_t>> member_offsets;
  std::map<uint32_t, uint32_t> binding;
  std::map<uint32_t, uint32_t> set;
  std::vector<uint32_t> block_types;
  std::vector<uint32_t> variables;
};

void read_instruction(Module& m, SpirvInfo& info, uint32_t op, std::span<const uint32_t> a) {
  switch (op) {
    case kOpName:
      if (a.size() >= 1) m.names[a[0]] = literal_string(a.subspan(1));
      break;
    case kOpMemberName:
      if (a.size() >= 2) m.member_names[a[0]][a[1]] = literal_string(a.subspan(2));
      break;
    case kOpExecutionMode:
      if (a.size() >= 5 && a[1] == kExecutionModeLocalSize)
        std::copy(a.begin() + 2, a.begin() + 5, info.local_size);
      break;
    case kOpVariable:
      if (a.size() >= 2) m.variables.push_back(a[1]);
      break;
    case kOpDecorate:
      if (a.size() >= 3 && a[1] == kDecorationBinding) m.binding[a[0]] = a[2];
      if (a.size() >= 3 && a[1] == kDecorationDescriptorSet) m.set[a[0]] = a[2];
      if (a.size() >= 2 && a[1] == kDecorationBlock) m.block_types.push_back(a[0]);
      break;
    case kOpMemberDecorate:
      if (a.size() >= 4 && a[2] == kDecorationOffset) m.member_offsets[a[0]][a[1]] = a[3];
      break;
    default: break;
  }
}

}  // namespace

std::optional<SpirvInfo> reflect_spirv(std::span<const uint8_t> code) {
  if (code.size() < 20 || code.size() % 4 != 0) return std::nullopt;
  std::vector<uint32_t> words(code.size() / 4);
  std::memcpy(words.data(), code.data(), code.size());
  if (words[0] != kMagic) return std::nullopt;

  SpirvInfo info;
  Module m;
  for (size_t i = 5; i < words.size();) {
    uint32_t count = words[i] >> 16;
    uint32_t op = words[i] & 0xFFFF;
    if (count == 0 || i + count > words.size()) return std::nullopt;
    read_instruction(m, info, op, std::span(words).subspan(i + 1, count - 1));
    i += count;
  }

  for (uint32_t var : m.variables) {
    auto b = m.binding.find(var);
    if (b == m.binding.end()) continue;
    auto s = m.set.find(var);
    if (s != m.set.end() && s->second != 0) continue;
    info.bindings.push_back(b->second);
  }
  std::sort(info.bindings.begin(), info.bindings.end());
  info.bindings.erase(std::unique(info.bindings.begin(), info.bindings.end()), info.bindings.end());

  for (uint32_t type : m.block_types) {
    std::vector<BlockMember> members;
    for (auto [index, offset] : m.member_offsets[type]) members.push_back({m.member_names[type][index], offset});
    info.blocks.emplace_back(m.names[type], std::move(members));
  }
  return info;
}

}  // namespace gpu
