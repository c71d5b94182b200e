// A piano performance rendered as one period of a loop with FluidSynth and the
// acoustic grand piano of the MuseScore General SoundFont.
#pragma once

#include "media_audio.h"

#include <vector>

struct PianoNote {
    int key = 60;         // MIDI key
    int velocity = 64;    // 1..127
    double start = 0.0;   // seconds into the loop
    double end = 1.0;     // seconds: the key is let go (past the loop's end it rings into the start)
    bool pedalled = true; // held on by the sustain pedal; a run or trill stays clear of it, as under a half pedal
};

struct PedalSpan {
    double down = 0.0;    // seconds
    double up = 1.0;
};

struct PianoPerformance {
    double seconds = 0.0;             // the loop's length
    std::vector<PianoNote> notes;
    std::vector<PedalSpan> pedal;     // in time order, not overlapping
};

// Everything that sounds past the loop's end (released notes, the room's reverb)
// is added into its start, as it would ring when the loop repeats. Throws
// std::runtime_error when the SoundFont cannot be loaded.
StereoLoop renderPianoLoop(const PianoPerformance& performance);
