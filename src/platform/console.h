// Console interaction: the size prompts and the pause before a fatal exit.
#pragma once

#include <string>

// Prints the prompt, reads one line of at most 255 characters and converts its
// leading decimal integer the way atoi does. A closed standard input reads as an
// empty answer, which gives 0.
int askNumber(const char* prompt);

// Waits for Enter so that a fatal message stays readable; returns at once when
// standard input is closed or at its end, or once the pause is turned off.
void pauseConsole();

// For a program that no one watches on a console (a screensaver daemon starts
// it): from now on a fatal message ends the process at once, without the pause.
void turnOffConsolePause();
