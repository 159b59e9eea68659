// Programs: shader modules, push-descriptor layouts read from the SPIR-V,
// and the pipelines, created once and cached.
#include <cstdio>

#include "platform/gpu/vulkan/vk_device.h"

namespace gpu::vk {

namespace {

VkDescriptorType descriptor_type(uint32_t binding) {
  if (binding >= kUavBase) return VK_DESCRIPTOR_TYPE_STORAGE_IMAGE;
  if (binding >= kSamplerBase) return VK_DESCRIPTOR_TYPE_SAMPLER;
  if (binding >= kTextureBase) return VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE;
  return VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
}

VkShaderStageFlags stage_flags(Stage s) {
  return s == Stage::Compute ? VK_SHADER_STAGE_COMPUTE_BIT
                             : VK_SHADER_STAGE_VERTEX_BIT | VK_SHADER_STAGE_FRAGMENT_BIT;
}

}  // namespace

bool VulkanDevice::build_layout(ShaderRecord& rec, const std::vector<uint32_t>& bindings) {
  std::vector<VkDescriptorSetLayoutBinding> list;
  for (uint32_t b : bindings) {
    if (b >= kUavBase + kSlots) return false;
    list.push_back({b, descriptor_type(b), 1, stage_flags(rec.stage), nullptr});
  }
  VkDescriptorSetLayoutCreateInfo set{VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO};
  set.flags = VK_DESCRIPTOR_SET_LAYOUT_CREATE_PUSH_DESCRIPTOR_BIT_KHR;
  set.bindingCount = static_cast<uint32_t>(list.size());
  set.pBindings = list.data();
  if (vkCreateDescriptorSetLayout(device_, &set, nullptr, &rec.set_layout) != VK_SUCCESS) return false;
  VkPipelineLayoutCreateInfo layout{VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO};
  layout.setLayoutCount = 1;
  layout.pSetLayouts = &rec.set_layout;
  return vkCreatePipelineLayout(device_, &layout, nullptr, &rec.layout) == VK_SUCCESS;
}

Shader VulkanDevice::create_shader(const ShaderDesc& desc) {
  ShaderRecord rec;
  rec.stage = desc.stage;
  rec.label = desc.label ? desc.label : "program";
  auto info = reflect_spirv(desc.code);
  VkShaderModuleCreateInfo module{VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO};
  module.codeSize = desc.code.size();
  module.pCode = reinterpret_cast<const uint32_t*>(desc.code.data());
  if (!info || vkCreateShaderModule(device_, &module, nullptr, &rec.module) != VK_SUCCESS ||
      !build_layout(rec, info->bindings)) {
    failures_.report("cannot create program " + rec.label);
    return {};
  }
  rec.info = std::move(*info);
  if (rec.stage == Stage::Compute) {
    VkComputePipelineCreateInfo pipe{VK_STRUCTURE_TYPE_COMPUTE_PIPELINE_CREATE_INFO};
    pipe.stage = {VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO};
    pipe.stage.stage = VK_SHADER_STAGE_COMPUTE_BIT;
    pipe.stage.module = rec.module;
    pipe.stage.pName = "main";
    pipe.layout = rec.layout;
    if (vkCreateComputePipelines(device_, VK_NULL_HANDLE, 1, &pipe, nullptr, &rec.compute_pipeline) !=
        VK_SUCCESS) {
      failures_.report("cannot create the pipeline of " + rec.label);
      return {};
    }
  }
  shaders_.push_back(std::move(rec));
  return Shader{static_cast<uint32_t>(shaders_.size() - 1)};
}

VkPipeline VulkanDevice::graphics_pipeline(uint32_t vs, uint32_t ps, uint32_t blend, VkFormat format) {
  auto key = std::make_tuple(vs, ps, blend, format);
  if (auto it = graphics_pipelines_.find(key); it != graphics_pipelines_.end()) return it->second;

  VkPipelineShaderStageCreateInfo stages[2] = {};
  stages[0] = {VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO};
  stages[0].stage = VK_SHADER_STAGE_VERTEX_BIT;
  stages[0].module = shaders_[vs].module;
  stages[0].pName = "main";
  stages[1] = {VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO};
  stages[1].stage = VK_SHADER_STAGE_FRAGMENT_BIT;
  stages[1].module = shaders_[ps].module;
  stages[1].pName = "main";

  VkPipelineVertexInputStateCreateInfo vertex_input{VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO};
  VkPipelineInputAssemblyStateCreateInfo assembly{VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO};
  assembly.topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;
  VkPipelineViewportStateCreateInfo viewport{VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO};
  viewport.viewportCount = viewport.scissorCount = 1;
  VkPipelineRasterizationStateCreateInfo raster{VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO};
  raster.polygonMode = VK_POLYGON_MODE_FILL;
  raster.cullMode = VK_CULL_MODE_NONE;
  raster.lineWidth = 1.0f;
  VkPipelineMultisampleStateCreateInfo multisample{VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO};
  multisample.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;
  VkPipelineColorBlendAttachmentState attachment{};
  attachment.colorWriteMask = VK_COLOR_COMPONENT_R_BIT | VK_COLOR_COMPONENT_G_BIT | VK_COLOR_COMPONENT_B_BIT |
                              VK_COLOR_COMPONENT_A_BIT;
  if (blends_[blend].additive) {
    attachment.blendEnable = VK_TRUE;
    attachment.srcColorBlendFactor = attachment.dstColorBlendFactor = VK_BLEND_FACTOR_ONE;
    attachment.srcAlphaBlendFactor = attachment.dstAlphaBlendFactor = VK_BLEND_FACTOR_ONE;
    attachment.colorBlendOp = attachment.alphaBlendOp = VK_BLEND_OP_ADD;
  }
  VkPipelineColorBlendStateCreateInfo blending{VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO};
  blending.attachmentCount = 1;
  blending.pAttachments = &attachment;
  VkDynamicState dynamic_states[] = {VK_DYNAMIC_STATE_VIEWPORT, VK_DYNAMIC_STATE_SCISSOR};
  VkPipelineDynamicStateCreateInfo dynamic{VK_STRUCTURE_TYPE_PIPELINE_DYNAMIC_STATE_CREATE_INFO};
  dynamic.dynamicStateCount = 2;
  dynamic.pDynamicStates = dynamic_states;
  VkPipelineRenderingCreateInfo rendering{VK_STRUCTURE_TYPE_PIPELINE_RENDERING_CREATE_INFO};
  rendering.colorAttachmentCount = 1;
  rendering.pColorAttachmentFormats = &format;

  VkGraphicsPipelineCreateInfo info{VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO};
  info.pNext = &rendering;
  info.stageCount = 2;
  info.pStages = stages;
  info.pVertexInputState = &vertex_input;
  info.pInputAssemblyState = &assembly;
  info.pViewportState = &viewport;
  info.pRasterizationState = &raster;
  info.pMultisampleState = &multisample;
  info.pColorBlendState = &blending;
  info.pDynamicState = &dynamic;
  info.layout = shaders_[ps].layout;
  VkPipeline pipeline = VK_NULL_HANDLE;
  if (vkCreateGraphicsPipelines(device_, VK_NULL_HANDLE, 1, &info, nullptr, &pipeline) != VK_SUCCESS) {
    std::fprintf(stderr, "gpu: cannot create the pipeline of %s\n", shaders_[ps].label.c_str());
    pipeline = VK_NULL_HANDLE;
  }
  graphics_pipelines_[key] = pipeline;
  return pipeline;
}

}  // namespace gpu::vk
