// Every compiled program declares the constant block with the host's layout,
// and its resources at the slots the device layer pushes descriptors for.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "embedded/programs.h"
#include "platform/gpu/spirv_reflect.h"
#include "src/uniform_block.h"

namespace {

const embedded::Blob& program(const std::string& name) {
  for (const auto& b : embedded::programs())
    if (name == b.name) return b;
  throw std::runtime_error("no program " + name);
}

gpu::SpirvInfo reflect(const std::string& name) {
  const auto& b = program(name);
  auto info = gpu::reflect_spirv({b.data, b.size});
  EXPECT_TRUE(info) << name;
  return info.value_or(gpu::SpirvInfo{});
}

// Programs and how many fields of the block each declares.
const std::map<std::string, size_t> kDeclaredFields = {
    {"SkyKernel", 25},         {"BloomBrightPass", 25},  {"BloomDownsample", 25}, {"BloomUpsample", 25},
    {"SceneKernel", 26},       {"ScatteringKernel", 26}, {"FinaleKernel", 27},    {"LogoParticleStep", 27},
    {"LogoParticleShade", 27}, {"CompositeKernel", 27},
};

TEST(ProgramInterface, ThirteenProgramsInLinkOrder) {
  const char* order[] = {"ClearKernel",     "FullscreenTriangleVS", "SceneKernel",       "ScatteringKernel",
                         "FinaleKernel",    "LogoParticleStep",     "LogoParticleShade", "SkyKernel",
                         "BloomBrightPass", "BloomDownsample",      "BloomUpsample",     "CompositeKernel",
                         "LensDirtPS"};
  auto blobs = embedded::programs();
  ASSERT_EQ(blobs.size(), 13u);
  for (size_t i = 0; i < 13; ++i) {
    EXPECT_STREQ(blobs[i].name, order[i]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(blobs[i].data) % 4, 0u) << "SPIR-V words must be aligned";
  }
}

TEST(ProgramInterface, UniformBlockOffsetsMatchTheHostStruct) {
  for (const auto& [name, fields] : kDeclaredFields) {
    gpu::SpirvInfo info = reflect(name);
    const std::vector<gpu::BlockMember>* members = nullptr;
    for (const auto& [block, list] : info.blocks)
      if (block == "UniformBuffer") members = &list;
    ASSERT_NE(members, nullptr) << name << " declares no UniformBuffer";
    ASSERT_EQ(members->size(), fields) << name;
    for (size_t i = 0; i < fields; ++i) {
      EXPECT_EQ((*members)[i].name, kUniformFields[i].name) << name;
      EXPECT_EQ((*members)[i].offset, kUniformFields[i].offset) << name << "." << kUniformFields[i].name;
    }
  }
}

// b# -> 0 + #, t# -> 16 + #, s# -> 32 + #, u# -> 48 + #
TEST(ProgramInterface, ResourcesSitAtTheirRegisters) {
  const std::map<std::string, std::vector<uint32_t>> expected = {
      {"ClearKernel", {48}},
      {"FullscreenTriangleVS", {}},
      {"SkyKernel", {0, 48}},
      {"SceneKernel", {0, 16, 17, 18, 19, 33, 34, 48}},
      {"FinaleKernel", {0, 18, 48}},
      {"ScatteringKernel", {0, 16, 17, 18, 32, 33, 48}},
      {"LogoParticleStep", {0, 16, 17, 32, 48}},
      {"LogoParticleShade", {0, 17, 32, 48}},
      {"BloomBrightPass", {0, 16, 32}},
      {"BloomDownsample", {0, 16, 32}},
      {"BloomUpsample", {0, 16, 32}},
      {"CompositeKernel", {0, 16, 17, 18, 19, 20, 32, 48}},
      {"LensDirtPS", {0}},
  };
  for (const auto& [name, bindings] : expected) EXPECT_EQ(reflect(name).bindings, bindings) << name;
}

TEST(ProgramInterface, ComputeGroupSizes) {
  // LogoParticleStep's threads make a column of eight texels each: its group
  // still covers the 16 x 8 texels the dispatch counts.
  const std::map<std::string, std::pair<uint32_t, uint32_t>> groups = {
      {"ClearKernel", {16, 8}},       {"SkyKernel", {8, 8}},        {"SceneKernel", {16, 8}},
      {"FinaleKernel", {16, 8}},      {"ScatteringKernel", {8, 8}}, {"LogoParticleStep", {16, 1}},
      {"LogoParticleShade", {16, 8}}, {"CompositeKernel", {16, 8}},
  };
  for (const auto& [name, size] : groups) {
    gpu::SpirvInfo info = reflect(name);
    EXPECT_EQ(info.local_size[0], size.first) << name;
    EXPECT_EQ(info.local_size[1], size.second) << name;
    EXPECT_EQ(info.local_size[2], 1u) << name;
  }
}

TEST(ProgramInterface, RejectsWhatIsNotSpirv) {
  std::vector<uint8_t> junk(64, 0xAB);
  EXPECT_FALSE(gpu::reflect_spirv(junk));
  EXPECT_FALSE(gpu::reflect_spirv({}));
}

}  // namespace
