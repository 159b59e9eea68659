#pragma once
// The compiled-in source of the key lists (sync/choreography_lists.h), made
// from the lists' texts: each line of a text becomes one string literal line,
// so the compiled-in list is the text byte for byte and exporting it again
// gives the same file.
#include <array>
#include <string>

#include "sync/choreography.h"

struct ListText {
  std::string text;
  int key_count = 0;
};

std::string list_source(const std::array<ListText, kSyncTrackCount>& lists);

// The name a track's list has in that source: "camera_pos_x" for "camera:pos_x".
std::string list_identifier(const char* track_name);
