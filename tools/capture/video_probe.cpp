#include "tools/capture/video_probe.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/common/child_process.h"
#include "tools/common/os_process.h"

int64_t count_video_frames(const std::string& video, std::string* error) {
  std::error_code failure;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(failure);
  std::string reason;
  const std::string answer = os::make_unique_file((folder / "velmorand-probe-").string(), ".txt", &reason);
  if (answer.empty()) {
    *error = "cannot make a file for ffprobe's answer: " + reason;
    return -1;
  }
  int status = run_program({"ffprobe", "-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                            "stream=nb_read_packets", "-of", "csv=p=0", "-o", answer, video},
                           error);
  std::stringstream text;
  text << std::ifstream(answer).rdbuf();
  std::filesystem::remove(answer, failure);
  char* end = nullptr;
  std::string count = text.str();
  long long frames = std::strtoll(count.c_str(), &end, 10);
  if (status != 0 || end == count.c_str()) {
    if (status != -1) *error = video + " cannot be read as a video";
    return -1;
  }
  return frames;
}
