// The camera's flight: cubic Bezier segments at a fixed pace, then a held end view.
#include "camera/camera.h"

#include "camera/window_ratio.h"
#include "camera/window_size.h"
#include "layout/scene_layout.h"

#include <glm/gtc/matrix_transform.hpp>

#include <iostream>

Camera::Camera(GLFWwindow* window_) : window(window_)
{
    loadPath();
}

void Camera::update(float dt)
{
    int width = 0;
    int height = 0;
    readWindowSize(window, width, height);
    aspect = aspectRatio(width, height, aspect);

    if (frameMovesCamera(dt))
        path.t += dt * (1.0f / layout::SECONDS_PER_SEGMENT);

    if (path.t >= 1.0f) {
        if (path.segmentEnd < path.pointCount - 1) {
            std::cout << path.pointCount << " " << path.segmentEnd << std::endl;
            for (int i = 0; i < 4; ++i)
                path.segment[i] = path.points[path.segmentEnd + i];
            path.segmentEnd += 3;
            path.t = 0.0f;
        } else {
            path.finished = true;
        }
    }

    const bool lastSegment = path.segmentEnd == path.pointCount - 1;
    if (!(lastSegment && path.finished)) {
        const float t = path.t;
        const float s = 1.0f - t;
        const glm::vec3* p = path.segment;
        position = s * s * s * p[0] + 3.0f * t * s * s * p[1] + 3.0f * t * t * s * p[2] + t * t * t * p[3];
        front = 3.0f * s * s * (p[1] - p[0]) + 6.0f * s * t * (p[2] - p[1]) + 3.0f * t * t * (p[3] - p[2]);
        if (lastSegment) {
            path.savedPosition = position;
            path.savedFront = front;
        }
    }
    if (path.finished) {
        position = path.savedPosition;
        front = path.savedFront;
    }

    projection = glm::perspective(fieldOfView, aspect, nearPlane, farPlane);
    center = position + front;
    view = glm::lookAt(position, center, up);
}
