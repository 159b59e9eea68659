// The compact notation the song is written in.
#include <gtest/gtest.h>

#include "score/notation.h"

namespace music {
namespace {

TEST(NoteNames, MapToMidiNumbers)
{
    EXPECT_EQ(parseNoteName("A4"), 69);
    EXPECT_EQ(parseNoteName("C4"), 60);
    EXPECT_EQ(parseNoteName("Bb1"), 34);
    EXPECT_EQ(parseNoteName("C#5"), 73);
    EXPECT_EQ(parseNoteName("B#3"), 60) << "an accidental may cross the octave line";
    EXPECT_EQ(parseNoteName("Cb4"), 59);
    for (const char* bad : {"", "A", "H2", "A10", "a4", "Bx3", "C-1"}) EXPECT_FALSE(parseNoteName(bad)) << bad;
}

TEST(StepPatterns, PlaceHitsOnSixteenthsOrThirtySeconds)
{
    StepPattern p = parseSteps("X...x...o...x...");
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.steps.size(), 4u);
    EXPECT_EQ(p.stepsPerBar, 16);
    EXPECT_EQ(p.steps[2].index, 8);
    EXPECT_GT(p.steps[0].velocity, p.steps[1].velocity);
    EXPECT_GT(p.steps[1].velocity, p.steps[2].velocity);

    EXPECT_EQ(parseSteps("x...............x...............").stepsPerBar, 32);
    StepPattern twoBars = parseSteps("x............... | ....x...........");
    EXPECT_EQ(twoBars.bars, 2);
    EXPECT_EQ(twoBars.steps[1].index, 20);
}

TEST(StepPatterns, RejectPartialBarsAndUnknownMarks)
{
    EXPECT_NE(parseSteps("x...x...x...x..").error, "");
    EXPECT_NE(parseSteps("").error, "");
    StepPattern bad = parseSteps("x...y...x...x...");
    EXPECT_NE(bad.error, "");
    EXPECT_TRUE(bad.steps.empty());
}

TEST(Melodies, CountSixteenthsAndSkipRests)
{
    Melody m = parseMelody("A4:4 -:4 C5:8 | D5:16 |");
    ASSERT_EQ(m.error, "");
    ASSERT_EQ(m.notes.size(), 3u);
    EXPECT_EQ(m.bars, 2);
    EXPECT_EQ(m.notes[1].step, 8);
    EXPECT_EQ(m.notes[1].pitch, 72);
    EXPECT_EQ(m.notes[2].step, 16);
    EXPECT_EQ(m.notes[2].length, 16);
}

TEST(Melodies, ReportTheBarThatDoesNotAddUp)
{
    Melody m = parseMelody("A4:16 | A4:8 C5:7 | D5:16");
    EXPECT_NE(m.error.find("bar 2"), std::string::npos) << m.error;
    EXPECT_TRUE(m.notes.empty());
    EXPECT_NE(parseMelody("A4:12 B4:4 C5").error, "") << "a note without length";
    EXPECT_NE(parseMelody("Q4:16 |").error, "");
    EXPECT_NE(parseMelody("A4:8").error, "") << "an unfinished last bar";
}

TEST(Chords, VoiceInsideTheirOctaveWithSmallMoves)
{
    EXPECT_EQ(voiceChord(parseChord("Dm"), 60), (std::vector<int>{62, 65, 69}));
    EXPECT_EQ(voiceChord(parseChord("Bb"), 60), (std::vector<int>{62, 65, 70}));
    EXPECT_EQ(voiceChord(parseChord("A"), 60), (std::vector<int>{61, 64, 69}));
    EXPECT_EQ(voiceChord(parseChord("Gm7"), 60), (std::vector<int>{62, 65, 67, 70}));
    EXPECT_EQ(parseChord("F#m").root, 6);
    EXPECT_NE(parseChord("Dmaj13").error, "");
    EXPECT_NE(parseChord("Xm").error, "");
}

} // namespace
} // namespace music
