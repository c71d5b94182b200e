// The world's teardown under LeakSanitizer: after a full life of build, frames
// and teardown, nothing Bullet was given may remain unreachable.
#include "physics/physics_world.h"

#include <gtest/gtest.h>
#include <cstddef>
#include <sanitizer/lsan_interface.h>

TEST(PhysicsWorldLeaks, TeardownReleasesEverything)
{
    PhysicsWorld physics;
    createPhysicsWorld(physics, glm::vec3(1.0f, 2.0f, 3.0f));
    for (const float dt : {3.0f, 1.0f / 60.0f, 0.05f}) {
        stepPhysics(physics, dt);
    }
    destroyPhysicsWorld(physics);

    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
}

namespace {

// Stores a world with its pointers scrambled, so that the leak check cannot find
// them, and gives it back intact.
class HiddenWorld {
public:
    explicit HiddenWorld(PhysicsWorld& physics) { scramble(physics, bytes); }
    void restore(PhysicsWorld& physics) const { scramble(bytes, physics); }

private:
    template <typename From, typename To> static void scramble(const From& from, To& to)
    {
        const auto* in = reinterpret_cast<const unsigned char*>(&from);
        auto* out = reinterpret_cast<unsigned char*>(&to);
        for (std::size_t i = 0; i < sizeof(PhysicsWorld); ++i) {
            out[i] = in[i] ^ 0x5a;
        }
    }
    unsigned char bytes[sizeof(PhysicsWorld)];
};

} // namespace

TEST(PhysicsWorldLeaks, CheckSeesAnAbandonedWorld)
{
    // Guards the check above: a world nobody points to any more must be reported.
    PhysicsWorld physics;
    createPhysicsWorld(physics, glm::vec3(0.0f));
    const HiddenWorld hidden(physics);
    physics = PhysicsWorld{};

    EXPECT_NE(__lsan_do_recoverable_leak_check(), 0);

    hidden.restore(physics);
    destroyPhysicsWorld(physics);
}
