// Asking the driver about the current renderer, through the extensions that
// Mesa, NVIDIA and AMD each offer for it.
#include "platform/renderer_facts.h"

#include <GL/glew.h>
#include <GL/glxew.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

constexpr std::uint64_t KIB = 1024;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Names Mesa and others give their software rasterisers.
bool namesSoftwareRenderer(const std::string& renderer)
{
    constexpr std::array<std::string_view, 5> SOFTWARE = {"llvmpipe", "softpipe", "swrast", "swr", "software"};
    const std::string name = lowerCase(renderer);
    return std::any_of(SOFTWARE.begin(), SOFTWARE.end(),
                       [&](std::string_view word) { return name.find(word) != std::string::npos; });
}

// NVIDIA's figure, also offered by Mesa's radeonsi: free video memory in KiB.
std::uint64_t nvidiaFreeBytes()
{
    if (!GLEW_NVX_gpu_memory_info)
        return 0;
    GLint kib = 0;
    glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, &kib);
    return kib > 0 ? static_cast<std::uint64_t>(kib) * KIB : 0;
}

// AMD's figure for the pool renderbuffers come from; the first of its four
// values is the free total in KiB.
std::uint64_t atiFreeBytes()
{
    if (!GLEW_ATI_meminfo)
        return 0;
    GLint kib[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_RENDERBUFFER_FREE_MEMORY_ATI, kib);
    return kib[0] > 0 ? static_cast<std::uint64_t>(kib[0]) * KIB : 0;
}

// Mesa's figure: the video memory in MiB, free or not.
std::uint64_t mesaTotalBytes()
{
    unsigned int mib = 0;
    if (!GLXEW_MESA_query_renderer || !glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_VIDEO_MEMORY_MESA, &mib))
        return 0;
    return static_cast<std::uint64_t>(mib) * KIB * KIB;
}

} // namespace

std::optional<bool> reportedAcceleration()
{
    if (!GLXEW_MESA_query_renderer)
        return std::nullopt;
    unsigned int accelerated = 0;
    if (!glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_ACCELERATED_MESA, &accelerated))
        return std::nullopt;
    return accelerated != 0;
}

std::string currentRendererName()
{
    const GLubyte* const renderer = glGetString(GL_RENDERER);
    return renderer ? reinterpret_cast<const char*>(renderer) : "";
}

bool isSoftwareRenderer(std::optional<bool> accelerated, const std::string& renderer)
{
    return accelerated.has_value() ? !*accelerated : namesSoftwareRenderer(renderer);
}

bool currentRendererIsSoftware()
{
    return isSoftwareRenderer(reportedAcceleration(), currentRendererName());
}

std::uint64_t reportedVideoMemoryBytes()
{
    if (const std::uint64_t bytes = nvidiaFreeBytes())
        return bytes;
    if (const std::uint64_t bytes = atiFreeBytes())
        return bytes;
    return mesaTotalBytes();
}
