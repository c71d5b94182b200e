// Reading the route file (one number per line, three lines per point, halved)
// and starting the flight along it.
#include "camera/camera.h"

#include <algorithm>
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
    restartRoute();
}

void Camera::restartRoute()
{
    CameraPath start;
    std::copy(std::begin(path.points), std::end(path.points), start.points);
    start.pointCount = path.pointCount;
    std::copy(start.points, start.points + 4, start.segment);
    path = start;
}
