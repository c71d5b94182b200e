// A synthesised piano note: slightly inharmonic partials on two detuned strings,
// a soft hammer thump, a two-stage decay and a damper, added into a loop buffer.
#pragma once

#include "media_audio.h"

#include <cstdint>

struct PianoNote {
    int key = 60;            // MIDI key number
    double start = 0.0;      // seconds into the loop
    double damped = 1.0;     // seconds after the start when the damper falls
    float velocity = 0.5f;   // 0..1
};

void addPianoNote(StereoLoop& loop, const PianoNote& note, std::uint64_t seed);
