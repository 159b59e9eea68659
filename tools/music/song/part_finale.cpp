#include "song/harmony.h"
#include "song/patterns.h"
#include "score/notation.h"
#include "score/timing.h"
#include "song/song.h"

namespace music {

namespace {

const Progression kFinaleChords = {"Dm", "Bb", "F", "C", "Dm", "Bb", "C", "A"};

// The strobe bars: chopped chords on the odd rows of the first half of each
// bar, where the cubes flicker, and a stab on its sixteenth row.
void addStrobeBar(SongBuilder& b, int bar, const std::string& chord)
{
    double start = barToRow(bar);
    for (int offset = 1; offset <= 13; offset += 2)
        for (int pitch : voiceChord(parseChord(chord), 60)) b.hit(Instrument::Gate, start + offset, 0.8f, pitch, 0.7);
    for (int pitch : voiceChord(parseChord(chord), 62)) b.hit(Instrument::Stab, start + 15, 1.0f, pitch, 3.0);
    b.hit(Instrument::OpenHat, start + 15, 0.8f);
}

} // namespace

// The corridor: a steady drive that gathers pieces bar by bar, then the
// strobe section with the theme on top.
void addFinale(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloorLate, 44, 1);
    b.drums(Instrument::Kick, patterns::kFourFloor, 45, 7);
    b.drums(Instrument::ClosedHat, patterns::kOffbeatHats, 44, 2);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 46, 6);
    b.drums(Instrument::Clap, patterns::kBackbeat, 46, 5);
    b.drums(Instrument::Shaker, patterns::kShaker, 44, 8, 0.7f);
    b.drums(Instrument::Snare, patterns::kSnareRollBar, 51, 1, 0.4f, 2.4f);
    b.bassLine(harmony::kMain, patterns::kBassDrive, 44, 8);
    b.pads(harmony::kMain, 44, 8, 0.85f);
    b.arpeggio(harmony::kMain, harmony::kArpUp, 44, 8, 62, 2, 0.85f);
    b.chordHits(Instrument::Stab, harmony::kMain, "X..X..X...X..X..", 48, 3, 62, 1.5, 0.7f);
    // A muted first half of the theme, as a promise of what comes at bar 52.
    b.melody(Instrument::Lead, harmony::kThemeFirstHalf, 48, 0, 0.65f);

    b.drums(Instrument::Kick, patterns::kFourFloor, 52, 8);
    b.drums(Instrument::Clap, patterns::kBackbeat, 52, 8);
    b.drums(Instrument::Snare, patterns::kBackbeat, 52, 8, 0.5f);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 52, 8);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 52, 8, 0.7f);
    b.bassLine(kFinaleChords, patterns::kBassRoll, 52, 8);
    b.pads(kFinaleChords, 52, 8);
    b.arpeggio(kFinaleChords, harmony::kArpWide, 52, 8, 62, 2, 0.8f);
    b.melody(Instrument::Lead, harmony::kTheme, 52);
    for (int bar = 52; bar < 60; ++bar) addStrobeBar(b, bar, kFinaleChords[static_cast<size_t>(bar - 52)]);
}

// The climax: chopped chords on every other row, the theme an octave up and
// a roll that tightens into the glitch at row 2043; then the outro sinks.
void addClimaxAndOutro(SongBuilder& b)
{
    b.drums(Instrument::Kick, patterns::kFourFloor, 60, 4);
    b.drums(Instrument::Clap, patterns::kBackbeat, 60, 4);
    b.drums(Instrument::ClosedHat, patterns::kSixteenthHats, 60, 4);
    b.drums(Instrument::OpenHat, patterns::kOffbeatHats, 60, 4, 0.8f);
    b.drums(Instrument::Snare, patterns::kSnareRollSixteenths, 61, 2, 0.35f, 2.0f);
    b.drums(Instrument::Snare, patterns::kSnareRollBar, 63, 1, 0.7f, 1.4f);
    b.bassLine(harmony::kMain, patterns::kBassRoll, 60, 4);
    b.pads(harmony::kMain, 60, 4);
    b.arpeggio(harmony::kMain, harmony::kArpWide, 60, 4, 62, 2, 0.9f);
    b.melody(Instrument::Lead, harmony::kThemeFirstHalf, 60, 12, 0.8f);
    for (int bar = 60; bar < 64; ++bar) {
        Chord chord = parseChord(harmony::kMain[static_cast<size_t>(bar - 60)]);
        for (int offset = 1; offset < 32 && barToRow(bar) + offset < 2043; offset += 2)
            for (int pitch : voiceChord(chord, 60)) b.hit(Instrument::Gate, barToRow(bar) + offset, 0.75f, pitch, 0.7);
    }
    b.stutter(2043, 2046, 1, 0.6);

    b.pads({"Dm", "Bbmaj7", "Gm7", "Dm"}, 64, 4, 0.6f);
    b.bassLine({"Dm"}, patterns::kBassWhole, 64, 2, 0.7f);
    b.arpeggio({"Dm", "Bbmaj7", "Gm7"}, harmony::kArpUp, 64, 3, 62, 4, 0.5f);
    b.melody(Instrument::Lead, "D5:16 |", 64, 0, 0.7f);
}

} // namespace music
