// Sun shadow pass, fragment stage: the depth buffer is the only output.
#version 330 core

void main()
{
}
