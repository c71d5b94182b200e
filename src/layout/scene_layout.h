// The scene's fixed facts, each stated here once: where the room, its furniture,
// the fire and the emitters stand, the two lights, and how long the flight and
// the sunset after it take. World units (1 unit is about 2 cm); the route file and
// the models are written in model units, twice as large, and scaled by 0.5 on
// loading.
#pragma once

#include "layout/emitter_settings.h"

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

// The fireplace's axis along the back wall: the chimney breast, the firebox, the
// fire, the sofa and the coffee table are centred on it.
constexpr float FIREPLACE_X = 212.0f;

// The chimney breast stands out of the back wall; the firebox is cut into it.
constexpr float BREAST_LEFT = FIREPLACE_X - 36.0f, BREAST_RIGHT = FIREPLACE_X + 36.0f, BREAST_FRONT = -12.0f;
constexpr float FIREBOX_LEFT = FIREPLACE_X - 18.0f, FIREBOX_RIGHT = FIREPLACE_X + 18.0f;
constexpr float FIREBOX_TOP = 34.0f, FIREBOX_BACK = 4.0f;
constexpr float HEARTH_HEIGHT = 1.5f;
constexpr float MANTEL_TOP = 48.0f, MANTEL_FRONT = -20.0f;

// Where the flames rise from, on the logs in the middle of the firebox.
constexpr glm::vec3 FIRE(FIREPLACE_X, 10.0f, -4.0f);
// The burning end of the cigar in the ashtray on the side table: the plume's source.
constexpr glm::vec3 CIGAR_TIP(64.0f, 33.0f, -31.0f);

// Furniture.
constexpr glm::vec3 SOFA_CENTRE(FIREPLACE_X, 0.0f, -108.0f); // faces +z, towards the fire
constexpr float SEAT_HEIGHT = 22.0f;
constexpr glm::vec3 COFFEE_TABLE(FIREPLACE_X, 0.0f, -62.0f);
constexpr float COFFEE_TABLE_HEIGHT = 20.0f;
constexpr glm::vec3 SIDE_TABLE(62.0f, 0.0f, -35.0f);
constexpr float SIDE_TABLE_HEIGHT = 30.0f, SIDE_TABLE_RADIUS = 12.0f;
constexpr glm::vec3 TREE(375.0f, 0.0f, -40.0f);
constexpr float TREE_RADIUS = 34.0f, TREE_HEIGHT = 124.0f;
constexpr glm::vec3 SIDE_CANDLE(68.0f, SIDE_TABLE_HEIGHT, -42.0f);

// The fire's light: orange, a little left of the flames and above them, falling
// off linearly with distance.
constexpr glm::vec3 FIRE_LIGHT(FIRE.x - 4.0f, FIRE.y + 10.0f, FIRE.z);
constexpr glm::vec3 FIRE_LIGHT_COLOUR(1.0f, 0.6f, 0.0f);
constexpr float FIRE_LIGHT_AMBIENT = 2.0f, FIRE_LIGHT_DIFFUSE = 60.0f;
constexpr float FIRE_LIGHT_CONSTANT = 0.0f, FIRE_LIGHT_LINEAR = 1.0f, FIRE_LIGHT_EXP = 0.0f;

// The sun: white, falling through the left windows from above; the direction is
// normalised where the light is made.
constexpr glm::vec3 SUN_COLOUR(1.0f, 1.0f, 1.0f);
constexpr float SUN_AMBIENT = 2.0f, SUN_DIFFUSE = 1.0f;
constexpr glm::vec3 SUN_DIRECTION(0.5f, -0.5f, 0.0f);

// Snow high outside a wall, drifting away from the room as it falls.
constexpr EmitterSettings snowEmitter(glm::vec3 position, glm::vec3 velocityMin)
{
    return {EmitterKind::Snow, position, velocityMin, {-10.0f, -25.0f, -10.0f}, {0.4f, 0.4f, 0.4f},
            {1.0f, 1.0f, 1.0f}, 1.5f, 20.0f, 0.4f, 0.02f, 5};
}

// Every emitter of the scene, in the order it is built, stepped and drawn: snow
// outside the two left windows and along the front wall, the fire, the plume.
constexpr EmitterSettings EMITTERS[] = {
    snowEmitter({20.0f, 175.0f, -140.121f}, {-5.0f, -5.0f, 0.0f}),
    snowEmitter({20.0f, 175.0f, -45.121f}, {-5.0f, -5.0f, 0.0f}),
    snowEmitter({200.4835f, 175.4705f, -180.7855f}, {0.0f, -5.0f, -5.0f}),
    snowEmitter({260.4835f, 175.4705f, -180.7855f}, {0.0f, -5.0f, -5.0f}),
    snowEmitter({350.4835f, 175.4705f, -180.7855f}, {0.0f, -5.0f, -5.0f}),
    snowEmitter({400.4835f, 175.4705f, -180.7855f}, {0.0f, -5.0f, -5.0f}),
    {EmitterKind::Fire, FIRE, {-4.0f, 0.0f, -4.0f}, {4.0f, 15.0f, 4.0f}, {0.0f, 0.0f, 0.0f}, {0.7f, 0.2f, 0.1f},
     0.5f, 2.0f, 4.0f, 0.08f, 20},
    {EmitterKind::Smoke, CIGAR_TIP, {-0.02f, 0.2f, -0.02f}, {0.02f, 0.3f, 0.02f}, {0.0f, 0.0f, 0.0f},
     {0.01f, 0.01f, 0.011f}, 8.0f, 50.0f, 0.5f, 0.5f, 20},
};

// The route: cubic Bezier segments joined end to end, each flown in the same time.
constexpr int ROUTE_SEGMENTS = 13;
constexpr float SECONDS_PER_SEGMENT = 10.0f;
constexpr double ROUTE_SECONDS = ROUTE_SEGMENTS * SECONDS_PER_SEGMENT;

// The sunset once the route is flown: the sun turns and the sky dims from full
// light until it is darker than SKY_DIMMED_BELOW; then both hold for good. The
// floor is never reached, since the sunset ends first.
constexpr float SUNSET_DEGREES_PER_SECOND = 6.0f;
constexpr float SKY_LIGHT_START = 1.0f;
constexpr double SKY_DIMMING_PER_SECOND = 0.08;
constexpr float SKY_LIGHT_FLOOR = 0.3f;
constexpr float SKY_DIMMED_BELOW = 0.55f;
constexpr double SUNSET_SECONDS = (SKY_LIGHT_START - SKY_DIMMED_BELOW) / SKY_DIMMING_PER_SECOND;

} // namespace layout
