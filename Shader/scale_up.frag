// Scale-up, fragment stage: the scene drawn smaller, filtered linearly onto the
// window's pixels.
#version 330 core

uniform sampler2D scaledScene;

in vec2 imagePosition;

out vec4 fragColor;

void main()
{
    fragColor = texture(scaledScene, imagePosition);
}
