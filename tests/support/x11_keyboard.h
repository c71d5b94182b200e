// Key events for tests that drive the program through the X server.
#pragma once

// Switches the X server's key auto-repeat off. A held key then stays one press
// however long the test holds it and however loaded the machine is; with repeat
// on, a stalled event loop can see the repeats as separate presses.
void disableKeyRepeat();
