// Where things stand in the room, in world units (1 unit is about 2 cm). The
// program's fixed positions set the frame: the fire burns at (212, 10, -4), the
// fire light at (208, 20, -4), the cigar plume rises from (64, 33, -31), and snow
// falls outside the left wall (x = 20) and the front wall (z = -181).
#pragma once

#include <glm/glm.hpp>

namespace layout {

// The room's inside; walls are WALL thick outside these planes.
constexpr float LEFT = 30.0f, RIGHT = 430.0f, FRONT = -170.0f, BACK = 10.0f;
constexpr float CEILING = 140.0f, WALL = 4.0f;
constexpr float WAINSCOT = 32.0f;

// Window openings: left wall (spans in z) and front wall (spans in x).
constexpr float WINDOW_BOTTOM = 45.0f, WINDOW_TOP = 115.0f;
struct Span { float from, to; };
constexpr Span LEFT_WINDOWS[2] = {{-162.0f, -118.0f}, {-67.0f, -23.0f}};
constexpr Span FRONT_WINDOWS[2] = {{195.0f, 265.0f}, {345.0f, 405.0f}};

// The chimney breast stands out of the back wall; the firebox is cut into it.
constexpr float BREAST_LEFT = 176.0f, BREAST_RIGHT = 248.0f, BREAST_FRONT = -12.0f;
constexpr float FIREBOX_LEFT = 194.0f, FIREBOX_RIGHT = 230.0f, FIREBOX_TOP = 34.0f, FIREBOX_BACK = 4.0f;
constexpr float HEARTH_HEIGHT = 1.5f;
constexpr float MANTEL_TOP = 48.0f, MANTEL_FRONT = -20.0f;

constexpr glm::vec3 FIRE(212.0f, 10.0f, -4.0f);
constexpr glm::vec3 CIGAR_TIP(64.0f, 33.0f, -31.0f);

// Furniture.
constexpr glm::vec3 SOFA_CENTRE(212.0f, 0.0f, -108.0f); // faces +z, towards the fire
constexpr float SOFA_HALF_WIDTH = 50.0f, SOFA_HALF_DEPTH = 20.0f, SEAT_HEIGHT = 22.0f;
constexpr glm::vec3 COFFEE_TABLE(212.0f, 0.0f, -62.0f);
constexpr float COFFEE_TABLE_HEIGHT = 20.0f;
constexpr glm::vec3 SIDE_TABLE(62.0f, 0.0f, -35.0f);
constexpr float SIDE_TABLE_HEIGHT = 30.0f, SIDE_TABLE_RADIUS = 12.0f;
constexpr glm::vec3 TREE(375.0f, 0.0f, -40.0f);
constexpr float TREE_RADIUS = 34.0f, TREE_HEIGHT = 124.0f;
constexpr glm::vec3 SIDE_CANDLE(68.0f, SIDE_TABLE_HEIGHT, -42.0f);

} // namespace layout
