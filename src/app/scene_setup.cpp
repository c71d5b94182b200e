// Scene set-up: every constant of the scene and every load happens here, once,
// in a fixed order, before the first frame.
#include "app/scene.h"

#include "app/scene_state.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "render/shader.h"
#include "render/shader_program.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

void setupShaders()
{
    scene.basicVert = new Shader("Shader\\Basic.vert", GL_VERTEX_SHADER);
    scene.basicFrag = new Shader("Shader\\basic.frag", GL_FRAGMENT_SHADER);
    scene.shadowVert = new Shader("Shader\\shadow.vert", GL_VERTEX_SHADER);
    scene.shadowFrag = new Shader("Shader\\shadow.frag", GL_FRAGMENT_SHADER);
    scene.skyVert = new Shader("Shader\\skybox.vert", GL_VERTEX_SHADER);
    scene.skyFrag = new Shader("Shader\\skybox.frag", GL_FRAGMENT_SHADER);
    scene.pointShadowVert = new Shader("Shader\\omnidirShadow.vert", GL_VERTEX_SHADER);
    scene.pointShadowGeom = new Shader("Shader\\omnidirShadow.geom", GL_GEOMETRY_SHADER);
    scene.pointShadowFrag = new Shader("Shader\\omnidirShadow.frag", GL_FRAGMENT_SHADER);

    scene.basicProgram = new ShaderProgram({scene.basicVert, scene.basicFrag});
    scene.basicProgram->link();
    scene.shadowProgram = new ShaderProgram({scene.shadowVert, scene.shadowFrag});
    scene.shadowProgram->link();
    scene.pointShadowProgram =
        new ShaderProgram({scene.pointShadowVert, scene.pointShadowGeom, scene.pointShadowFrag});
    scene.pointShadowProgram->link();
    scene.skyProgram = new ShaderProgram({scene.skyVert, scene.skyFrag});
    scene.skyProgram->link();
}

} // namespace

void setupScene()
{
    glEnable(GL_DEPTH_TEST);
    glfwSetWindowTitle(scene.window, "Frostember");
    glfwSetInputMode(scene.window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSetInputMode(scene.window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);

    scene.camera = new Camera(scene.window);
    scene.frustum = new Frustum(scene.camera);
    setupShaders();
}
