// Window and context, the check that the GL can draw the scene, the set-up.
#include "app/program.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "platform/console.h"
#include "platform/gl_debug_report.h"
#include "platform/report_line.h"
#include "platform/window_opener.h"
#include "platform/x_error_report.h"
#include "render/gl_capabilities.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

struct StartUpFailure {
    const char* message;
    int status;
};

StartUpFailure startUpFailure(WindowFailure failure)
{
    if (failure == WindowFailure::Glfw)
        return {"GLFW failed", -1};
    if (failure == WindowFailure::Window)
        return {"No Window.....", -1};
    return {"ERROR: Could not init GLEW", 1};
}

// Every fatal step of the start-up ends here: its message, the pause that keeps
// it readable, its status. Once GLFW is up, terminating it closes any window.
[[noreturn]] void failStartUp(WindowFailure failure)
{
    const StartUpFailure fatal = startUpFailure(failure);
    if (failure != WindowFailure::Glfw)
        glfwTerminate();
    std::cout << fatal.message << std::endl;
    pauseConsole();
    std::exit(fatal.status);
}

// A GL that lacks what the scene needs would crash at its first draw that
// needs it: refused before the scene is built, as a failed start-up is.
[[noreturn]] void refuseGl(const std::string& missing, bool tool)
{
    glfwTerminate();
    if (tool) {
        reportLine("%s", missing.c_str());
        std::exit(1);
    }
    std::cout << missing << std::endl;
    pauseConsole();
    std::exit(-1);
}

} // namespace

void startUp(int argc, char** argv, const StartUpRequest& request)
{
    const OpenedWindow created = createWindow(
        {.width = request.width, .height = request.height, .title = "j", .debugContext = request.debugContext});
    if (created.failure != WindowFailure::None)
        failStartUp(created.failure);
    scene.window = created.window;

    glfwSetInputMode(scene.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwSetCursorPos(scene.window, 0.0, 0.0);
    glutInit(&argc, argv);
    if (!makeContextCurrentWithGlew(scene.window))
        failStartUp(WindowFailure::Glew);
    const std::string missing = missingGlCapabilities(currentGlCapabilities());
    if (!missing.empty())
        refuseGl(missing, request.tool);
    if (request.debugContext && !startGlDebugReport())
        refuseGl(GL_DEBUG_UNAVAILABLE, request.tool);
    markStartupStage("window");
    setupScene();
    reportXErrorsAsFatal();
}

void shutDown()
{
    shutdownScene();
    glfwTerminate();
}
