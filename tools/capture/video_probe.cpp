#include "tools/capture/video_probe.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/capture/child_process.h"

int64_t count_video_frames(const std::string& video, std::string* error) {
  const char* tmp = std::getenv("TMPDIR");
  std::string answer = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmorand-probe-XXXXXX";
  std::vector<char> name(answer.begin(), answer.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot make a temporary file for ffprobe's answer";
    return -1;
  }
  close(fd);
  answer = name.data();
  int status = run_program({"ffprobe", "-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                            "stream=nb_read_packets", "-of", "csv=p=0", "-o", answer, video},
                           error);
  std::stringstream text;
  text << std::ifstream(answer).rdbuf();
  unlink(answer.c_str());
  char* end = nullptr;
  std::string count = text.str();
  long long frames = std::strtoll(count.c_str(), &end, 10);
  if (status != 0 || end == count.c_str()) {
    if (status != -1) *error = video + " cannot be read as a video";
    return -1;
  }
  return frames;
}
