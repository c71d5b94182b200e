// The one way a window is opened: GLFW initialised, the size checked against
// what the machine can carry, the window made with the caller's hints, its
// context current and GLEW initialised on it.
//
//     const OpenedWindow opened = openWindow({.width = 1280, .height = 720, .title = "Frostember"});
//     if (opened.failure != WindowFailure::None)
//         ... the caller's own policy, e.g. one line with windowFailureText(opened.failure)
//
// The opener prints nothing and never exits: the program prints its own message
// and pauses, a tool prints one line, a test fails. A caller with steps of its
// own between the window and its context calls createWindow, then
// makeContextCurrentWithGlew.
#pragma once

struct GLFWmonitor;
struct GLFWwindow;

// The step that failed, in the order the opener takes them.
enum class WindowFailure { None, Glfw, Window, Glew };

// Every hint is back at GLFW's defaults after the size check and after the
// window, so only these are in force when it is made: a caller that needs
// another hint adds it here. GLFW's defaults give a compatibility-profile
// context, which the overlay's bitmap text needs beside the shader pipeline.
struct WindowRequest {
    int width = 0;
    int height = 0;
    const char* title = "";
    bool visible = true;
    bool debugContext = false;      // a context that reports through KHR_debug
    int samples = 0;                // samples a pixel of the window's buffers; 0 for none
    GLFWmonitor* monitor = nullptr; // full screen on this monitor, at its own video mode (give its
                                    // size); nullptr for a window
    bool checkSize = true;          // refuse a size the machine cannot carry before a window of it exists
};

struct OpenedWindow {
    GLFWwindow* window = nullptr; // nullptr unless failure is None
    WindowFailure failure = WindowFailure::None;
};

// Initialises GLFW, checks the size and creates the window; its context is not
// current yet. A failure leaves GLFW initialised where its own step passed.
OpenedWindow createWindow(const WindowRequest& request);

// Makes the window's context current and initialises GLEW on it; false when
// GLEW fails.
bool makeContextCurrentWithGlew(GLFWwindow* window);

// Both steps; a window whose GLEW fails is destroyed again.
OpenedWindow openWindow(const WindowRequest& request);

// The failed step in a few lower-case words, for a tool's one line.
const char* windowFailureText(WindowFailure failure);
