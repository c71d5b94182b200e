// The two looping sounds: the piano nocturne and the fireplace crackle.
#include "generators.h"
#include "media_fireplace.h"
#include "media_mp3_encoder.h"
#include "media_nocturne.h"

#include <filesystem>

void writeSounds(const std::string& assets)
{
    const std::filesystem::path directory = std::filesystem::path(assets) / "sound";
    std::filesystem::create_directories(directory);
    writeMp3((directory / "Talvek - Nocturne op.9 No.2.mp3").string(), composeNocturne(), 160);
    writeMp3((directory / "fireplace.mp3").string(), crackleFireplace(), 128);
}
