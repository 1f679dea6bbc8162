#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "Vector2.h"
#include "float_checks.h"
#include "mathw.h"

namespace {

TEST(Vector2Test, ConstructionZeroAndArithmetic)
{
    expectVector(Vector2(), 0.0f, 0.0f);
    Vector2 v(7.5f, -2.0f);
    v.zero();
    expectVector(v, 0.0f, 0.0f);

    const Vector2 a(1.0f, 2.0f);
    const Vector2 b(3.0f, -5.0f);
    expectVector(a + b, 4.0f, -3.0f);
    expectVector(a - b, -2.0f, 7.0f);
    expectVector(2.0f * b, 6.0f, -10.0f);
    expectVector(b * 2.0f, 6.0f, -10.0f);
    expectVector(b / 2.0f, 1.5f, -2.5f);
    EXPECT_FLOAT_EQ(a.dot(b), -7.0f);
    EXPECT_FLOAT_EQ(mathw::dot(a, b), -7.0f);
    EXPECT_FLOAT_EQ(b.sqrLength(), 34.0f);
    EXPECT_FLOAT_EQ(Vector2(3.0f, 4.0f).length(), 5.0f);

    // The compound forms change the left operand in place and keep the right one.
    Vector2 c = a;
    c += b;
    expectVector(c, 4.0f, -3.0f);
    c -= a;
    expectVector(c, 3.0f, -5.0f);
    c *= -2.0f;
    expectVector(c, -6.0f, 10.0f);
    c /= 4.0f;
    expectVector(c, -1.5f, 2.5f);
    expectVector(b, 3.0f, -5.0f);

    // Division by zero is plain IEEE arithmetic.
    const Vector2 inf = Vector2(1.0f, -1.0f) / 0.0f;
    EXPECT_TRUE(std::isinf(inf.x) && inf.x > 0.0f);
    EXPECT_TRUE(std::isinf(inf.y) && inf.y < 0.0f);
}

TEST(Vector2Test, UnitNormalisesInPlace)
{
    Vector2 v(3.0f, 4.0f);
    v.unit();
    expectVector(v, 0.6f, 0.8f);

    Vector2 w(0.0f, -2.0f);
    w.unit();
    expectVector(w, 0.0f, -1.0f);

    // No zero test: the zero vector becomes NaN rather than being left alone.
    Vector2 zero;
    zero.unit();
    EXPECT_TRUE(std::isnan(zero.x));
    EXPECT_TRUE(std::isnan(zero.y));
}

TEST(Vector2Test, TextForm)
{
    EXPECT_EQ(Vector2(1.0f, 2.5f).toString(), "Vector2  X: 1.000000, Y: 2.500000");
    EXPECT_EQ(Vector2(-3.0f, 0.0f).toString(), "Vector2  X: -3.000000, Y: 0.000000");

    testing::internal::CaptureStdout();
    Vector2(1.0f, 2.5f).print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Vector2  X: 1.000000, Y: 2.500000\n");
}

TEST(Vector2Test, TextFormOfHugeComponentsIsTruncated)
{
    // Each %f field of FLT_MAX is 46 characters, so the full text would not
    // fit the 100-character buffer; the text is cut, never overrun.
    const std::string prefix = "Vector2  X: 340282346638528859811704183484516925440.000000, Y: -3402";
    const std::string text = Vector2(FLT_MAX, -FLT_MAX).toString();
    EXPECT_EQ(text.size(), 99u);
    EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0) << text;

    const std::string positive = Vector2(FLT_MAX, FLT_MAX).toString();
    EXPECT_EQ(positive.size(), 99u);
    EXPECT_EQ(positive.find('\0'), std::string::npos);

    // Below the limit nothing is cut.
    const std::string fits = Vector2(1e30f, -1e30f).toString();
    EXPECT_LT(fits.size(), 99u);
    EXPECT_EQ(fits.substr(fits.size() - 7), ".000000");
}

TEST(MathwTest, ModPerpAndDot)
{
    EXPECT_EQ(mathw::mod(7, 5), 2);
    EXPECT_EQ(mathw::mod(-1, 5), 4);
    EXPECT_EQ(mathw::mod(-5, 5), 5);
    EXPECT_EQ(mathw::mod(-7, 5), 3);
    EXPECT_EQ(mathw::mod(0, 5), 0);
    EXPECT_EQ(mathw::mod(5, 5), 0);

    expectVector(mathw::perp(Vector2(2.0f, 3.0f)), -3.0f, 2.0f);
    expectVector(mathw::perp(Vector2(0.0f, 1.0f)), -1.0f, 0.0f);
    // A quarter turn is orthogonal to the original.
    const Vector2 v(1.5f, -4.0f);
    EXPECT_FLOAT_EQ(mathw::dot(v, mathw::perp(v)), 0.0f);
}

TEST(MathwTest, VectorToLine)
{
    // Interior, before A, beyond B.
    expectVector(mathw::vectorToLine(Vector2(5.0f, 5.0f), 0, 0, 10, 0), 0.0f, -5.0f);
    expectVector(mathw::vectorToLine(Vector2(-3.0f, 4.0f), 0, 0, 10, 0), 3.0f, -4.0f);
    expectVector(mathw::vectorToLine(Vector2(13.0f, 4.0f), 0, 0, 10, 0), -3.0f, -4.0f);

    // The ends themselves belong to the segment.
    expectVector(mathw::vectorToLine(Vector2(0.0f, 3.0f), 0, 0, 10, 0), 0.0f, -3.0f);
    expectVector(mathw::vectorToLine(Vector2(10.0f, 3.0f), 0, 0, 10, 0), 0.0f, -3.0f);

    // Direction of the segment does not matter.
    expectVector(mathw::vectorToLine(Vector2(-3.0f, 4.0f), 10, 0, 0, 0), 3.0f, -4.0f);

    // Zero-length segment: towards its single point.
    expectVector(mathw::vectorToLine(Vector2(1.0f, 1.0f), 2, 2, 2, 2), 1.0f, 1.0f);
    expectVector(mathw::vectorToLine(Vector2(2.0f, 2.0f), 2, 2, 2, 2), 0.0f, 0.0f);

    // A point on the segment is at distance zero.
    expectVector(mathw::vectorToLine(Vector2(4.0f, 0.0f), 0, 0, 10, 0), 0.0f, 0.0f);
    const Vector2 onDiagonal = mathw::vectorToLine(Vector2(1.0f, 1.0f), 0, 0, 2, 2);
    EXPECT_NEAR(onDiagonal.x, 0.0f, 1e-5f);
    EXPECT_NEAR(onDiagonal.y, 0.0f, 1e-5f);

    // Slanted segment, point off to one side: the foot of the perpendicular.
    expectVector(mathw::vectorToLine(Vector2(0.0f, 4.0f), 0, 0, 4, 4), 2.0f, -2.0f);
    // Off a slanted segment beyond its end: towards that end.
    expectVector(mathw::vectorToLine(Vector2(6.0f, 5.0f), 0, 0, 4, 4), -2.0f, -1.0f);
}

}  // namespace
