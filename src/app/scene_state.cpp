// The one instance of the shared scene state.
#include "app/scene_state.h"

SceneState scene;
