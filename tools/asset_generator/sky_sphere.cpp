// The sky's sphere: one UV sphere of radius 1 with outward normals and
// longitude/latitude texture coordinates (the sky samples its cube map by
// direction, so only the positions matter to the picture).
#include "generators.h"
#include "written_file.h"

#include <cmath>
#include <cstdio>

void writeSkySphere(const std::string& assets)
{
    const int rings = 24, segments = 48;
    const double pi = 3.14159265358979;
    const std::string path = assets + "/sphere.obj";
    std::FILE* file = openForWriting(path);
    std::fprintf(file, "o sky_sphere\n");
    for (int j = 0; j <= rings; ++j) {
        const double polar = pi * j / rings;
        for (int i = 0; i <= segments; ++i) {
            const double azimuth = 2.0 * pi * i / segments;
            const double x = std::sin(polar) * std::cos(azimuth), y = std::cos(polar), z = -std::sin(polar) * std::sin(azimuth);
            std::fprintf(file, "v %.5f %.5f %.5f\nvn %.5f %.5f %.5f\nvt %.5f %.5f\n", x, y, z, x, y, z,
                         double(i) / segments, 1.0 - double(j) / rings);
        }
    }
    // Counter-clockwise seen from outside; the sky is seen from within with culling off.
    const int row = segments + 1;
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            const int a = j * row + i + 1, b = a + 1, c = a + row + 1, d = a + row;
            if (j > 0)
                std::fprintf(file, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, d, d, d, b, b, b);
            if (j + 1 < rings)
                std::fprintf(file, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", b, b, b, d, d, d, c, c, c);
        }
    }
    closeWritten(file, path);
}
