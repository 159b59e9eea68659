#pragma once
// The name the system's own messages on stderr start with: "velmorand" for
// the intro, the tool's name when a tool runs the runtime, so a message in
// the player's or the capture's output says whose it is.
namespace platform {

const char* program_name();
// `name` must outlive every message (a string literal).
void set_program_name(const char* name);

}  // namespace platform
