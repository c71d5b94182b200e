// xdotool finds and resizes; Xlib reads the screen.
#include "support/x_window.h"

#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

const char* const ZINK_SCREEN_UNREADABLE = "zink under Xvfb presents nothing that can be read back from the screen";

Window windowOfProcess(int pid)
{
    const std::string command = "timeout 60 xdotool search --sync --onlyvisible --pid " + std::to_string(pid);
    FILE* const search = popen(command.c_str(), "r");
    unsigned long id = 0;
    if (search == nullptr)
        return 0;
    if (std::fscanf(search, "%lu", &id) != 1)
        id = 0;
    pclose(search);
    return id;
}

bool resizeWindow(Window window, int width, int height)
{
    const std::string command = "xdotool windowsize " + std::to_string(window) + " " + std::to_string(width) + " " +
                                std::to_string(height) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

Picture readPicture(Display* display, Window window)
{
    Picture picture;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return picture;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return picture;
    std::set<unsigned long> colours;
    long lit = 0;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            colours.insert(pixel);
            lit += pixel != 0 ? 1 : 0;
        }
    XDestroyImage(image);
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.litShare = static_cast<double>(lit) / (static_cast<double>(attributes.width) * attributes.height);
    picture.colours = colours.size();
    return picture;
}

bool waitFor(const std::function<bool()>& ready, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}
