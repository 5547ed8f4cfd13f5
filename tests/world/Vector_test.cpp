#include "world/Vector.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(VectorTest, DefaultIsOrigin) { EXPECT_EQ(Vector(), Vector(0.0f, 0.0f)); }

TEST(VectorTest, NormalizeGivesUnitLength) {
  Vector v(3.0f, 4.0f);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 5.0f);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
}

TEST(VectorTest, NormalizeLeavesZeroVectorAlone) {
  Vector v;
  v.normalize();
  EXPECT_EQ(v, Vector(0.0f, 0.0f));
}

TEST(VectorTest, ScaleAndArithmetic) {
  Vector v(1.5f, -2.0f);
  v.scale(2.0f);
  EXPECT_EQ(v, Vector(3.0f, -4.0f));
  EXPECT_EQ(v + Vector(1.0f, 1.0f), Vector(4.0f, -3.0f));
  EXPECT_EQ(v - Vector(1.0f, 1.0f), Vector(2.0f, -5.0f));
  v += Vector(-3.0f, 4.0f);
  EXPECT_EQ(v, Vector(0.0f, 0.0f));
  EXPECT_NE(v, Vector(0.0f, 0.001f));
}

TEST(VectorTest, DistanceIsEuclidean) {
  EXPECT_FLOAT_EQ(distance(Vector(0.0f, 0.0f), Vector(3.0f, 4.0f)), 5.0f);
  EXPECT_FLOAT_EQ(distance(Vector(-1.0f, 2.0f), Vector(-1.0f, 2.0f)), 0.0f);
}

}  // namespace
}  // namespace tx
