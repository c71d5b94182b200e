// The two ways of keeping the screen awake. The bus is never started for us
// and no service is activated for the call: a session without them simply
// goes without. No call waits more than a fifth of a second.
#include "platform/screen_awake.h"

#include <X11/extensions/scrnsaver.h>
#include <systemd/sd-bus.h>

namespace {

constexpr std::uint64_t CALL_TIMEOUT_MICROSECONDS = 200'000;
const char* const SCREENSAVER_SERVICE = "org.freedesktop.ScreenSaver";
const char* const SCREENSAVER_PATH = "/org/freedesktop/ScreenSaver";

// One method call on the desktop's screensaver service; the reply, when one
// came, is handed to `read`.
template <typename Read>
bool callScreenSaver(sd_bus* bus, const char* method, Read read, const char* signature, auto... arguments)
{
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus, &call, SCREENSAVER_SERVICE, SCREENSAVER_PATH, SCREENSAVER_SERVICE,
                                       method) < 0)
        return false;
    sd_bus_message* reply = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const bool answered = sd_bus_message_set_auto_start(call, 0) >= 0 &&
                          sd_bus_message_append(call, signature, arguments...) >= 0 &&
                          sd_bus_call(bus, call, CALL_TIMEOUT_MICROSECONDS, &error, &reply) >= 0 && read(reply);
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    return answered;
}

} // namespace

ScreenAwake::~ScreenAwake()
{
    hold(false);
    if (bus != nullptr)
        sd_bus_flush_close_unref(bus);
    if (display != nullptr)
        XCloseDisplay(display);
}

void ScreenAwake::hold(bool awake)
{
    if (awake == held)
        return;
    held = awake;
    holdOnBus(awake);
    holdOnX(awake);
}

void ScreenAwake::holdOnBus(bool awake)
{
    if (awake) {
        if (bus == nullptr && sd_bus_open_user(&bus) < 0)
            bus = nullptr;
        if (bus != nullptr)
            callScreenSaver(
                bus, "Inhibit",
                [&](sd_bus_message* reply) { return sd_bus_message_read(reply, "u", &cookie) >= 0; }, "ss",
                "Frostember", "the ambience plays full screen");
    } else if (cookie != 0) {
        callScreenSaver(bus, "UnInhibit", [](sd_bus_message*) { return true; }, "u", cookie);
        cookie = 0;
    }
}

// The suspension is the connection's: it ends with it at the latest.
void ScreenAwake::holdOnX(bool awake)
{
    if (display == nullptr)
        display = XOpenDisplay(nullptr);
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || !XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return;
    XScreenSaverSuspend(display, awake ? True : False);
    XFlush(display);
}
