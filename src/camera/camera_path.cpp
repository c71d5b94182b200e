// Reading the route file: one number per line, three lines per point, halved.
#include "camera/camera.h"

#include <fstream>
#include <sstream>
#include <string>

void Camera::loadPath()
{
    path = CameraPath{};

    std::ifstream file("Assets/scene/curve-controlpoints-handles.txt");
    std::string line;
    int component = 0;
    int written = 0;
    glm::vec3 point{0.0f};
    // Numbers beyond what the slots hold are ignored, so nothing is written past them.
    while (written < PATH_CAPACITY && std::getline(file, line)) {
        // A line with no number at its start reads as 0.0, so the three-line
        // grouping of the lines after it stays as the file lays it out.
        float value = 0.0f;
        std::istringstream(line) >> value;
        point[component] = value * PATH_SCALE;
        if (++component == 3) {
            path.points[written++] = point;
            component = 0;
        }
    }
    // A trailing group of one or two numbers is dropped.

    for (int i = 0; i < 4; ++i)
        path.segment[i] = path.points[i];
}
