#include "tools/preview/preview_keys.h"

using platform::Key;

std::optional<Command> command_for(const platform::KeyPress& press) {
  switch (press.key) {
    case Key::Left: return press.shift ? Command::BeatBack : Command::BarBack;
    case Key::Right: return press.shift ? Command::BeatForward : Command::BarForward;
    default: break;
  }
  if (press.repeat) return std::nullopt;
  switch (press.key) {
    case Key::Space: return Command::PlayPause;
    case Key::PageUp: return Command::SectionBack;
    case Key::PageDown: return Command::SectionForward;
    case Key::Home: return Command::Home;
    case Key::BracketLeft: return Command::LoopStart;
    case Key::BracketRight: return Command::LoopEnd;
    case Key::L: return Command::LoopToggle;
    default: return std::nullopt;
  }
}
