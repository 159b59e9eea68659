#include "song/harmony.h"
#include "song/patterns.h"
#include "song/song.h"

namespace music {

// After the cut to the lettering: no kick, a half-time clap and the first
// statement of the melody over darker chords; the last bar builds.
void addSecondPart(SongBuilder& b)
{
    b.pads(harmony::kTension, 12, 8, 0.6f);
    b.bassLine(harmony::kTension, patterns::kBassLong, 12, 7, 0.6f);
    b.bassLine({"A"}, patterns::kBassEighths, 19, 1, 0.9f);
    b.drums(Instrument::Clap, patterns::kHalfTime, 12, 7, 0.85f);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 12, 7, 0.7f);
    b.drums(Instrument::Shaker, patterns::kShaker, 14, 5, 0.6f);
    b.melody(Instrument::Lead, harmony::kTensionTheme, 12, 0, 0.85f);
    b.arpeggio(harmony::kTension, harmony::kArpWide, 12, 8, 62, 2, 0.5f);
    b.drums(Instrument::Snare, patterns::kSnareRollBar, 19, 1, 0.4f, 2.4f);
    b.drums(Instrument::Kick, patterns::kFourFloor, 19, 1, 0.8f);
}

// The groove returns with a glitch tick on every beat; an impact at bar 24
// and a lift into the drop.
void addPreDrop(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloor, 20, 8);
    b.drums(Instrument::Clap, patterns::kBackbeat, 20, 8);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 20, 8);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 24, 4, 0.7f);
    b.drums(Instrument::Snare, patterns::kLiftRoll, 27, 1, 0.6f, 1.8f);
    for (int row = 648; row <= 888; row += 8)
        if (row != 768) b.hit(Instrument::Tick, row, 0.9f, (row / 8) % 2 ? 99.0 : 106.0);
    b.bassLine(harmony::kMain, patterns::kBassRoll, 20, 7);
    b.bassLine({"C"}, patterns::kBassRollEnd, 27, 1);
    b.pads(harmony::kMain, 20, 8, 0.8f);
    b.arpeggio(harmony::kMain, harmony::kArpUp, 20, 8, 62, 2, 0.85f);
    b.chordHits(Instrument::Stab, harmony::kMain, "X..X..X.........", 24, 4, 62, 1.5, 0.8f);
}

} // namespace music
