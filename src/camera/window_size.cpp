// The window size from GLFW or, with no GLFW window, from the scene state.
#include "camera/window_size.h"

#include "app/scene_state.h"

#include <GLFW/glfw3.h>

void readWindowSize(GLFWwindow* window, int& width, int& height)
{
    if (window != nullptr) {
        glfwGetWindowSize(window, &width, &height);
        return;
    }
    width = scene.windowWidth;
    height = scene.windowHeight;
}
