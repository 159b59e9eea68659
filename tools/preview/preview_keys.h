#pragma once
// Which key does what in the player. Held keys repeat only for the moves by
// a bar or a beat, so holding an arrow scrubs but holding Space does not
// flicker between pause and play.
#include <optional>

#include "platform/window/window.h"
#include "tools/preview/preview_session.h"

std::optional<Command> command_for(const platform::KeyPress& press);
