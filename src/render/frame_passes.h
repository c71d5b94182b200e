// The frame: both shadow maps, the lit scene, the sky and the particles.
#pragma once

void renderFrame();
void renderShadowMaps();
