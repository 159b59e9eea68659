#pragma once
// --part K/N and --check, the options of a capture in parts, read apart from
// the usual ones.

#include <optional>
#include <string>
#include <vector>

struct PartRequest {
  int part = 0, parts = 1;
  bool check = false;
};

// Takes --part K/N (or --part=K/N) and --check out of `args`, leaving the
// usual options. False, with the reason in `error`, for a bad value or a
// --check without --part.
bool take_part_options(std::vector<std::string>& args, std::optional<PartRequest>* request, std::string* error);
