#pragma once
#include <string>
#include <vector>

#include "score/score.h"
#include "song/builder.h"

namespace music {

// The soundtrack: 68 bars at 120 BPM, 2176 rows. `errors` receives every
// mistake found in the song data; the score is only usable when it is empty.
Score buildSong(std::vector<std::string>& errors);

constexpr double kSongRows = 2176.0;

// The parts of the song, each a separate file.
void addIntro(SongBuilder& b);          // bars 0-3
void addFirstGroove(SongBuilder& b);    // bars 4-11
void addSecondPart(SongBuilder& b);     // bars 12-19
void addPreDrop(SongBuilder& b);        // bars 20-27
void addDrop(SongBuilder& b);           // bars 28-35
void addBreak(SongBuilder& b);          // bars 36-39
void addReturn(SongBuilder& b);         // bars 40-43
void addFinale(SongBuilder& b);         // bars 44-59
void addClimaxAndOutro(SongBuilder& b); // bars 60-67
void addAccents(SongBuilder& b);        // impacts, risers and glitches on the picture's cues
void addAutomation(SongBuilder& b);

} // namespace music
