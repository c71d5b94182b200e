// What a shadow map was last drawn from, so that it is drawn again only when one
// of those inputs changes. Nothing in the room moves: the fire's cube is drawn
// once, the sun's map again only while the sunset turns the light.
#pragma once

#include <glm/glm.hpp>

#include <optional>
#include <vector>

struct ShadowMapInputs {
    glm::mat4 light{1.0f};           // the sun's view-projection, or the fire's position in column 3
    std::vector<glm::mat4> casters;  // every mesh's model matrix, in draw order
    bool wireframe = false;          // the wireframe switch rasterises the shadow passes as lines

    bool operator==(const ShadowMapInputs&) const = default;
};

class ShadowMapCache {
public:
    // True when the map must be drawn for `inputs`: they differ from the last
    // ones it was drawn from, or `always` is set. Either way they become the
    // map's inputs, on the assumption that the caller draws it.
    bool needsDraw(ShadowMapInputs inputs, bool always);

    std::optional<ShadowMapInputs> drawnFrom;
};
