// The six planes of the camera's view volume, the box test used by every mesh
// draw and the counter of objects that passed it.
#pragma once

#include <glm/glm.hpp>

class BoundingBox;
class Camera;

enum BoxVisibility { OUTSIDE = 0, INTERSECT = 1, INSIDE = 2 };

struct Plane {
    glm::vec3 normal{0.0f};
    glm::vec3 point{0.0f};
    float d = 0.0f;
};

class Frustum {
public:
    explicit Frustum(Camera* camera);

    void update();
    BoxVisibility boxVisibility(const BoundingBox& box);

    Plane planes[6];
    int objectCount = 0;
    bool cullingEnabled = true;
    Camera* camera = nullptr;
};
