// The left hand's chords: a bass note in the low octave and three chord tones
// above it, each voicing chosen to move as little as possible from the last.
#pragma once

#include "media_score_notation.h"

#include <array>

using ChordVoicing = std::array<int, 3>;   // MIDI keys, low to high

// The bass note between B-flat 1 and A 2.
int bassKey(const ChordSymbol& chord);

// Three tones between E-flat 3 and G 4 that hold the chord's third, its seventh
// (unless the bass has it) and, where they fit, its other tones: the set nearest
// to `previous`, so that the inner voices move by step where they can.
ChordVoicing voiceChord(const ChordSymbol& chord, const ChordVoicing& previous);
