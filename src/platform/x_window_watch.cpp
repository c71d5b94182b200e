// The window's events, read off the connection as they come.
#include "platform/x_window_watch.h"

namespace {

constexpr long WATCHED_EVENTS = StructureNotifyMask | VisibilityChangeMask;

} // namespace

XWindowWatch::XWindowWatch(Display* display_, Window window_) : display(display_), window(window_)
{
    XSelectInput(display, window, WATCHED_EVENTS);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        destroyed = true;
        return;
    }
    mapped = attributes.map_state == IsViewable;
    width = attributes.width;
    height = attributes.height;
}

void XWindowWatch::poll()
{
    XEvent event;
    while (XCheckWindowEvent(display, window, WATCHED_EVENTS, &event)) {
        switch (event.type) {
        case MapNotify:
            mapped = true;
            break;
        case UnmapNotify:
            mapped = false;
            break;
        case VisibilityNotify:
            obscured = event.xvisibility.state == VisibilityFullyObscured;
            break;
        case ConfigureNotify:
            width = event.xconfigure.width;
            height = event.xconfigure.height;
            break;
        case DestroyNotify:
            destroyed = true;
            break;
        default:
            break;
        }
    }
}
