// The shape dialogs' numbers as page figures: anchors, the user origin and y growing upward,
// polar points, both arc forms and every figure refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tools/shapedlog.h"

namespace {

constexpr int16_t kInches = 1, kFeet = 2;
// The user origin of a letter sheet: its bottom-left corner.
constexpr float kOriginH = 0.0f, kOriginV = 792.0f;

// Inches at full size (one unit is 72 page units), or feet at a quarter inch to the foot.
DocState MakeState(int16_t worldUnit = kInches, float scaleFactor = 1.0f) {
  DocState state;
  std::memset(&state, 0, sizeof state);
  state.worldUnit = worldUnit;
  state.scaleFactor = scaleFactor;
  state.originH = kOriginH;
  state.originV = kOriginV;
  return state;
}

void ExpectRect(const FloatRect& got, float left, float top, float right, float bottom, const char* what) {
  EXPECT_NEAR(got.left, left, 1e-3f) << what;
  EXPECT_NEAR(got.top, top, 1e-3f) << what;
  EXPECT_NEAR(got.right, right, 1e-3f) << what;
  EXPECT_NEAR(got.bottom, bottom, 1e-3f) << what;
}

TEST(ShapeDialogs, RectangleFromEveryAnchor) {
  const DocState inches = MakeState();
  // A quarter inch on the sheet is a foot: 2 feet are 36 page units.
  const DocState feet = MakeState(kFeet, 48.0f);
  // Start point (1, 1), 2 wide and 3 high: upper left puts the top-left corner 1 unit right of
  // and 1 unit above the origin, extending 2 right and 3 down.
  const float x = 72.0f, y = kOriginV - 72.0f;
  struct Case {
    RectAnchor anchor;
    const DocState* state;
    float width, height;
    float left, top, right, bottom;
  } cases[] = {
      {kAnchorUpperLeft, &inches, 2, 3, x, y, x + 144, y + 216},
      {kAnchorLowerLeft, &inches, 2, 3, x, y - 216, x + 144, y},
      {kAnchorUpperRight, &inches, 2, 3, x - 144, y, x, y + 216},
      {kAnchorLowerRight, &inches, 2, 3, x - 144, y - 216, x, y},
      {kAnchorCenter, &inches, 2, 3, x - 72, y - 108, x + 72, y + 108},
      // Sizes count without their signs.
      {kAnchorUpperLeft, &inches, -2, -3, x, y, x + 144, y + 216},
      // Lengths follow the drawing's unit and scale.
      {kAnchorUpperLeft, &feet, 2, 3, 18, kOriginV - 18, 54, kOriginV + 36},
  };
  for (const Case& c : cases) {
    FloatRect page = {};
    ASSERT_EQ(RectFromDialog(FloatPoint{1, 1}, c.width, c.height, c.anchor, c.state, &page), kShapeOk);
    ExpectRect(page, c.left, c.top, c.right, c.bottom, "rectangle anchor");
  }
}

TEST(ShapeDialogs, OvalAndMultigonFromEveryAnchor) {
  const DocState s = MakeState();
  // Start (1, 2), 2 wide and 1 high: the page point (72, 648), the box 144 by 72.
  const float x = 72.0f, y = kOriginV - 144.0f;
  struct Case {
    OvalAnchor anchor;
    float left, top;
  } cases[] = {
      {kFromCenter, x - 72, y - 36}, {kFromLeft, x, y - 36},        {kFromRight, x - 144, y - 36},
      {kFromTop, x - 72, y},         {kFromBottom, x - 72, y - 72},
  };
  for (const Case& c : cases) {
    FloatRect box = {};
    ASSERT_EQ(OvalBoxFromDialog(FloatPoint{1, 2}, 2, 1, c.anchor, &s, &box), kShapeOk);
    ExpectRect(box, c.left, c.top, c.left + 144, c.top + 72, "oval anchor");
    // The multigon fills the same box: centred, on the circle of its larger side, last vertex up.
    FloatPoint centre = {}, vertex = {};
    ASSERT_EQ(MultigonFromDialog(FloatPoint{1, 2}, 2, 1, c.anchor, &s, &centre, &vertex), kShapeOk);
    EXPECT_NEAR(centre.x, c.left + 72, 1e-3f);
    EXPECT_NEAR(centre.y, c.top + 36, 1e-3f);
    EXPECT_NEAR(vertex.x, centre.x, 1e-3f);
    EXPECT_NEAR(vertex.y, centre.y - 72, 1e-3f);
  }
}

TEST(ShapeDialogs, PolarPointsRoundTrip) {
  struct Case {
    float degrees, length, x, y;
  } cases[] = {{0, 2, 3, 1}, {90, 2, 1, 3}, {180, 1, 0, 1}, {-90, 1, 1, 0}, {45, std::sqrt(2.0f), 2, 2}};
  for (const Case& c : cases) {
    const FloatPoint p = PolarUserPoint(FloatPoint{1, 1}, c.degrees, c.length);
    EXPECT_NEAR(p.x, c.x, 1e-5f) << c.degrees;
    EXPECT_NEAR(p.y, c.y, 1e-5f) << c.degrees;
    float degrees = 0, length = 0;
    UserPointToPolar(FloatPoint{1, 1}, p, &degrees, &length);
    EXPECT_NEAR(degrees, c.degrees, 1e-3f);
    EXPECT_NEAR(length, c.length, 1e-5f);
  }
  // Up in the user's terms is up the page.
  const DocState s = MakeState();
  const FloatPoint page = UserPointToPage(PolarUserPoint(FloatPoint{0, 0}, 90, 1), &s);
  EXPECT_NEAR(page.x, 0.0f, 1e-4f);
  EXPECT_FLOAT_EQ(page.y, kOriginV - 72.0f);
}

TEST(ShapeDialogs, ArcForms) {
  const DocState s = MakeState();
  ArcFigure arc = {};
  // Starting at (1, 0) going east from its centre: the centre is the origin.
  ASSERT_EQ(CircularArcFromDialog(FloatPoint{1, 0}, 1, 0, 90, &s, &arc), kShapeOk);
  ExpectRect(arc.box, -72, kOriginV - 72, 72, kOriginV + 72, "circular arc");
  EXPECT_EQ(arc.startDeg, 0.0f);
  EXPECT_EQ(arc.arcDeg, 90.0f);
  // Whole turns of the start direction drop away; pointing north puts the centre below the start.
  ASSERT_EQ(CircularArcFromDialog(FloatPoint{0, 1}, 1, 450, -360, &s, &arc), kShapeOk);
  ExpectRect(arc.box, -72, kOriginV - 72, 72, kOriginV + 72, "circular arc, start up");
  EXPECT_NEAR(arc.startDeg, 90.0f, 1e-4f);
  EXPECT_EQ(arc.arcDeg, -360.0f);
  // The quarter ellipse from (0, 0) to (2, -1): right and down the page, centred below the end's
  // x and level with the start, from west sweeping a quarter turn to south.
  ASSERT_EQ(EllipticalArcFromDialog(FloatPoint{0, 0}, FloatPoint{2, -1}, &s, &arc), kShapeOk);
  ExpectRect(arc.box, 0, kOriginV - 72, 288, kOriginV + 72, "elliptical arc");
  EXPECT_EQ(arc.startDeg, 180.0f);
  EXPECT_EQ(arc.arcDeg, 90.0f);
}

TEST(ShapeDialogs, RefusesWhatBuildsNothing) {
  const DocState s = MakeState();
  FloatRect box = {};
  FloatPoint a = {}, b = {};
  ArcFigure arc = {};
  const float huge = 1e38f, nan = std::nanf("");
  EXPECT_EQ(RectFromDialog(FloatPoint{1, 1}, 0, 3, kAnchorUpperLeft, &s, &box), kShapeNoSize);
  EXPECT_EQ(RectFromDialog(FloatPoint{1, 1}, 2, 0, kAnchorCenter, &s, &box), kShapeNoSize);
  EXPECT_EQ(RectFromDialog(FloatPoint{huge, 1}, 2, 3, kAnchorUpperLeft, &s, &box), kShapeOutOfRange);
  EXPECT_EQ(RectFromDialog(FloatPoint{1, 1}, huge, 3, kAnchorUpperLeft, &s, &box), kShapeOutOfRange);
  // A size a float cannot add to the start point's position is no size.
  EXPECT_EQ(RectFromDialog(FloatPoint{1e6f, 1}, 1e-6f, 3, kAnchorUpperLeft, &s, &box), kShapeNoSize);
  EXPECT_EQ(OvalBoxFromDialog(FloatPoint{1, 1}, 0, 0, kFromCenter, &s, &box), kShapeNoSize);
  EXPECT_EQ(MultigonFromDialog(FloatPoint{1, 1}, 0, 2, kFromTop, &s, &a, &b), kShapeNoSize);
  for (float sweep : {0.0f, 360.5f, -361.0f, 1e30f, nan})
    EXPECT_EQ(CircularArcFromDialog(FloatPoint{1, 1}, 1, 0, sweep, &s, &arc), kShapeBadSweep) << sweep;
  EXPECT_EQ(CircularArcFromDialog(FloatPoint{1, 1}, 0, 0, 90, &s, &arc), kShapeNoRadius);
  EXPECT_EQ(CircularArcFromDialog(FloatPoint{1, 1}, 1, huge, 90, &s, &arc), kShapeOk);
  EXPECT_EQ(CircularArcFromDialog(FloatPoint{1, 1}, 1, nan, 90, &s, &arc), kShapeOutOfRange);
  EXPECT_EQ(EllipticalArcFromDialog(FloatPoint{1, 1}, FloatPoint{1, 3}, &s, &arc), kShapeSamePoints);
  EXPECT_EQ(EllipticalArcFromDialog(FloatPoint{1, 1}, FloatPoint{3, 1}, &s, &arc), kShapeSamePoints);
  EXPECT_EQ(LineFromDialog(FloatPoint{1, 1}, FloatPoint{1, 1}, &s, &a, &b), kShapeSamePoints);
  EXPECT_EQ(LineFromDialog(FloatPoint{1, 1}, FloatPoint{huge, 1}, &s, &a, &b), kShapeOutOfRange);
  ASSERT_EQ(LineFromDialog(FloatPoint{1, 1}, FloatPoint{2, -1}, &s, &a, &b), kShapeOk);
  EXPECT_FLOAT_EQ(b.x, 144.0f);
  EXPECT_FLOAT_EQ(b.y, kOriginV + 72.0f);
}

}  // namespace
