#include "song/harmony.h"
#include "song/patterns.h"
#include "song/song.h"

namespace music {

// Out of black: a muffled pulse under an opening pad; the arpeggio and a
// riser climb into the impact at row 127.
void addIntro(SongBuilder& b)
{
    b.pads(harmony::kMain, 0, 4, 0.8f);
    for (int row = 8; row <= 120; row += 8) {
        if (row == 40) {
            // The picture jolts on row 41: a late double hit.
            b.hit(Instrument::Kick, 40, 0.45f);
            b.hit(Instrument::Kick, 41, 0.85f);
            continue;
        }
        b.hit(Instrument::Kick, row, 0.85f);
    }
    b.arpeggio({"F", "C"}, harmony::kArpUp, 2, 2, 62, 2, 0.55f);
    b.drums(Instrument::Shaker, patterns::kShaker, 2, 2, 0.5f, 1.6f);
    b.bassLine({"F", "C"}, patterns::kBassWhole, 2, 2, 0.6f);
}

// The first groove; the clap and the busier hats join halfway.
void addFirstGroove(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloorLate, 4, 1);
    b.drums(Instrument::Kick, patterns::kFourFloor, 5, 7);
    b.drums(Instrument::ClosedHat, patterns::kOffbeatHats, 4, 4);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 8, 4);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 10, 2, 0.6f);
    b.drums(Instrument::Clap, patterns::kBackbeat, 4, 4, 0.7f);
    b.drums(Instrument::Clap, patterns::kBackbeat, 8, 4);
    b.drums(Instrument::Shaker, patterns::kShaker, 8, 4, 0.7f);
    b.drums(Instrument::Snare, patterns::kBeatFourFill, 11, 1, 0.8f);
    b.bassLine(harmony::kMain, patterns::kBassOffbeat, 4, 8);
    b.pads(harmony::kMain, 4, 8, 0.85f);
    b.arpeggio(harmony::kMain, harmony::kArpUp, 4, 8, 62, 2, 0.8f);
}

} // namespace music
