// Shutdown: releases the objects that have an owner with a destructor; the rest
// goes with the process.
#include "app/scene.h"

#include "app/scene_state.h"

void shutdownScene()
{
}
