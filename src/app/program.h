// The program's start-up with window and context, and its shutdown. Shared by
// the program and the replay tool; the frames between them are the frame
// driver's (frame_driver.h).
#pragma once

struct StartUpRequest {
    int width = 0;
    int height = 0;
    bool debugContext = false; // a context that reports through KHR_debug
    // A tool reports a GL that cannot draw the scene as one line on standard
    // error and exits with 1; the program prints it, pauses and exits with -1.
    bool tool = false;
};

// Opens the window and its context, refuses a GL that cannot draw the scene and
// builds the scene; fatal failures end the process with their message, the
// console pause and their status.
void startUp(int argc, char** argv, const StartUpRequest& request);

// Releases the scene and terminates the window system.
void shutDown();
