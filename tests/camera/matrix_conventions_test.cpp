// The vector and matrix operations are GLM's: these cases write the operations'
// definitions out by hand and compare, so that a GLM define that changes a
// convention (handedness, clip depth, storage order) fails here, not on screen.
#include "camera/transform_point.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A matrix with every entry different, so that a transposed or shuffled result shows.
glm::mat4 sample(float base)
{
    glm::mat4 m(0.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            m[c][r] = base + static_cast<float>(c * 4 + r) * 0.5f - static_cast<float>(r * r) * 0.25f;
    return m;
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance = 1e-5f)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "column " << c << ", row " << r;
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

glm::mat4 zero() { return glm::mat4(0.0f); }

} // namespace

TEST(MatrixConventions, DiagonalOfOneIsTheIdentityAndStorageIsColumnMajor)
{
    const glm::mat4 m(1.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(m[c][r], c == r ? 1.0f : 0.0f);
    EXPECT_EQ(glm::mat4(2.5f), glm::mat4(glm::vec4(2.5f, 0, 0, 0), glm::vec4(0, 2.5f, 0, 0),
                                         glm::vec4(0, 0, 2.5f, 0), glm::vec4(0, 0, 0, 2.5f)));

    // Uploaded untransposed: the 16 floats in memory run down column 0 first.
    glm::mat4 t(1.0f);
    t[3] = glm::vec4(7.0f, 8.0f, 9.0f, 1.0f);
    const float* raw = &t[0][0];
    EXPECT_EQ(raw[12], 7.0f);
    EXPECT_EQ(raw[13], 8.0f);
    EXPECT_EQ(raw[14], 9.0f);
    EXPECT_EQ(raw[3], 0.0f);
}

TEST(MatrixConventions, MultiplyBuildsEachColumnFromTheLeftMatrixsColumns)
{
    const glm::mat4 a = sample(1.0f);
    const glm::mat4 b = sample(-3.0f);
    glm::mat4 expected = zero();
    for (int j = 0; j < 4; ++j)
        expected[j] = a[0] * b[j].x + a[1] * b[j].y + a[2] * b[j].z + a[3] * b[j].w;
    expectNear(a * b, expected, 1e-3f);
}

TEST(MatrixConventions, TransformPointKeepsXyzWithoutDividingByW)
{
    glm::mat4 m = sample(0.5f);
    m[0][3] = 0.0f;
    m[1][3] = 0.0f;
    m[2][3] = 0.0f;
    m[3][3] = 4.0f; // w = 4 after the product: a division would shrink the result
    const glm::vec3 p(1.5f, -2.0f, 3.0f);
    const glm::vec3 expected = glm::vec3(m[0]) * p.x + glm::vec3(m[1]) * p.y + glm::vec3(m[2]) * p.z + glm::vec3(m[3]);
    expectNear(transformPoint(m, p), expected);
}

TEST(MatrixConventions, TranslateMultipliesByATranslationOnTheRight)
{
    const glm::mat4 m = sample(2.0f);
    const glm::vec3 v(3.0f, -1.0f, 0.5f);
    glm::mat4 expected = m;
    expected[3] = m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3];
    expectNear(glm::translate(m, v), expected);
    EXPECT_EQ(glm::translate(glm::mat4(1.0f), v)[3], glm::vec4(v, 1.0f));
}

TEST(MatrixConventions, ScaleMultipliesTheFirstThreeColumns)
{
    const glm::mat4 m = sample(-1.0f);
    const glm::vec3 v(0.5f, 2.0f, -3.0f);
    glm::mat4 expected = m;
    expected[0] = m[0] * v.x;
    expected[1] = m[1] * v.y;
    expected[2] = m[2] * v.z;
    expectNear(glm::scale(m, v), expected);
}

TEST(MatrixConventions, ModelMatrixScaleThenTranslateScalesTheTranslation)
{
    const glm::mat4 model = glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(100.0f, 20.0f, -8.0f));
    expectNear(transformPoint(model, glm::vec3(0.0f)), glm::vec3(50.0f, 10.0f, -4.0f));
    expectNear(transformPoint(model, glm::vec3(2.0f, 0.0f, 0.0f)), glm::vec3(51.0f, 10.0f, -4.0f));
}

TEST(MatrixConventions, RotateIsRightHandedAboutTheNormalisedAxis)
{
    const glm::mat4 m = sample(0.25f);
    const float theta = 0.7f;
    const glm::vec3 axisGiven(1.0f, 2.0f, -2.0f);
    const glm::vec3 a = axisGiven / 3.0f;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const glm::vec3 k = (1.0f - c) * a;
    glm::mat4 r(1.0f);
    r[0] = glm::vec4(c + k.x * a.x, k.x * a.y + s * a.z, k.x * a.z - s * a.y, 0.0f);
    r[1] = glm::vec4(k.y * a.x - s * a.z, c + k.y * a.y, k.y * a.z + s * a.x, 0.0f);
    r[2] = glm::vec4(k.z * a.x + s * a.y, k.z * a.y - s * a.x, c + k.z * a.z, 0.0f);
    expectNear(glm::rotate(m, theta, axisGiven), m * r, 1e-4f);

    // A quarter turn about +z carries +x to +y.
    expectNear(transformPoint(glm::rotate(glm::mat4(1.0f), 1.5707964f, glm::vec3(0, 0, 1)), glm::vec3(1, 0, 0)),
               glm::vec3(0, 1, 0));
}

TEST(MatrixConventions, PerspectiveIsRightHandedWithClipDepthMinusOneToOne)
{
    const float fovy = 1.0471976f;
    const float aspect = 1280.0f / 720.0f;
    const float n = 0.1f;
    const float f = 500.0f;
    const float h = std::tan(fovy / 2.0f);
    glm::mat4 expected = zero();
    expected[0][0] = 1.0f / (aspect * h);
    expected[1][1] = 1.0f / h;
    expected[2][2] = -(f + n) / (f - n);
    expected[2][3] = -1.0f;
    expected[3][2] = -2.0f * f * n / (f - n);
    const glm::mat4 p = glm::perspective(fovy, aspect, n, f);
    expectNear(p, expected);
    EXPECT_NEAR(p[0][0], 0.97427857f, 1e-6f);
    EXPECT_NEAR(p[1][1], 1.7320508f, 1e-6f);

    // The near plane lands on depth -1, the far plane on +1, in front of the eye (-z).
    const glm::vec4 nearPoint = p * glm::vec4(0, 0, -n, 1);
    const glm::vec4 farPoint = p * glm::vec4(0, 0, -f, 1);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-4f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
}

TEST(MatrixConventions, OrthoMapsTheBoxOntoMinusOneToOne)
{
    const float l = -10.0f, r = 30.0f, b = -5.0f, t = 15.0f, n = 1.0f, f = 101.0f;
    glm::mat4 expected = zero();
    expected[0][0] = 2.0f / (r - l);
    expected[1][1] = 2.0f / (t - b);
    expected[2][2] = -2.0f / (f - n);
    expected[3][0] = -(r + l) / (r - l);
    expected[3][1] = -(t + b) / (t - b);
    expected[3][2] = -(f + n) / (f - n);
    expected[3][3] = 1.0f;
    expectNear(glm::ortho(l, r, b, t, n, f), expected);
}

TEST(MatrixConventions, LookAtIsRightHanded)
{
    const glm::vec3 e(3.0f, 4.0f, 5.0f);
    const glm::vec3 c(-1.0f, 2.0f, 0.5f);
    const glm::vec3 u(0.0f, 1.0f, 0.0f);
    const glm::vec3 f = glm::normalize(c - e);
    const glm::vec3 s = glm::normalize(glm::cross(f, u));
    const glm::vec3 v = glm::cross(s, f);
    glm::mat4 expected(1.0f);
    for (int col = 0; col < 3; ++col) {
        expected[col][0] = s[col];
        expected[col][1] = v[col];
        expected[col][2] = -f[col];
    }
    expected[3][0] = -glm::dot(s, e);
    expected[3][1] = -glm::dot(v, e);
    expected[3][2] = glm::dot(f, e);
    expectNear(glm::lookAt(e, c, u), expected);

    // The eye looks down its own -z: the centre lies straight ahead on the negative z axis.
    const glm::vec3 centreInView = transformPoint(glm::lookAt(e, c, u), c);
    EXPECT_NEAR(centreInView.x, 0.0f, 1e-5f);
    EXPECT_NEAR(centreInView.y, 0.0f, 1e-5f);
    EXPECT_LT(centreInView.z, 0.0f);
}
