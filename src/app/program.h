// The program's frame: start-up with window and context, one frame of work, the
// end of a frame, and the shutdown. Shared by the program and the replay tool.
#pragma once

// Opens the window and its context and builds the scene; fatal failures end the
// process with their message, the console pause and their status.
void startUp(int argc, char** argv, int width, int height);

// One whole frame on the window system's clock, as the program's loop runs it:
// clear, the delta since `lastTime` (updated), the render scale from that delta
// unless one is forced, advanceFrame, endFrame. Returns the delta.
double runClockedFrame(double& lastTime);

// Holds the render scale at `scale` (0 < scale <= 1) for every later frame,
// whatever the frame times.
void forceRenderScale(float scale);

// Frame steps 3 to 6, after the clear and the clock: the update, then submitFrame.
void advanceFrame(double frameDelta);

// Frame steps 4 to 6: the frustum from the camera, the render, the overlay.
void submitFrame(double frameDelta);

// Frame steps 7 to 10: swap, Escape on release, one OpenGL error report, event poll.
void endFrame();

// Releases the scene and terminates the window system.
void shutDown();
