// The viewer's eye: flies the route one cubic Bezier segment after another and
// builds the view and projection matrices every frame.
#pragma once

#include "camera/camera_path.h"

#include <glm/glm.hpp>

struct GLFWwindow;
class btRigidBody;

// Frames longer than a tenth of a second (stalls) do not move the camera. The
// limit is the float nearest 0.1, so that a frame of 0.1 s still counts.
constexpr bool frameMovesCamera(float dt)
{
    return dt <= 0.1f;
}

class Camera {
public:
    explicit Camera(GLFWwindow* window);

    void update(float dt);

    // Back to the start of the route, flown again from its first segment with
    // the points already read.
    void restartRoute();

    glm::mat4 getProjection() const { return projection; }
    glm::mat4 getView() const { return view; }
    glm::vec3 getPosition() const { return position; }
    glm::vec3 getCenter() const { return center; }
    glm::vec3 getUp() const { return up; }

    float nearPlane = 0.1f;
    float farPlane = 500.0f;
    float fieldOfView = 1.0471976f;
    GLFWwindow* window = nullptr;
    glm::vec3 position{0.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::vec3 center{0.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::vec3 front{0.0f};
    CameraPath path;
    // Last aspect ratio of a window with a non-zero height (a minimised window reports 0).
    float aspect = 1.0f;
    // The viewer's rigid body, handed over by the set-up; it does not steer the view.
    btRigidBody* body = nullptr;

private:
    void loadPath();
};
