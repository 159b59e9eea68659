#pragma once
#include <string>
#include <vector>

namespace music {

int renderCommand(const std::vector<std::string>& args);
int markJointStereoCommand(const std::vector<std::string>& args);
int inspectCommand(const std::vector<std::string>& args);

} // namespace music
