// The scene's life: built once, advanced every frame, its flight started over
// on request, partly released at the end.
#pragma once

void setupScene();
void updateScene(float dt);

// Puts the camera back at the start of its route and undoes the sunset, the
// sun's shadow map with it: the flight begins again from the next update. The
// fire, the snow, the plume and the sound run on untouched.
void restartFlight();
void shutdownScene();
