// The sky: a sphere kept centred on the camera, textured with a cube map and
// drawn behind everything after the lit scene.
#pragma once

#include "platform/non_copyable.h"

#include <string>

class Camera;
class CubemapTexture;
class ShaderProgram;

namespace kesa::scene {
class Cube;
}

class Skybox : NonCopyable {
public:
    Skybox(Camera* camera, ShaderProgram* program);
    ~Skybox();

    // The directory and the six face files in GL face order (+X, -X, +Y, -Y,
    // +Z, -Z); loads the cube map, then imports the sphere.
    void init(const std::string& directory, const std::string& posX, const std::string& negX,
              const std::string& posY, const std::string& negY, const std::string& posZ, const std::string& negZ);

    Camera* camera = nullptr;          // not owned
    CubemapTexture* texture = nullptr; // owned
    kesa::scene::Cube* sky = nullptr;  // owned
    ShaderProgram* program = nullptr;  // not owned
};

// Draws the scene's sky (scene.skybox). Leaves the sky program current and the
// sky's texture unit active; the depth function is restored.
void drawSky();
