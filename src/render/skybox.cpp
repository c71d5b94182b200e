// The sky sphere follows the camera and is turned half about z, which together
// with the face order and the bottom-row-first upload gives the scene's view of
// the landscape. Its depth is always the far plane (the sky vertex stage), so
// GL_LEQUAL lets it show exactly where nothing else was drawn.
#include "render/skybox.h"

#include "app/scene_state.h"
#include "camera/camera.h"
#include "render/cube.h"
#include "render/cubemap_texture.h"
#include "render/shader_program.h"

#include <GL/glew.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

Skybox::Skybox(Camera* camera_, ShaderProgram* program_) : camera(camera_), program(program_)
{
}

Skybox::~Skybox()
{
    delete sky;
    delete texture;
}

void Skybox::init(const std::string& directory, const std::string& posX, const std::string& negX,
                  const std::string& posY, const std::string& negY, const std::string& posZ,
                  const std::string& negZ)
{
    texture = new CubemapTexture(directory, posX, negX, posY, negY, posZ, negZ);
    texture->load();
    sky = new kesa::scene::Cube(1.0f, glm::vec3(0.0f), program);
}

void drawSky()
{
    const Skybox& skybox = *scene.skybox;
    glUseProgram(skybox.program->id);

    GLint savedDepthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &savedDepthFunc);
    glDepthFunc(GL_LEQUAL);

    const glm::mat4 identity(1.0f);
    skybox.sky->modelMatrix = glm::translate(identity, skybox.camera->position) *
                              glm::scale(identity, glm::vec3(1.0f)) *
                              glm::rotate(identity, glm::pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f));
    const glm::mat4 viewProj = skybox.camera->projection * skybox.camera->view;
    glUniformMatrix4fv(glGetUniformLocation(skybox.program->id, "view_proj"), 1, GL_FALSE,
                       glm::value_ptr(viewProj));

    glActiveTexture(GL_TEXTURE0 + skybox.sky->cubemapUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, skybox.texture->id);
    skybox.sky->draw();

    glDepthFunc(static_cast<GLenum>(savedDepthFunc));
}
