// The size of the window the scene draws into, as the set-up, the camera and the
// frustum read it.
#pragma once

struct GLFWwindow;

// Asks GLFW when the scene has a GLFW window. A surface without one (a window
// another program made, drawn into through GLX) writes its size into the scene
// state every frame instead, and that is what is read then.
void readWindowSize(GLFWwindow* window, int& width, int& height);
