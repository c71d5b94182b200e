// The fixed sequence of GPU passes that turns the scene into one image.
#include "render/frame_passes.h"

#include "app/scene_state.h"

void renderShadowMaps()
{
}

void renderFrame()
{
    renderShadowMaps();
}
