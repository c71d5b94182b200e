// What a debug context says about the program's use of OpenGL (KHR_debug):
// every message of high or medium severity is one line on standard error,
// "NAME: GL debug: SEVERITY: TEXT", and counted, so that a run can end with a
// failed status if there was any. Lower severities and notifications are
// ignored: drivers fill them with news of where buffers live.
#pragma once

// The line for a context that has no debug output to report from.
extern const char* const GL_DEBUG_UNAVAILABLE;

// Starts reporting on the current context, each message as the call that
// causes it is made; false where the context offers no KHR_debug. Needs GLEW
// initialised on it.
bool startGlDebugReport();

// The messages reported so far.
long glDebugMessagesReported();
