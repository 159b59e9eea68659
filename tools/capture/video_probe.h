#pragma once
// What a video file holds, asked of the ffprobe command (Debian package
// ffmpeg, like the encoder).

#include <cstdint>
#include <string>

// Pictures in the first video stream, counted packet by packet (stream copy
// keeps one packet a picture); -1, with the reason in `error`, when the
// file cannot be read as a video.
int64_t count_video_frames(const std::string& video, std::string* error);
