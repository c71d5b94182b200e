// The two looping background sounds and the volume each one's channel plays at.
#pragma once

struct BackgroundTrack {
    const char* file; // as the program names it
    float volume;
};

inline constexpr BackgroundTrack MUSIC_TRACK{"Assets\\sound\\Talvek - Nocturne op.9 No.2.mp3", 1.0f};
inline constexpr BackgroundTrack FIRE_TRACK{"Assets\\sound\\fireplace.mp3", 0.6f};
