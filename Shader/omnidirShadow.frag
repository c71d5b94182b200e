// Fire shadow pass, fragment stage. The depth buffer keeps each face's plain
// perspective depth; the main pass projects its distances the same way, so no
// depth is written here and the rasteriser can test depth before shading.
#version 330 core

void main()
{
}
