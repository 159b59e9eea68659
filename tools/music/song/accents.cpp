#include "song/song.h"

namespace music {

namespace {

// Rows where the picture cuts, flashes or turns: each gets an impact, a crash
// and a reversed cymbal that swells into it.
constexpr double kImpacts[] = {127, 384, 768, 896, 1152, 1279, 1406, 1663, 2046};

struct Sweep {
    double row, lengthRows;
};
constexpr Sweep kRisers[] = {{64, 63}, {544, 96}, {761, 7}, {800, 96}, {1374, 32}, {1568, 95}, {1920, 126}};
constexpr Sweep kDownlifters[] = {{384, 48}, {1152, 64}, {2046, 96}};
constexpr Sweep kGlitches[] = {{126, 3}, {382, 4}, {632, 10}, {1277, 4}, {1404, 4}, {1662, 3}, {2043, 3}};

} // namespace

void addAccents(SongBuilder& b)
{
    for (double row : kImpacts) {
        b.hit(Instrument::Impact, row);
        b.hit(Instrument::Crash, row);
        b.hit(Instrument::ReverseCymbal, row - 32, 0.8f, 60, 32);
    }
    b.hit(Instrument::Crash, 640, 0.8f);
    b.hit(Instrument::Kick, 640);
    b.hit(Instrument::Crash, 1024, 0.7f);
    b.hit(Instrument::Crash, 1920, 0.9f);
    for (const Sweep& s : kRisers) b.hit(Instrument::Riser, s.row, 0.8f, 48, s.lengthRows);
    for (const Sweep& s : kDownlifters) b.hit(Instrument::Downlifter, s.row, 0.7f, 60, s.lengthRows);
    for (const Sweep& s : kGlitches) b.hit(Instrument::Glitch, s.row, 1.0f, 60, s.lengthRows);
    b.hit(Instrument::SubDrop, 896, 1.0f, 60, 24);
    b.hit(Instrument::SubDrop, 1152, 0.8f, 60, 32);
}

} // namespace music
