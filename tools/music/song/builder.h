#pragma once
#include <string>
#include <vector>

#include "score/score.h"

namespace music {

using Progression = std::vector<std::string>; // one chord symbol per bar

// Turns the compact notation of the song files into notes. Mistakes in the
// data (a bar of 15 sixteenths, an unknown chord) are collected, not thrown,
// so every one of them can be reported at once.
class SongBuilder {
public:
    explicit SongBuilder(double lengthRows) { score_.lengthRows = lengthRows; }

    void hit(Instrument i, double row, float velocity = 1.0f, double pitch = 60.0, double lengthRows = 1.0);

    // Repeats a drum pattern from `firstBar` for `bars` bars; `rampTo` moves
    // the velocity linearly from 1 to that factor over the span (crescendos).
    void drums(Instrument i, const std::string& pattern, int firstBar, int bars, float velocity = 1.0f,
               float rampTo = 1.0f);

    // Sustained chords, one per bar, above the bass.
    void pads(const Progression& chords, int firstBar, int bars, float velocity = 1.0f);

    // Short chord hits on the pattern's steps, following the progression.
    void chordHits(Instrument i, const Progression& chords, const std::string& pattern, int firstBar, int bars,
                   int voicingLow, double lengthRows, float velocity = 1.0f);

    // Bass on the chord roots: '.' rest, 'x' root, 'o' octave up, '5' fifth.
    void bassLine(const Progression& chords, const std::string& pattern, int firstBar, int bars,
                  float velocity = 1.0f);

    // Sixteenth-note arpeggio walking `order` over the voiced chord tones
    // (indices past the chord wrap into the next octave).
    void arpeggio(const Progression& chords, const std::vector<int>& order, int firstBar, int bars, int voicingLow,
                  int rowsPerNote = 2, float velocity = 1.0f);

    // A melody in the notation of parseMelody; contiguous steps of a tone or
    // less slide instead of re-attacking.
    void melody(Instrument i, const std::string& text, int firstBar, int transpose = 0, float velocity = 1.0f);

    void automate(Param p, std::vector<std::pair<double, float>> keys);
    void stutter(double row, double endRow, double sliceRows, double gateRows);

    const std::vector<std::string>& errors() const { return errors_; }
    Score take() { return std::move(score_); }

private:
    const std::string& chordAt(const Progression& chords, int barOffset);
    void fail(const std::string& what) { errors_.push_back(what); }

    Score score_;
    std::vector<std::string> errors_;
};

} // namespace music
