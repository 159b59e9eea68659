#include "song/harmony.h"
#include "song/patterns.h"
#include "song/song.h"

namespace music {

namespace {
const Progression kDropChords = {"Dm", "Bb", "F", "C", "Dm", "Bb", "C", "A"};
}

// Everything at once: the theme on top, a stab on every fourth beat where the
// picture blooms, and beat-repeats where it stutters.
void addDrop(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloor, 28, 8);
    b.drums(Instrument::Clap, patterns::kBackbeat, 28, 8);
    b.drums(Instrument::Snare, patterns::kBackbeat, 28, 8, 0.5f);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 28, 8);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 28, 8, 0.8f);
    b.drums(Instrument::Shaker, patterns::kShaker, 28, 8, 0.6f);
    b.bassLine(kDropChords, patterns::kBassRoll, 28, 8);
    b.pads(kDropChords, 28, 8);
    b.arpeggio(kDropChords, harmony::kArpWide, 28, 8, 62, 2, 0.9f);
    b.melody(Instrument::Lead, harmony::kTheme, 28);
    b.chordHits(Instrument::Stab, kDropChords, "............X...", 28, 8, 62, 3.0);

    b.stutter(1016, 1021, 2, 1);
    b.stutter(1021, 1024, 1, 0);
    b.stutter(1136, 1144, 2, 1);
    b.stutter(1144, 1150, 2, 1);
    b.stutter(1150, 1152, 1, 0);
}

// The white flash opens an empty space: chords, a slow melody and echoes;
// then everything sinks towards row 1279.
void addBreak(SongBuilder& b)
{
    b.pads(harmony::kBreak, 36, 4, 0.6f);
    b.bassLine(harmony::kBreak, patterns::kBassWhole, 36, 4, 0.5f);
    b.melody(Instrument::Lead, harmony::kBreakLine, 36, 0, 0.75f);
    b.arpeggio(harmony::kBreak, harmony::kArpUp, 36, 4, 62, 4, 0.55f);
}

// The return after the break: white flashes on the backbeat, where a
// flammed clap lands a row after its grace note.
void addReturn(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloorLate, 40, 1);
    b.drums(Instrument::Kick, patterns::kFourFloor, 41, 3);
    for (int row = 1287; row <= 1399; row += 16) {
        b.hit(Instrument::Clap, row, 0.4f);
        b.hit(Instrument::Clap, row + 1, 1.0f);
        b.hit(Instrument::Snare, row + 1, 0.6f);
    }
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 40, 4);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 40, 4, 0.7f);
    b.bassLine(harmony::kTension, patterns::kBassRoll, 40, 4);
    b.pads(harmony::kTension, 40, 4);
    b.arpeggio(harmony::kTension, harmony::kArpWide, 40, 4, 62, 2, 0.8f);
}

} // namespace music
