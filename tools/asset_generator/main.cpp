// frostember-assets ASSETS_DIR: writes the whole asset pack into ASSETS_DIR.
// frostember-assets --icon FILE: writes the desktop icon, which the program
// never reads and so stays out of the asset pack.
#include "generators.h"

#include "platform/report_line.h"

#include <exception>
#include <filesystem>
#include <string_view>

namespace {

int generate(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--icon") {
        writeAppIcon(argv[2]);
        return 0;
    }
    if (argc != 2) {
        reportLine("expects ASSETS_DIR, or --icon FILE");
        return 2;
    }
    const std::string assets = argv[1];
    std::filesystem::create_directories(assets);
    writeSceneModels(assets);
    writeCameraRoute(assets);
    writeSkySphere(assets);
    writeSkyFaces(assets);
    writeParticleImages(assets);
    writeSounds(assets);
    return 0;
}

} // namespace

// Any failure on the way is one line and status 1.
int main(int argc, char** argv)
{
    try {
        return generate(argc, argv);
    } catch (const std::exception& error) {
        reportLine("%s", error.what());
        return 1;
    }
}
