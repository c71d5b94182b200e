// Console prompts and the pause used before fatal exits.
#include "platform/console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool pauseOn = true;

} // namespace

int askNumber(const char* prompt)
{
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    char line[256] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr)
        return 0;
    // An overlong answer must not spill into the next prompt: drop its rest.
    const bool complete = std::strchr(line, '\n') != nullptr;
    if (!complete)
        for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
        }
    return std::atoi(line);
}

void pauseConsole()
{
    if (!pauseOn)
        return;
    std::fputs("Press Enter to continue . . . ", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

void turnOffConsolePause()
{
    pauseOn = false;
}
