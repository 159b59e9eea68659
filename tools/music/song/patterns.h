#pragma once

// Drum and bass rhythms of the song, one bar of sixteenths each (a bar of 32
// cells is thirty-seconds). Drums: X accent, x hit, o ghost, . rest.
// Bass: x root, o octave, 5 fifth, - tie, . rest.
namespace music::patterns {

inline constexpr const char* kFourFloor = "x...x...x...x...";
inline constexpr const char* kFourFloorLate = "....x...x...x...";  // beat 1 left to an impact
inline constexpr const char* kBackbeat = "....x.......x...";
inline constexpr const char* kHalfTime = "........x.......";
inline constexpr const char* kOffbeatHats = "..x...x...x...x.";
inline constexpr const char* kSixteenthHats = "ooxoooxoooxoooxo";
inline constexpr const char* kShaker = "oxoxoxoxoxoxoxox";
inline constexpr const char* kBeatFourFill = "..........x.xxXX";
inline constexpr const char* kSnareRollBar = "x.x.x.x.x.x.x.x.xxxxxxxxXXXXXXXX";
inline constexpr const char* kSnareRollSixteenths = "x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.";
inline constexpr const char* kLiftRoll = "................x.x.x.x.xxxx....";  // silent from row 892 on

inline constexpr const char* kBassOffbeat = "..x...x...x...x.";
inline constexpr const char* kBassRoll = ".xxo.xxx.xxo.x5x";
inline constexpr const char* kBassRollEnd = ".xxo.xxx.xxo....";
inline constexpr const char* kBassDrive = ".xxx.xxx.xxx.xxo";
inline constexpr const char* kBassLong = "x-------x---5---";
inline constexpr const char* kBassWhole = "x---------------";
inline constexpr const char* kBassEighths = "x.x.x.x.x.x.x.x.";

} // namespace music::patterns
