// The GLX context on the foreign window, the window's events, and the X errors
// that say it was destroyed under us: that is how a screensaver daemon ends its
// hacks, so it is an end like any other, never a failure.
#include "platform/foreign_window_surface.h"

#include "platform/report_line.h"

#include <poll.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// GLX's own error numbers, counted from the extension's error base.
constexpr int GLX_BAD_DRAWABLE = 2;
constexpr int GLX_BAD_CURRENT_WINDOW = 5;
constexpr int GLX_BAD_WINDOW = 12;

bool windowLost = false;
int glxErrorBase = 0;

bool windowGoneError(const XErrorEvent& error)
{
    if (error.error_code == BadWindow || error.error_code == BadDrawable)
        return true;
    const int glxError = error.error_code - glxErrorBase;
    return glxError == GLX_BAD_DRAWABLE || glxError == GLX_BAD_CURRENT_WINDOW || glxError == GLX_BAD_WINDOW;
}

// Any other error is a fault of our own: one line, status 1.
int onXError(Display* display, XErrorEvent* error)
{
    if (windowGoneError(*error)) {
        windowLost = true;
        return 0;
    }
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    reportLine("X error %s (request %d.%d)", text, error->request_code, error->minor_code);
    std::exit(1);
}

bool hasExtension(Display* display, int screen, const char* name)
{
    const char* extensions = glXQueryExtensionsString(display, screen);
    const std::size_t length = std::strlen(name);
    for (const char* found = std::strstr(extensions, name); found != nullptr; found = std::strstr(found + 1, name))
        if (found[length] == ' ' || found[length] == '\0')
            return true;
    return false;
}

// Double-buffered, with the 24-bit depth buffer the scene's depth range needs,
// and drawing on exactly the window's visual: a window cannot change visual.
GLXFBConfig configForVisual(Display* display, int screen, VisualID visual)
{
    static const int WANTED[] = {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                                 GLX_DOUBLEBUFFER,  True,           GLX_DEPTH_SIZE,  24,
                                 None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, WANTED, &count);
    GLXFBConfig chosen = nullptr;
    for (int i = 0; i < count && chosen == nullptr; ++i) {
        int id = 0;
        glXGetFBConfigAttrib(display, configs[i], GLX_VISUAL_ID, &id);
        if (static_cast<VisualID>(id) == visual)
            chosen = configs[i];
    }
    if (configs != nullptr)
        XFree(configs);
    return chosen;
}

// No version asked for: the highest compatibility profile the driver offers, as
// GLFW's defaults give the program.
GLXContext createContext(Display* display, GLXFBConfig config, bool debug)
{
    const auto create = reinterpret_cast<PFNGLXCREATECONTEXTATTRIBSARBPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
    const int attributes[] = {GLX_CONTEXT_PROFILE_MASK_ARB, GLX_CONTEXT_COMPATIBILITY_PROFILE_BIT_ARB,
                              GLX_CONTEXT_FLAGS_ARB, debug ? GLX_CONTEXT_DEBUG_BIT_ARB : 0, None};
    GLXContext context = create(display, config, nullptr, True, attributes);
    XSync(display, False);
    return context;
}

std::string hex(unsigned long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return text;
}

} // namespace

std::unique_ptr<ForeignWindowSurface> ForeignWindowSurface::open(unsigned long window, bool debugContext,
                                                                std::string& error)
{
    auto surface = std::make_unique<ForeignWindowSurface>();
    surface->display = XOpenDisplay(nullptr);
    Display* display = surface->display;
    if (display == nullptr) {
        error = "cannot open the X display";
        return nullptr;
    }
    int glxEventBase = 0;
    if (!glXQueryExtension(display, &glxErrorBase, &glxEventBase)) {
        error = "the X display has no GLX";
        return nullptr;
    }
    XSetErrorHandler(onXError);
    windowLost = false;
    surface->window = window != 0 ? window : DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, surface->window, &attributes) == 0) {
        error = "no X window " + hex(surface->window);
        return nullptr;
    }
    const int screen = XScreenNumberOfScreen(attributes.screen);
    surface->screen = screen;
    if (!hasExtension(display, screen, "GLX_ARB_create_context_profile")) {
        error = "GLX cannot make a compatibility-profile context here (no GLX_ARB_create_context_profile)";
        return nullptr;
    }
    const VisualID visual = XVisualIDFromVisual(attributes.visual);
    const GLXFBConfig config = configForVisual(display, screen, visual);
    if (config == nullptr) {
        error = "no double-buffered OpenGL configuration with a 24-bit depth buffer matches the window's visual " +
                hex(visual);
        return nullptr;
    }
    surface->context = createContext(display, config, debugContext);
    if (surface->context == nullptr || !glXMakeCurrent(display, surface->window, surface->context)) {
        error = "no OpenGL context could be made current on the window";
        return nullptr;
    }
    if (glewInit() != GLEW_OK) {
        error = "cannot initialise GLEW";
        return nullptr;
    }
    surface->watch = std::make_unique<XWindowWatch>(display, surface->window);
    return surface;
}

ForeignWindowSurface::~ForeignWindowSurface()
{
    if (display == nullptr)
        return;
    if (context != nullptr) {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, context);
    }
    XCloseDisplay(display);
}

void ForeignWindowSurface::processEvents(double seconds)
{
    if (seconds > 0.0 && XPending(display) == 0) {
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        ::poll(&connection, 1, static_cast<int>(std::lround(seconds * 1000.0)));
    }
    watch->poll();
}

void ForeignWindowSurface::size(int& width, int& height) const
{
    width = watch->width;
    height = watch->height;
}

bool ForeignWindowSurface::hidden() const
{
    return watch->hidden();
}

bool ForeignWindowSurface::closed() const
{
    return watch->destroyed || windowLost;
}

void ForeignWindowSurface::present()
{
    glXSwapBuffers(display, window);
}

// Where the driver lets it be set; its default holds otherwise.
void ForeignWindowSurface::setSwapInterval(int interval)
{
    if (hasExtension(display, screen, "GLX_EXT_swap_control")) {
        const auto set = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        set(display, window, interval);
    } else if (hasExtension(display, screen, "GLX_MESA_swap_control")) {
        const auto set = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        set(static_cast<unsigned int>(interval));
    }
}
