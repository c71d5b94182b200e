// frostember-assets ASSETS_DIR: writes the whole asset pack into ASSETS_DIR.
#include "generators.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: frostember-assets ASSETS_DIR\n");
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
