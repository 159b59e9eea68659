#include "score/notation.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace music {
namespace {

int pitchClass(char letter)
{
    switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
    }
}

// Letter plus optional accidental at the front of `text`; returns the pitch
// class and how many characters it used, or -1.
int leadingPitchClass(const std::string& text, size_t& used)
{
    if (text.empty()) return -1;
    int pc = pitchClass(text[0]);
    used = 1;
    if (pc < 0) return -1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (pc + 12) % 12;
}

} // namespace

std::optional<int> parseNoteName(const std::string& text)
{
    size_t used = 0;
    int pc = leadingPitchClass(text, used);
    if (pc < 0 || used >= text.size()) return std::nullopt;
    std::string octave = text.substr(used);
    if (!std::all_of(octave.begin(), octave.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
        octave.size() > 1)
        return std::nullopt;
    // The accidental may cross an octave line: B#3 is C4, Cb4 is B3.
    int natural = pitchClass(text[0]);
    int shift = used == 2 ? (text[1] == '#' ? 1 : -1) : 0;
    return (octave[0] - '0' + 1) * 12 + natural + shift;
}

StepPattern parseSteps(const std::string& text)
{
    StepPattern p;
    std::vector<std::string> bars(1);
    for (char c : text) {
        if (c == '|') bars.emplace_back();
        else if (c != ' ') bars.back() += c;
    }
    if (bars.size() > 1 && bars.back().empty()) bars.pop_back();
    p.stepsPerBar = static_cast<int>(bars.front().size());
    for (const std::string& bar : bars)
        if (static_cast<int>(bar.size()) != p.stepsPerBar || (p.stepsPerBar != 16 && p.stepsPerBar != 32)) {
            p.error = "bar of " + std::to_string(bar.size()) + " steps; bars hold 16 or 32, all alike";
            return p;
        }
    p.bars = static_cast<int>(bars.size());
    for (int b = 0; b < p.bars; ++b)
        for (int i = 0; i < p.stepsPerBar; ++i) {
            char c = bars[static_cast<size_t>(b)][static_cast<size_t>(i)];
            if (c == '.') continue;
            float v = c == 'X' ? 1.0f : c == 'x' ? 0.8f : c == 'o' ? 0.45f : -1.0f;
            if (v < 0.0f) {
                p.error = std::string("unknown step '") + c + "'";
                p.steps.clear();
                return p;
            }
            p.steps.push_back({b * p.stepsPerBar + i, v});
        }
    return p;
}

Melody parseMelody(const std::string& text)
{
    Melody m;
    std::istringstream in(text);
    std::string token;
    int step = 0, barStart = 0;
    auto closeBar = [&]() {
        if (step - barStart != 16)
            m.error = "bar " + std::to_string(m.bars + 1) + " holds " + std::to_string(step - barStart) + " sixteenths";
        barStart = step;
        ++m.bars;
    };
    while (in >> token && m.error.empty()) {
        if (token == "|") {
            closeBar();
            continue;
        }
        size_t colon = token.find(':');
        int length = colon == std::string::npos ? 0 : std::atoi(token.c_str() + colon + 1);
        if (length <= 0) {
            m.error = "token '" + token + "' needs a length";
            break;
        }
        std::string name = token.substr(0, colon);
        if (name != "-") {
            auto pitch = parseNoteName(name);
            if (!pitch) {
                m.error = "unknown note '" + name + "'";
                break;
            }
            m.notes.push_back({step, length, *pitch});
        }
        step += length;
    }
    if (m.error.empty() && step != barStart) closeBar();
    if (!m.error.empty()) m.notes.clear();
    return m;
}

Chord parseChord(const std::string& text)
{
    Chord c;
    size_t used = 0;
    c.root = leadingPitchClass(text, used);
    if (c.root < 0) {
        c.error = "unknown chord '" + text + "'";
        return c;
    }
    std::string kind = text.substr(used);
    if (kind.empty()) c.intervals = {0, 4, 7};
    else if (kind == "m") c.intervals = {0, 3, 7};
    else if (kind == "m7") c.intervals = {0, 3, 7, 10};
    else if (kind == "maj7") c.intervals = {0, 4, 7, 11};
    else if (kind == "7") c.intervals = {0, 4, 7, 10};
    else if (kind == "sus4") c.intervals = {0, 5, 7};
    else if (kind == "sus2") c.intervals = {0, 2, 7};
    else if (kind == "add9") c.intervals = {0, 4, 7, 14};
    else if (kind == "madd9") c.intervals = {0, 3, 7, 14};
    else c.error = "unknown chord quality '" + kind + "' in '" + text + "'";
    return c;
}

std::vector<int> voiceChord(const Chord& chord, int low)
{
    std::vector<int> notes;
    for (int interval : chord.intervals) {
        int pc = (chord.root + interval) % 12;
        int note = low + ((pc - low) % 12 + 12) % 12;
        notes.push_back(note);
    }
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    return notes;
}

} // namespace music
