#pragma once
#include <map>
#include <string>
#include <vector>

namespace music {

enum class Instrument {
    Kick,
    Snare,
    Clap,
    ClosedHat,
    OpenHat,
    Shaker,
    Crash,
    Tick,      // the little glitch blip on each beat
    Bass,
    Pad,
    Pluck,     // FM arpeggio
    Lead,
    Stab,      // short chord hits on the accents
    Gate,      // chords chopped on every row in the strobe parts
    Riser,
    Downlifter,
    ReverseCymbal,
    Impact,
    Glitch,
    SubDrop,
};

struct Note {
    double row = 0.0;        // onset on the row grid (fractions allowed)
    double lengthRows = 1.0; // gate length
    double pitch = 0.0;      // MIDI note number; unused by unpitched drums
    float velocity = 1.0f;
    Instrument instrument = Instrument::Kick;
    double glideFrom = 0.0;  // lead only: slide in from this pitch (0 = attack fresh)
};

// A value that changes over the song, keyed on rows and interpolated linearly.
struct Automation {
    std::vector<std::pair<double, float>> keys; // ascending rows
    float at(double row) const;
};

enum class Param {
    PadCutoff,      // Hz
    PluckCutoff,    // Hz
    BassCutoff,     // Hz
    LeadCutoff,     // Hz
    MusicLowPass,   // Hz, on the whole music bus (intro, break fade)
    DrumsLowPass,   // Hz, on the drum bus (muffled intro kick)
    MasterGain,     // linear, fades in and out
    ReverbSend,     // linear multiplier on every send
};

// Beat-repeat: from `row` to `endRow` the mix replays its first `sliceRows`
// over and over, each repeat audible for its first `gateRows` only (0 mutes).
struct Stutter {
    double row;
    double endRow;
    double sliceRows;
    double gateRows;
};

struct Score {
    std::vector<Note> notes;
    std::map<Param, Automation> automation;
    std::vector<Stutter> stutters;
    double lengthRows = 0.0;

    float param(Param p, double row, float fallback) const;
};

} // namespace music
