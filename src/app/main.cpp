// Frostember: asks for the window size, builds the scene and runs the frame loop
// on the window system's clock until the window is closed or Escape is released.
#include "app/frame_driver.h"
#include "app/program.h"
#include "app/scene_state.h"
#include "platform/console.h"
#include "platform/program_window_surface.h"

#include <GLFW/glfw3.h>

int main(int argc, char** argv)
{
    const int width = askNumber("Enter width: ");
    const int height = askNumber("Enter height: ");

    startUp(argc, argv, {.width = width, .height = height});

    // The clock starts with the window system: the first delta holds the set-up.
    ProgramWindowSurface window(scene.window);
    FrameDriver driver(window, FrameClock::wall(glfwGetTime, 0.0));
    while (!window.closed())
        driver.runFrame();

    shutDown();
    return 0;
}
