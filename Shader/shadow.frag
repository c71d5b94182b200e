// Directional shadow pass, fragment stage: depth only.
#version 330 core

void main()
{
}
