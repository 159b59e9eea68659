#include "song/song.h"

namespace music {

Score buildSong(std::vector<std::string>& errors)
{
    SongBuilder b(kSongRows);
    addIntro(b);
    addFirstGroove(b);
    addSecondPart(b);
    addPreDrop(b);
    addDrop(b);
    addBreak(b);
    addReturn(b);
    addFinale(b);
    addClimaxAndOutro(b);
    addAccents(b);
    addAutomation(b);
    errors = b.errors();
    return b.take();
}

} // namespace music
