// Starting the flight over without building anything again: what the route and
// the sunset changed goes back to the values the scene starts with.
#include "app/scene.h"

#include "app/scene_state.h"
#include "camera/camera.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"

#include <GL/glew.h>

void restartFlight()
{
    scene.camera->restartRoute();

    // The state record's own defaults are the sunset's starting point.
    const SceneState start;
    scene.lightRotation = start.lightRotation;
    scene.skyLight = start.skyLight;
    scene.skyDimmed = start.skyDimmed;
    glUseProgram(scene.skyProgram->id);
    scene.skyProgram->setFloat("light", scene.skyLight);

    // The sun's map was last drawn for the sunset's end and is drawn anew for
    // the start. The fire's cube map is kept: nothing of the flight changes
    // it, and drawing it again would stall the frame at the cut.
    scene.shadowTarget->directionalCache.drawnFrom.reset();
}
