// The render-switch keys and the text drawn over the image.
#pragma once

void drawOverlay(double dt);
void drawText(float x, float y, const char* text);
