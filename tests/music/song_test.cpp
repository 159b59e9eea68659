// The song data: complete, inside its 2176 rows, and on the picture's cues.
#include <gtest/gtest.h>

#include <algorithm>

#include "song/song.h"

namespace music {
namespace {

const Score& song()
{
    static const Score score = [] {
        std::vector<std::string> errors;
        Score s = buildSong(errors);
        EXPECT_TRUE(errors.empty()) << errors.front();
        return s;
    }();
    return score;
}

bool hasNote(Instrument i, double row)
{
    const auto& notes = song().notes;
    return std::any_of(notes.begin(), notes.end(), [&](const Note& n) { return n.instrument == i && n.row == row; });
}

TEST(Song, BuildsWithoutDataErrorsAndStaysInsideItsRows)
{
    ASSERT_FALSE(song().notes.empty());
    EXPECT_EQ(song().lengthRows, 2176.0);
    for (const Note& n : song().notes) {
        ASSERT_GE(n.row, 0.0);
        ASSERT_LT(n.row, 2176.0);
        ASSERT_GT(n.lengthRows, 0.0);
        ASSERT_GT(n.velocity, 0.0f);
    }
    for (const Stutter& s : song().stutters) {
        EXPECT_LT(s.row, s.endRow);
        EXPECT_LE(s.endRow, 2176.0);
    }
}

TEST(Song, HitsLandOnTheRowsWhereThePictureCutsAndFlashes)
{
    for (double row : {127.0, 384.0, 768.0, 896.0, 1152.0, 1279.0, 1406.0, 1663.0, 2046.0})
        EXPECT_TRUE(hasNote(Instrument::Impact, row)) << "impact at row " << row;
    for (double row = 1287; row <= 1399; row += 16) {
        EXPECT_TRUE(hasNote(Instrument::Clap, row)) << "white hit at row " << row;
        EXPECT_TRUE(hasNote(Instrument::Clap, row + 1));
    }
    for (double row = 648; row <= 888; row += 8)
        EXPECT_EQ(hasNote(Instrument::Tick, row), row != 768) << "glitch tick at row " << row;
    for (double bar = 1664; bar < 1920; bar += 32) EXPECT_TRUE(hasNote(Instrument::Stab, bar + 15)) << bar;
}

TEST(Song, KickFollowsTheCameraShakesOfTheGrooves)
{
    for (double row = 136; row <= 376; row += 8) EXPECT_TRUE(hasNote(Instrument::Kick, row)) << row;
    for (double row = 904; row <= 1144; row += 8) EXPECT_TRUE(hasNote(Instrument::Kick, row)) << row;
    EXPECT_FALSE(hasNote(Instrument::Kick, 448)) << "no kick while the lettering lies still";
}

TEST(Song, StuttersAndSilencesMatchTheBloomFlicker)
{
    auto covers = [](double row) {
        return std::any_of(song().stutters.begin(), song().stutters.end(),
                           [&](const Stutter& s) { return s.row <= row && row < s.endRow; });
    };
    for (double row : {1016.0, 1020.0, 1136.0, 1148.0, 1151.0}) EXPECT_TRUE(covers(row)) << row;
    EXPECT_FALSE(covers(1100.0));
}

TEST(SongBuilder, CollectsEveryMistakeInsteadOfStoppingAtTheFirst)
{
    SongBuilder b(64);
    b.drums(Instrument::Kick, "x..x", 0, 1);
    b.melody(Instrument::Lead, "A4:15 |", 0);
    b.pads({"Hm"}, 0, 1);
    b.hit(Instrument::Kick, 64);
    b.bassLine({"Dm"}, "x..q............", 0, 1);
    ASSERT_EQ(b.errors().size(), 5u);
    EXPECT_NE(b.errors()[2].find("Hm"), std::string::npos) << b.errors()[2];
    EXPECT_NE(b.errors()[3].find("outside"), std::string::npos) << b.errors()[3];
}

TEST(SongBuilder, SlidesOnlyBetweenTouchingNotesAStepApart)
{
    SongBuilder b(64);
    b.melody(Instrument::Lead, "D5:4 E5:4 -:2 F5:2 C6:4 |", 0);
    Score s = b.take();
    ASSERT_EQ(s.notes.size(), 4u);
    EXPECT_EQ(s.notes[0].glideFrom, 0.0);
    EXPECT_EQ(s.notes[1].glideFrom, 74.0) << "E5 slides from the touching D5";
    EXPECT_EQ(s.notes[2].glideFrom, 0.0) << "a rest breaks the slide";
    EXPECT_EQ(s.notes[3].glideFrom, 0.0) << "a leap re-attacks";
    EXPECT_DOUBLE_EQ(s.notes[1].row, 8.0);
}

} // namespace
} // namespace music
