// A small text notation for writing music one bar to a line.
//
// A melody bar is a list of tokens whose lengths are in sixteenths and fill the bar:
//   "eb5:4"             E-flat in octave 5 for four sixteenths (c4 is MIDI key 60)
//   "r:6"               a rest
//   "gb6+bb5:8"         notes struck together; the first leads, the others are an inner voice
//   "'d6"               a grace note, taken just before the next note
//   "ab5~bb5:6"         a trill on A-flat with B-flat above
//   "(d6 c6 bb5 ab5):6" a run, its notes sharing the span evenly
//
// A harmony bar is a list of chord symbols that share the bar evenly: a root with an
// optional flat or sharp, a quality ("" major, "m" minor, "7" dominant seventh,
// "m7" minor seventh) and an optional bass note after a slash: "Eb", "Fm/Ab", "Eb7/Db".
#pragma once

#include <string_view>
#include <vector>

enum class NoteRole { Melody, Inner, Ornament, Grace };

struct ScoreNote {
    int key = 60;
    double start = 0.0;    // sixteenths from the bar's start
    double length = 1.0;   // sixteenths
    NoteRole role = NoteRole::Melody;
};

struct ChordSymbol {
    int root = 0;                 // pitch class, 0 = C
    int bass = 0;                 // pitch class of the lowest note
    std::vector<int> intervals;   // semitones above the root: root, third, fifth[, seventh]
};

// Both throw std::runtime_error naming the bar when it is malformed or, for a
// melody, when its lengths do not add up to `sixteenths`.
std::vector<ScoreNote> parseMelodyBar(std::string_view text, int sixteenths);
std::vector<ChordSymbol> parseHarmonyBar(std::string_view text);
