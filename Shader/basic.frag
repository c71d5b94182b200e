// Main pass, fragment stage: material colour times its diffuse texture.
#version 330 core

struct Material {
    vec4 ambient;
    vec4 texture_diffuse1;
    vec4 texture_specular1;
    float shininess;
};

uniform Material material;
uniform sampler2D texture_diffuse1;

in vec3 worldPos;
in vec3 worldNormal;
in vec2 uv;

out vec4 fragColor;

void main()
{
    vec3 albedo = material.texture_diffuse1.rgb * texture(texture_diffuse1, uv).rgb;
    fragColor = vec4(albedo, 1.0);
}
