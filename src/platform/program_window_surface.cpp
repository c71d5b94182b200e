// The window's events, size and swap through GLFW.
#include "platform/program_window_surface.h"

#include <GLFW/glfw3.h>

void ProgramWindowSurface::processEvents(double seconds)
{
    if (seconds > 0.0)
        glfwWaitEventsTimeout(seconds);
    else
        glfwPollEvents();
}

void ProgramWindowSurface::size(int& width, int& height) const
{
    glfwGetFramebufferSize(window, &width, &height);
}

bool ProgramWindowSurface::closed() const
{
    return glfwWindowShouldClose(window);
}

void ProgramWindowSurface::present()
{
    glfwSwapBuffers(window);
}

void ProgramWindowSurface::setSwapInterval(int interval)
{
    glfwSwapInterval(interval);
}
