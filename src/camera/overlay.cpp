// Render switches and statistics overlay.
#include "camera/overlay.h"

#include "app/scene_state.h"

void drawOverlay(double /*dt*/)
{
}

void drawText(float /*x*/, float /*y*/, const char* /*text*/)
{
}
