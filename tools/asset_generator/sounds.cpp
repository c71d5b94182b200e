// The two looping sounds: the piano nocturne and the fireplace. The fire is made
// and encoded on a second thread while the piano renders, so that on a machine
// with a core to spare its time hides under the piano's.
#include "generators.h"
#include "media_fireplace.h"
#include "media_mp3_encoder.h"
#include "media_nocturne.h"

#include <filesystem>
#include <future>

void writeSounds(const std::string& assets)
{
    const std::filesystem::path directory = std::filesystem::path(assets) / "sound";
    std::filesystem::create_directories(directory);
    std::future<void> fire = std::async(std::launch::async, [&directory] {
        writeMp3((directory / "fireplace.mp3").string(), crackleFireplace(), 128);
    });
    writeMp3((directory / "Talvek - Nocturne op.9 No.2.mp3").string(), composeNocturne(), 160);
    fire.get();
}
