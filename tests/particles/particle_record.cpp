// Buffer read-back and fill for the particle tests.
#include "particle_record.h"

std::vector<ParticleRecord> readParticles(GLuint buffer, int count)
{
    std::vector<ParticleRecord> records(static_cast<size_t>(count));
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count) * PARTICLE_STRIDE, records.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return records;
}

void writeParticles(GLuint buffer, const std::vector<ParticleRecord>& records)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(records.size()) * PARTICLE_STRIDE, records.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
