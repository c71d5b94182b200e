// Render switches and statistics overlay: each switch key acts once per press,
// on release, and confirms its new state with a label for one second.
#include "camera/overlay.h"

#include "app/scene_state.h"
#include "camera/frustum.h"
#include "particles/particle_system.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GLFW/glfw3.h>

#include <sstream>

namespace {

// With sticky keys on, a key pressed and released since the last test reads
// PRESS once and then RELEASE; a key still held reads PRESS both times.
bool keyReleased(int key)
{
    return glfwGetKey(scene.window, key) == GLFW_PRESS && glfwGetKey(scene.window, key) == GLFW_RELEASE;
}

// On a press applies `change` and restarts the label; true while the label is to be shown.
template <typename Change>
bool switchKey(int key, double& labelTime, Change change)
{
    if (keyReleased(key)) {
        change();
        labelTime = 0.0;
        return true;
    }
    return labelTime < 1.0;
}

void showLabel(float x, float y, const char* text, double& labelTime, double dt)
{
    drawText(x, y, text);
    labelTime += dt;
}

const char* samplingLabel(int mode)
{
    return mode == 0 ? "Texture-Sampling: Nearest Neighbor" : "Texture-Sampling: Bilinear";
}

const char* mipLabel(int mode)
{
    static const char* const labels[] = {"Mip Mapping: Off", "Mip Mapping: Nearest Neighbor", "Mip Mapping: Linear"};
    return labels[mode];
}

} // namespace

void updateStatistics(RenderSettings& settings, double dt)
{
    settings.statsSeconds += dt;
    settings.statsFrames += 1;
    if (settings.statsSeconds > 1.0) {
        settings.fps = static_cast<float>(settings.statsFrames);
        settings.frameTimeMs = static_cast<float>(settings.statsSeconds / settings.statsFrames * 1000.0);
        settings.statsFrames = 0;
        settings.statsSeconds = 0.0;
    }
}

std::string statisticsLine(const RenderSettings& settings, int objectsRendered)
{
    std::ostringstream line;
    line << "Frame Time: " << settings.frameTimeMs << " ms, FPS: " << settings.fps
         << " , no of objects rendered: " << objectsRendered;
    return line.str();
}

void drawOverlay(double dt)
{
    RenderSettings& s = scene.settings;

    if (keyReleased(GLFW_KEY_F2))
        s.showStats = !s.showStats;

    updateStatistics(s, dt);
    const std::string line = statisticsLine(s, scene.objectsRendered);
    if (s.showStats)
        drawText(10, 20, line.c_str());

    if (switchKey(GLFW_KEY_F3, s.wireframeShown, [&] {
            s.wireframe = !s.wireframe;
            glPolygonMode(GL_FRONT_AND_BACK, s.wireframe ? GL_LINE : GL_FILL);
        }))
        showLabel(20, 40, s.wireframe ? "Wireframe: ON" : "Wireframe: OFF", s.wireframeShown, dt);

    if (switchKey(GLFW_KEY_F4, s.samplingShown, [&] { s.samplingMode = (s.samplingMode + 1) % 2; }))
        showLabel(10, 60, samplingLabel(s.samplingMode), s.samplingShown, dt);

    if (switchKey(GLFW_KEY_F5, s.mipShown, [&] { s.mipMode = (s.mipMode + 1) % 3; }))
        showLabel(10, 80, mipLabel(s.mipMode), s.mipShown, dt);

    // The snow's blending and the frustum's switch follow on every frame the label shows.
    if (switchKey(GLFW_KEY_F9, s.transparencyShown, [&] { s.transparency = !s.transparency; })) {
        showLabel(10, 100, s.transparency ? "Transparency: On" : "Transparency: Off", s.transparencyShown, dt);
        for (ParticleSystem* snow : scene.snowParticles)
            snow->blendEnabled = s.transparency;
    }

    if (switchKey(GLFW_KEY_F8, s.cullingShown, [&] { s.culling = !s.culling; })) {
        showLabel(10, 120, s.culling ? "View-Frustum-Culling: On" : "View-Frustum-Culling: Off", s.cullingShown, dt);
        scene.frustum->cullingEnabled = s.culling;
    }

    if (switchKey(GLFW_KEY_P, s.pauseShown, [&] { s.paused = !s.paused; }))
        showLabel(10, 140, s.paused ? "Pause: On" : "Pause: Off", s.pauseShown, dt);
}

void drawText(float x, float y, const char* text)
{
    glUseProgram(0);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.5f, 0.5f, 0.5f);
    glWindowPos2f(x, y);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>(text));
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}
