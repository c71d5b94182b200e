// The scene's life: built once, advanced every frame, partly released at the end.
#pragma once

void setupScene();
void updateScene(float dt);
void shutdownScene();
