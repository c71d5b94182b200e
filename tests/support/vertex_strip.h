// Draws a triangle strip of the lit pass's own vertex records (position,
// normal, texture coordinates: eight floats each) with whatever program is
// current, through a buffer made and deleted for the draw.
#pragma once

#include <cstddef>

void drawVertexStrip(const float* vertices, size_t floatCount);
