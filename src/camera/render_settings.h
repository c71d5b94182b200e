// Render switches, their label timers and the frame statistics of the overlay.
#pragma once

struct RenderSettings {
    bool showStats = false;
    bool wireframe = false;
    int samplingMode = 1;
    int mipMode = 2;
    bool transparency = true;
    bool culling = true;
    bool paused = false;
    // Draws both shadow maps every frame instead of only when their inputs change:
    // the reference the cached maps are compared against.
    bool redrawShadowMaps = false;
    double wireframeShown = 3.0;
    double samplingShown = 3.0;
    double mipShown = 3.0;
    double transparencyShown = 3.0;
    double cullingShown = 3.0;
    double pauseShown = 3.0;
    int statsFrames = 0;
    double statsSeconds = 0.0;
    float fps = 0.0f;
    float frameTimeMs = 0.0f;
};
