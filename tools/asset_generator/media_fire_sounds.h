// The fire's single sounds, each added into a loop from frame `at` on (wrapping
// past its end): the crackle of burning wood, from a faint tick to a snap; the
// pop of a pocket of sap; a log settling, with its thud, the rustle of embers and
// the scatter of crackles that follows; the glassy tink of a cooling ember.
// `pan` places a sound from -1 (left) to 1 (right).
#pragma once

#include "media_audio.h"
#include "media_random.h"

void addCrackle(StereoLoop& loop, std::size_t at, double size, double pan, MediaRandom& random);   // size 0..1
void addSapPop(StereoLoop& loop, std::size_t at, double loudness, double pan, MediaRandom& random); // loudness 0..1
void addLogSettling(StereoLoop& loop, std::size_t at, double weight, MediaRandom& random);          // weight 0..1
void addEmberTink(StereoLoop& loop, std::size_t at, double loudness, double pan, MediaRandom& random);
