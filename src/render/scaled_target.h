// The offscreen colour and depth the scene's own passes draw into when the frame
// is drawn smaller than the window, and its scale-up into the window.
#pragma once

#include "platform/non_copyable.h"
#include "render/scale_up_quad.h"

#include <GL/glew.h>

#include <memory>

class ScaledTarget : NonCopyable {
public:
    ~ScaledTarget();

    // Binds the target for drawing at this size, with the viewport on all of it;
    // its storage is made again whenever the size differs from the last. False,
    // with the default framebuffer bound again, when it cannot be completed.
    bool bind(int targetWidth, int targetHeight);

    // Stretches the colour over (0, 0, windowWidth, windowHeight) of the default
    // framebuffer with linear filtering, then binds the default framebuffer with
    // that viewport. A blit does it, or the quad where the window is multisampled.
    void scaleUp(int windowWidth, int windowHeight);

    GLuint fbo = 0;
    GLuint colour = 0; // RGBA8 texture
    GLuint depth = 0;  // 24-bit depth renderbuffer
    int width = 0;
    int height = 0;
    std::unique_ptr<ScaleUpQuad> quad; // made for the first multisampled window
};

// One edge of the target for a window edge at this scale: rounded, never empty.
int scaledEdge(int windowEdge, float scale);
