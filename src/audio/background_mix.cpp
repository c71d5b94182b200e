// Offline mix of the music and the fire: decode, bring to stereo at one rate,
// weight by the channel volumes, add and clip.
#include "audio/background_mix.h"

#include "audio/background_tracks.h"
#include "audio/sound.h"
#include "platform/native_path.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// One track from its start, looping, as stereo floats at MIX_RATE; a file at
// another rate is resampled linearly, a mono one feeds both sides.
bool decodeTrack(const BackgroundTrack& track, std::size_t frames, std::vector<float>& stereo, std::string& error)
{
    std::unique_ptr<sound::Sound> decoded;
    const std::string path = nativePath(track.file);
    if (sound::Sound::open(path.c_str(), sound::LOOP_NORMAL, decoded) != sound::OK) {
        error = std::string("cannot decode ") + track.file;
        return false;
    }
    const double step = static_cast<double>(decoded->rate) / MIX_RATE;
    const std::size_t wanted = static_cast<std::size_t>(std::ceil(static_cast<double>(frames) * step)) + 2;
    const std::size_t channels = static_cast<std::size_t>(decoded->channels);
    std::vector<std::int16_t> source(wanted * channels);
    const std::size_t read = decoded->read(source.data(), wanted);
    if (read == 0) {
        error = std::string("cannot decode ") + track.file;
        return false;
    }
    const auto sample = [&](std::size_t frame, std::size_t side) {
        return frame < read ? static_cast<float>(source[frame * channels + std::min(side, channels - 1)]) : 0.0f;
    };
    stereo.assign(frames * 2, 0.0f);
    for (std::size_t i = 0; i < frames; ++i) {
        const double at = static_cast<double>(i) * step;
        const std::size_t k = static_cast<std::size_t>(at);
        const float f = static_cast<float>(at - static_cast<double>(k));
        for (std::size_t side = 0; side < 2; ++side)
            stereo[i * 2 + side] = sample(k, side) + (sample(k + 1, side) - sample(k, side)) * f;
    }
    return true;
}

} // namespace

bool mixBackgroundTracks(std::size_t frames, std::vector<std::int16_t>& stereo, std::string& error)
{
    std::vector<float> music;
    std::vector<float> fire;
    if (!decodeTrack(MUSIC_TRACK, frames, music, error) || !decodeTrack(FIRE_TRACK, frames, fire, error))
        return false;
    stereo.resize(frames * 2);
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        const float mixed = music[i] * MUSIC_TRACK.volume + fire[i] * FIRE_TRACK.volume;
        stereo[i] = static_cast<std::int16_t>(std::lround(std::clamp(mixed, -32768.0f, 32767.0f)));
    }
    return true;
}
