#pragma once
#include <optional>
#include <string>
#include <vector>

namespace music {

// "C4" is 60, "A4" 69; sharps "#", flats "b". Empty when the text is not a note.
std::optional<int> parseNoteName(const std::string& text);

struct Step {
    int index;       // sixteenth (or 32nd) within the pattern
    float velocity;
};

// Drum steps: 'X' accent, 'x' normal, 'o' ghost, '.' rest. Bars are
// separated by '|' and hold 16 sixteenths or 32 thirty-seconds each.
struct StepPattern {
    std::vector<Step> steps;
    int stepsPerBar = 16;
    int bars = 0;
    std::string error;
};
StepPattern parseSteps(const std::string& text);

struct MelodyNote {
    int step;        // sixteenths from the start of the phrase
    int length;      // sixteenths
    int pitch;       // MIDI
};

// "A4:3 D5:3 -:2 | ..." - note and length in sixteenths, "-" a rest, "|"
// ends a bar, and every bar must add up to exactly 16.
struct Melody {
    std::vector<MelodyNote> notes;
    int bars = 0;
    std::string error;
};
Melody parseMelody(const std::string& text);

// "Dm", "Bb", "Gm7", "Asus4", "C": pitch classes of the chord, root first.
struct Chord {
    int root = 0;                  // pitch class, C = 0
    std::vector<int> intervals;    // semitones above the root, including 0
    std::string error;
};
Chord parseChord(const std::string& text);

// The chord's tones placed inside [low, low + 12) so successive chords move
// by small steps instead of jumping in parallel.
std::vector<int> voiceChord(const Chord& chord, int low);

} // namespace music
