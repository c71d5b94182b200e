// Result codes and flags of the sound layer, a thin stand-in for a commercial
// sound library's interface: callers store the codes, the flags select modes.
#pragma once

#include <cstdint>

namespace sound {

enum Result : std::int32_t {
    OK = 0,
    ERR_INVALID_HANDLE,   // a call on a sound or channel that does not exist
    ERR_INVALID_PARAM,    // an argument the layer does not accept
    ERR_UNINITIALIZED,    // the system has no output yet
    ERR_INITIALIZED,      // the system was initialised before
    ERR_OUTPUT_INIT,      // no audio device, or its context could not be made
    ERR_FILE_NOTFOUND,    // the file cannot be opened
    ERR_FORMAT,           // the file is not a decodable MP3 stream
    ERR_CHANNEL_ALLOC,    // every channel of the system is in use
    ERR_OUTPUT,           // the audio device reported an error
};

// Sound modes.
constexpr unsigned DEFAULT = 0;
constexpr unsigned LOOP_OFF = 1;
constexpr unsigned LOOP_NORMAL = 2;

// System initialisation flags.
constexpr unsigned INIT_NORMAL = 0;

} // namespace sound
