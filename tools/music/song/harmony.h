#pragma once
#include <string>
#include <vector>

#include "song/builder.h"

// The harmonic material of the song, in D minor.
namespace music::harmony {

inline const Progression kMain = {"Dm", "Bb", "F", "C"};
inline const Progression kDropTurn = {"Dm", "Bb", "C", "A"};
inline const Progression kTension = {"Gm", "Dm", "Bb", "A"};
inline const Progression kBreak = {"Bbmaj7", "Gm7", "Dm", "Asus4"};

inline const std::vector<int> kArpUp = {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 5, 4, 3, 2};
inline const std::vector<int> kArpWide = {0, 2, 4, 1, 3, 5, 2, 4, 6, 3, 5, 4, 2, 3, 1, 2};

// The main theme over kMain then kDropTurn; its first half fits kMain alone.
inline constexpr const char* kThemeFirstHalf =
    "A4:3 D5:3 F5:2 E5:2 D5:2 A4:4 | F5:3 D5:3 Bb4:2 C5:2 D5:6 | "
    "C5:3 F5:3 A5:2 G5:2 F5:2 C5:4 | E5:3 G5:3 E5:2 D5:4 C5:2 E5:2 |";
inline const std::string kTheme = std::string(kThemeFirstHalf) + " "
    "A4:3 D5:3 F5:2 E5:2 D5:2 A5:4 | F5:3 D5:3 Bb4:2 C5:2 D5:2 F5:4 | "
    "G5:3 E5:3 C5:2 D5:2 E5:2 G5:4 | A5:6 G5:2 E5:2 C#5:6 |";

// The first, calmer statement over kTension, twice.
inline constexpr const char* kTensionTheme =
    "D5:6 Bb4:2 C5:2 D5:2 F5:4 | E5:4 D5:4 A4:8 | Bb4:3 C5:3 D5:2 F5:3 E5:3 D5:2 | C#5:8 E5:4 A5:4 | "
    "D5:6 Bb4:2 C5:2 D5:2 G5:4 | F5:4 E5:4 D5:4 A4:4 | Bb4:3 D5:3 F5:2 A5:6 G5:2 | A5:16 |";

// Long notes over the break, left to the delay and the reverb.
inline constexpr const char* kBreakLine = "F5:8 D5:8 | Bb5:8 A5:4 F5:4 | A5:12 -:4 | G5:8 E5:8 |";

} // namespace music::harmony
