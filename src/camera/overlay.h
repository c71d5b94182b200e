// The render-switch keys and the text drawn over the image.
#pragma once

#include "camera/render_settings.h"

#include <string>

void drawOverlay(double dt);
void drawText(float x, float y, const char* text);

// Counts one frame of `dt` seconds; once more than a second has gathered, the
// frame rate and the mean frame time are taken from it and the count restarts.
void updateStatistics(RenderSettings& settings, double dt);

// "Frame Time: ... ms, FPS: ... , no of objects rendered: ..." from the last
// completed measuring window.
std::string statisticsLine(const RenderSettings& settings, int objectsRendered);
