// View-volume planes from the camera's position, direction and the half sizes of
// the near and far rectangles, and the conservative box test.
#include "camera/frustum.h"

#include "camera/bounding_box.h"
#include "camera/camera.h"

#include <cmath>

namespace {

Plane makePlane(glm::vec3 normal, glm::vec3 point)
{
    return Plane{normal, point, -glm::dot(normal, point)};
}

} // namespace

Frustum::Frustum(Camera* camera_) : camera(camera_) {}

void Frustum::update()
{
    const glm::vec3 p = camera->position;
    const glm::vec3 f = glm::normalize(camera->front);
    // The camera's ratio of this frame: a minimised window reports a height of 0,
    // for which the camera keeps its last valid one.
    const float aspect = camera->aspect;
    const float tau = 2.0f * std::tan(camera->fieldOfView / 2.0f);

    const glm::vec3 x = glm::normalize(glm::cross(f, glm::normalize(camera->up)));
    const glm::vec3 y = glm::normalize(glm::cross(x, f));

    const glm::vec3 fc = p + f * camera->farPlane;
    const glm::vec3 nc = p + f * camera->nearPlane;
    const float nw = aspect * (tau * camera->nearPlane) * 0.5f;
    const float fh = tau * camera->farPlane * 0.5f;

    planes[0] = makePlane(-f, fc);
    planes[1] = makePlane(f, nc);
    const glm::vec3 right = glm::normalize(nc + x * nw - p);
    planes[2] = makePlane(glm::normalize(glm::cross(y, right)), p);
    const glm::vec3 left = glm::normalize(nc - x * nw - p);
    planes[3] = makePlane(glm::normalize(glm::cross(left, y)), p);
    const glm::vec3 top = glm::normalize(fc + y * fh - p);
    planes[4] = makePlane(glm::normalize(glm::cross(top, x)), p);
    const glm::vec3 bottom = glm::normalize(fc - y * fh - p);
    planes[5] = makePlane(glm::normalize(glm::cross(x, bottom)), p);
}

BoxVisibility Frustum::boxVisibility(const BoundingBox& box)
{
    if (!cullingEnabled) {
        ++objectCount;
        return INSIDE;
    }
    BoxVisibility result = INSIDE;
    for (const Plane& plane : planes) {
        int in = 0;
        int out = 0;
        // Stop as soon as the box is known to straddle the plane.
        for (int k = 0; k < 8 && (in == 0 || out == 0); ++k) {
            if (glm::dot(plane.normal, box.worldCorners[k]) + plane.d < 0.0f)
                ++out;
            else
                ++in;
        }
        if (in == 0)
            return OUTSIDE;
        if (out > 0)
            result = INTERSECT;
    }
    ++objectCount;
    return result;
}
