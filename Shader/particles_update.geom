#version 330 core
// Particle simulation, geometry stage. Every output point is one particle record
// captured by transform feedback. Type 0 is the emitter itself: it is written
// out unchanged every pass and spawns "iNumToGenerate" particles of type 1.
//
// Fields 5 and 6 hold floats, in milliseconds: the time each atlas frame is shown
// (the particle's whole life divided by the frame count, fixed at birth) and the
// particle's age. Together they give the life fraction for the render stages.

layout(points) in;
// The emitter plus up to 20 new particles, the largest burst the scene asks for.
// A software rasteriser sets aside room for every declared output vertex of
// every particle it steps, so a larger limit only costs time; anything up to
// 63 stays within the guaranteed 1024 output components.
layout(points, max_vertices = 21) out;

const int MAX_GENERATED = 20;

in vec3 vPositionPass[];
in vec3 vVelocityPass[];
in vec3 vColorPass[];
in float fLifeTimePass[];
in float fSizePass[];
in float fUpdateTextureMillisPass[];
in float fCurrentAnimTimeMillisPass[];
flat in int iTypePass[];
flat in int iTexPosPass[];

out vec3 vPositionOut;
out vec3 vVelocityOut;
out vec3 vColorOut;
out float fLifeTimeOut;
out float fSizeOut;
out float iUpdateTextureMillisOut;
out float iCurrentAnimTimeMillisOut;
flat out int iTypeOut;
flat out int iTexPosOut;

uniform float fTimePassed;
uniform vec3 vGenPosition;
uniform vec3 vGenVelocityMin;
uniform vec3 vGenVelocityRange;
uniform vec3 vGenColor;
uniform vec3 vGenGravityVector;
uniform float fGenLifeMin;
uniform float fGenLifeRange;
uniform float fGenSize;
uniform int iNumToGenerate;
uniform int rowss;
uniform int cols;
uniform vec3 vRandomSeed;

uint randomState;

uint hash(uint value)
{
    uint state = value * 747796405u + 2891336453u;
    uint word = ((state >> ((state >> 28u) + 4u)) ^ state) * 277803737u;
    return (word >> 22u) ^ word;
}

// Uniform in [0, 1].
float random01()
{
    randomState = hash(randomState);
    return float(randomState >> 8u) / 16777215.0;
}

vec3 random3()
{
    return vec3(random01(), random01(), random01());
}

void emit(vec3 position, vec3 velocity, vec3 color, float lifeTime, float size, float frameMillis,
          float ageMillis, int type, int frame)
{
    vPositionOut = position;
    vVelocityOut = velocity;
    vColorOut = color;
    fLifeTimeOut = lifeTime;
    fSizeOut = size;
    iUpdateTextureMillisOut = frameMillis;
    iCurrentAnimTimeMillisOut = ageMillis;
    iTypeOut = type;
    iTexPosOut = frame;
    EmitVertex();
    EndPrimitive();
}

void spawn()
{
    randomState = hash(floatBitsToUint(vRandomSeed.x)) ^ hash(floatBitsToUint(vRandomSeed.y) + 0x9e3779b9u)
                  ^ hash(floatBitsToUint(vRandomSeed.z) + 0x7f4a7c15u);
    int frames = max(rowss * cols, 1);
    int count = min(iNumToGenerate, MAX_GENERATED);
    for (int i = 0; i < count; ++i) {
        vec3 velocity = vGenVelocityMin + vGenVelocityRange * random3();
        float lifeTime = fGenLifeMin + fGenLifeRange * random01();
        emit(vGenPosition, velocity, vGenColor, lifeTime, fGenSize, lifeTime * 1000.0 / float(frames), 0.0, 1, 0);
    }
}

void main()
{
    if (iTypePass[0] == 0) {
        emit(vPositionPass[0], vVelocityPass[0], vColorPass[0], fLifeTimePass[0], fSizePass[0],
             fUpdateTextureMillisPass[0], fCurrentAnimTimeMillisPass[0], 0, iTexPosPass[0]);
        if (iNumToGenerate > 0)
            spawn();
        return;
    }

    float lifeTime = fLifeTimePass[0] - fTimePassed;
    if (lifeTime <= 0.0)
        return;

    // Constant acceleration, integrated exactly over the step.
    float t = fTimePassed;
    vec3 position = vPositionPass[0] + vVelocityPass[0] * t + 0.5 * vGenGravityVector * t * t;
    vec3 velocity = vVelocityPass[0] + vGenGravityVector * t;

    float ageMillis = fCurrentAnimTimeMillisPass[0] + t * 1000.0;
    float frameMillis = fUpdateTextureMillisPass[0];
    int lastFrame = max(rowss * cols, 1) - 1;
    int frame = min(int(ageMillis / max(frameMillis, 1e-3)), lastFrame);

    emit(position, velocity, vColorPass[0], lifeTime, fSizePass[0], frameMillis, ageMillis, 1, frame);
}
