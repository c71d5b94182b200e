// Fade, fragment stage: black laid over the picture, as opaque as the fade is
// deep. Its vertex stage is the scale-up's, whose image position it needs not.
#version 330 core

uniform float darkness; // 0 leaves the picture as drawn, 1 hides it

out vec4 colour;

void main()
{
    colour = vec4(0.0, 0.0, 0.0, darkness);
}
