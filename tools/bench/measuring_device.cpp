#include "tools/bench/measuring_device.h"

#include "src/elapsed_time.h"

gpu::Shader MeasuringDevice::create_shader(const gpu::ShaderDesc& d) {
  gpu::Shader shader = inner_->create_shader(d);
  labels_[shader.id] = d.label ? d.label : "unnamed";
  return shader;
}

template <typename Run>
void MeasuringDevice::run_pass(gpu::Shader program, Run run) {
  if (!isolate_) return run();
  inner_->flush();
  auto start = std::chrono::steady_clock::now();
  run();
  inner_->flush();
  isolated_.push_back({labels_[program.id], ms_since(start)});
}

void MeasuringDevice::dispatch(uint32_t x, uint32_t y, uint32_t z) {
  run_pass(compute_shader_, [&] { inner_->dispatch(x, y, z); });
}

void MeasuringDevice::draw(uint32_t count, uint32_t first) {
  run_pass(pixel_shader_, [&] { inner_->draw(count, first); });
}

void MeasuringDevice::present(int sync_interval) {
  present_called_ = std::chrono::steady_clock::now();
  inner_->present(sync_interval);
  last_isolated_ = std::move(isolated_);
  isolated_.clear();
}
