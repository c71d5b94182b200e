// The per-frame update: everything that changes with time, before the render.
#include "app/scene.h"

#include "app/scene_state.h"

void updateScene(float /*dt*/)
{
}
