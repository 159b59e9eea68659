#pragma once
// The choreography as text files an author edits and reviews in git:
//   --export-text DIR         the 21 compiled-in key lists, one file per track
//                             (sync/key_list.h names them), byte for byte
//   --import-text DIR [FILE]  reads the 21 lists back with the compiled-in
//                             lists' own reader and, only when every one
//                             reads, writes them as the compiled-in source
//                             (by default this tree's sync/choreography_lists.h)
// Both return a tool exit status.
#include <cstdio>
#include <string>

int export_text_lists(const std::string& dir, std::FILE* out, std::FILE* err);

int import_text_lists(const std::string& dir, const std::string& source_file, std::FILE* out, std::FILE* err);

// Where --import-text writes without FILE: the source tree the tool was built from.
std::string default_list_source_path();
