// The music's text notation reads as written (a flat "b" after a note name is
// not the note B), refuses a bar it cannot read, and the left hand's voicings
// keep what makes a chord that chord.
#include "media_chord_voicing.h"
#include "media_score_notation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

struct MelodyCase {
    const char* bar;
    std::vector<int> keys;
    std::vector<double> starts;
};

TEST(ScoreNotation, MelodyBarsReadAsWritten)
{
    const MelodyCase cases[] = {
        {"bb5:4 b4:2 cb6:2 f#5:16", {82, 71, 83, 78}, {0, 4, 6, 8}},
        {"r:4 gb6+bb5:20", {90, 82}, {4, 4}},
        {"'d6 c6:24", {86, 84}, {0, 0}},
        {"(c5 d5 e5):3 r:21", {72, 74, 76}, {0, 1, 2}},
        {"ab5~bb5:2 r:22", {80, 82, 80, 82, 80, 82}, {0, 1.0 / 3, 2.0 / 3, 1, 4.0 / 3, 5.0 / 3}},
    };
    for (const MelodyCase& c : cases) {
        const std::vector<ScoreNote> notes = parseMelodyBar(c.bar, 24);
        ASSERT_EQ(notes.size(), c.keys.size()) << c.bar;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(notes[i].key, c.keys[i]) << c.bar << " note " << i;
            EXPECT_NEAR(notes[i].start, c.starts[i], 1e-9) << c.bar << " note " << i;
        }
    }
    EXPECT_EQ(parseMelodyBar("gb6+bb5:24", 24)[1].role, NoteRole::Inner);
    EXPECT_EQ(parseMelodyBar("'d6 c6:24", 24)[0].role, NoteRole::Grace);
}

TEST(ScoreNotation, RefusesBarsItCannotRead)
{
    for (const char* bar : {"c5:23", "c5:12 d5:13", "h5:24", "c:24", "c5", "c5:x", "(c5 d5:24", "c5+:24"})
        EXPECT_THROW(parseMelodyBar(bar, 24), std::runtime_error) << bar;
    for (const char* harmony : {"", "Hb", "Cdim", "Eb/X"})
        EXPECT_THROW(parseHarmonyBar(harmony), std::runtime_error) << harmony;
}

TEST(ScoreNotation, VoicingsHoldTheThirdAndTheSeventhAndMoveLittle)
{
    struct Case {
        const char* chord;
        int bass;
        std::vector<int> needed;   // pitch classes the voicing must hold
    };
    const Case cases[] = {
        {"Ab", 44, {0}},           // C, the third
        {"Bb7", 34, {2, 8}},       // D and A-flat
        {"Eb7/Db", 37, {7}},       // the bass has the seventh; G must sound
        {"Cm/Bb", 34, {3}},
    };
    const ChordVoicing start{55, 58, 63};   // G3 B-flat3 E-flat4
    for (const Case& c : cases) {
        const ChordSymbol chord = parseHarmonyBar(c.chord).front();
        EXPECT_EQ(bassKey(chord), c.bass) << c.chord;
        const ChordVoicing voicing = voiceChord(chord, start);
        EXPECT_TRUE(std::is_sorted(voicing.begin(), voicing.end())) << c.chord;
        EXPECT_GE(voicing.front(), 51) << c.chord;
        EXPECT_LE(voicing.back(), 67) << c.chord;
        for (const int pitchClass : c.needed)
            EXPECT_TRUE(std::any_of(voicing.begin(), voicing.end(), [&](int key) { return key % 12 == pitchClass; }))
                << c.chord << " lacks pitch class " << pitchClass;
    }
    // E-flat to A-flat keeps the common E-flat and moves the others by step.
    EXPECT_EQ(voiceChord(parseHarmonyBar("Ab").front(), start), (ChordVoicing{56, 60, 63}));
}

} // namespace
