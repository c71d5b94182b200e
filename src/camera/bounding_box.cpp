// Box fitting and the per-frame move into world space.
#include "camera/bounding_box.h"

#include "camera/transform_point.h"
#include "model/vertex.h"

#include <cmath>

void BoundingBox::fitToVertices(const std::vector<Vertex>& vertices)
{
    // An empty list has no box; leave this one as it is rather than read past the list.
    if (vertices.empty())
        return;
    glm::vec3 low = vertices.front().position;
    glm::vec3 high = low;
    for (const Vertex& vertex : vertices) {
        low = glm::min(low, vertex.position);
        high = glm::max(high, vertex.position);
    }
    minCorner = low;
    extents = high - low;

    // Corner 0 is the minimum, 1..3 its neighbours along x, y, z; 4 is the maximum, 5..7 its neighbours.
    localCorners[0] = low;
    localCorners[1] = low + glm::vec3(extents.x, 0.0f, 0.0f);
    localCorners[2] = low + glm::vec3(0.0f, extents.y, 0.0f);
    localCorners[3] = low + glm::vec3(0.0f, 0.0f, extents.z);
    localCorners[4] = high;
    localCorners[5] = high - glm::vec3(extents.x, 0.0f, 0.0f);
    localCorners[6] = high - glm::vec3(0.0f, extents.y, 0.0f);
    localCorners[7] = high - glm::vec3(0.0f, 0.0f, extents.z);
}

void BoundingBox::transform(const glm::mat4& m)
{
    matrix = m;
    for (int i = 0; i < 8; ++i)
        worldCorners[i] = transformPoint(m, localCorners[i]);
    // Exact for the scale-and-translate matrices the scene uses.
    extents = glm::vec3(std::fabs(worldCorners[1].x - worldCorners[0].x),
                        std::fabs(worldCorners[2].y - worldCorners[0].y),
                        std::fabs(worldCorners[3].z - worldCorners[0].z));
}
