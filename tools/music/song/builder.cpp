#include "song/builder.h"

#include <algorithm>
#include <cmath>

#include "score/notation.h"
#include "score/timing.h"

namespace music {

const std::string& SongBuilder::chordAt(const Progression& chords, int barOffset)
{
    static const std::string none = "C";
    if (chords.empty()) {
        fail("empty chord progression");
        return none;
    }
    return chords[static_cast<size_t>(barOffset) % chords.size()];
}

void SongBuilder::hit(Instrument i, double row, float velocity, double pitch, double lengthRows)
{
    if (row < 0.0 || row >= score_.lengthRows) {
        fail("note at row " + std::to_string(row) + " lies outside the song");
        return;
    }
    score_.notes.push_back({row, lengthRows, pitch, velocity, i, 0.0});
}

void SongBuilder::drums(Instrument i, const std::string& pattern, int firstBar, int bars, float velocity, float rampTo)
{
    StepPattern p = parseSteps(pattern);
    if (!p.error.empty()) return fail("drum pattern \"" + pattern + "\": " + p.error);
    double rowsPerStep = static_cast<double>(kRowsPerBar) / p.stepsPerBar;
    int patternSteps = p.bars * p.stepsPerBar;
    double span = bars * kRowsPerBar;
    for (int rep = 0; rep * p.bars < bars; ++rep)
        for (const Step& s : p.steps) {
            double offset = (rep * patternSteps + s.index) * rowsPerStep;
            if (offset >= span) continue;
            float ramp = 1.0f + (rampTo - 1.0f) * static_cast<float>(offset / span);
            hit(i, barToRow(firstBar) + offset, s.velocity * velocity * ramp);
        }
}

void SongBuilder::pads(const Progression& chords, int firstBar, int bars, float velocity)
{
    for (int b = 0; b < bars; ++b) {
        Chord c = parseChord(chordAt(chords, b));
        if (!c.error.empty()) return fail(c.error);
        for (int t : voiceChord(c, 60)) hit(Instrument::Pad, barToRow(firstBar + b), velocity, t, kRowsPerBar);
    }
}

void SongBuilder::chordHits(Instrument i, const Progression& chords, const std::string& pattern, int firstBar,
                            int bars, int voicingLow, double lengthRows, float velocity)
{
    StepPattern p = parseSteps(pattern);
    if (!p.error.empty()) return fail("chord pattern \"" + pattern + "\": " + p.error);
    double rowsPerStep = static_cast<double>(kRowsPerBar) / p.stepsPerBar;
    for (int b = 0; b < bars; ++b) {
        Chord c = parseChord(chordAt(chords, b));
        if (!c.error.empty()) return fail(c.error);
        for (const Step& s : p.steps) {
            if (s.index / p.stepsPerBar != b % p.bars) continue;
            double row = barToRow(firstBar + b) + (s.index % p.stepsPerBar) * rowsPerStep;
            for (int t : voiceChord(c, voicingLow)) hit(i, row, s.velocity * velocity, t, lengthRows);
        }
    }
}

void SongBuilder::bassLine(const Progression& chords, const std::string& pattern, int firstBar, int bars,
                           float velocity)
{
    if (pattern.size() != 16) return fail("bass pattern \"" + pattern + "\" must hold 16 steps");
    for (int b = 0; b < bars; ++b) {
        Chord c = parseChord(chordAt(chords, b));
        if (!c.error.empty()) return fail(c.error);
        int root = voiceChord({c.root, {0}, {}}, 33).front();
        for (int s = 0; s < 16; ++s) {
            char k = pattern[static_cast<size_t>(s)];
            if (k == '.' || k == '-') continue;
            int offset = k == 'x' ? 0 : k == 'o' ? 12 : k == '5' ? 7 : -1;
            if (offset < 0) return fail(std::string("unknown bass step '") + k + "'");
            // Notes end just before the next step so each one re-attacks.
            int len = 1;
            while (s + len < 16 && pattern[static_cast<size_t>(s + len)] == '-') ++len;
            hit(Instrument::Bass, barToRow(firstBar + b) + s * 2, velocity, root + offset, len * 2 - 0.4);
        }
    }
}

void SongBuilder::arpeggio(const Progression& chords, const std::vector<int>& order, int firstBar, int bars,
                           int voicingLow, int rowsPerNote, float velocity)
{
    if (order.empty()) return fail("empty arpeggio order");
    int perBar = kRowsPerBar / rowsPerNote;
    for (int b = 0; b < bars; ++b) {
        Chord c = parseChord(chordAt(chords, b));
        if (!c.error.empty()) return fail(c.error);
        std::vector<int> tones = voiceChord(c, voicingLow);
        int n = static_cast<int>(tones.size());
        for (int k = 0; k < perBar; ++k) {
            int idx = order[static_cast<size_t>(k) % order.size()];
            int pitch = tones[static_cast<size_t>(idx % n)] + 12 * (idx / n);
            float accent = (k * rowsPerNote) % kRowsPerBeat == 0 ? 1.0f : 0.72f;
            hit(Instrument::Pluck, barToRow(firstBar + b) + k * rowsPerNote, velocity * accent, pitch,
                rowsPerNote * 0.8);
        }
    }
}

void SongBuilder::melody(Instrument i, const std::string& text, int firstBar, int transpose, float velocity)
{
    Melody m = parseMelody(text);
    if (!m.error.empty()) return fail("melody at bar " + std::to_string(firstBar) + ": " + m.error);
    const MelodyNote* previous = nullptr;
    for (const MelodyNote& n : m.notes) {
        double row = barToRow(firstBar) + n.step * 2.0;
        bool slide = previous && previous->step + previous->length == n.step && std::abs(previous->pitch - n.pitch) <= 2;
        hit(i, row, velocity, n.pitch + transpose, n.length * 2.0 - 0.3);
        if (slide) score_.notes.back().glideFrom = previous->pitch + transpose;
        previous = &n;
    }
}

void SongBuilder::automate(Param p, std::vector<std::pair<double, float>> keys)
{
    if (!std::is_sorted(keys.begin(), keys.end(), [](auto& a, auto& b) { return a.first < b.first; }))
        return fail("automation keys out of order");
    score_.automation[p].keys = std::move(keys);
}

void SongBuilder::stutter(double row, double endRow, double sliceRows, double gateRows)
{
    if (endRow <= row || sliceRows <= 0.0) return fail("empty stutter at row " + std::to_string(row));
    score_.stutters.push_back({row, endRow, sliceRows, gateRows});
}

} // namespace music
