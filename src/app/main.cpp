// Frostember: asks for the window size, builds the scene and runs the frame loop
// on the window system's clock until the window is closed or Escape is released.
#include "app/program.h"
#include "app/scene_state.h"
#include "platform/console.h"

#include <GLFW/glfw3.h>

int main(int argc, char** argv)
{
    const int width = askNumber("Enter width: ");
    const int height = askNumber("Enter height: ");

    startUp(argc, argv, width, height);

    double lastTime = 0.0;
    while (!glfwWindowShouldClose(scene.window))
        runClockedFrame(lastTime);

    shutDown();
    return 0;
}
