// The paddles and the ball stand on key magenta with hard edges, so that the
// court shows around them and no pink fringe is left by the colour key.
#include <gtest/gtest.h>

#include <functional>

#include "asset_reading.h"

namespace asset_tests {
namespace {

struct SpriteLook {
  const char* name;
  // The character's own colour, checked on the pixels of its middle.
  std::function<bool(Colour)> bodyColour;
};

void PrintTo(const SpriteLook& s, std::ostream* out) {
  *out << s.name;
}

bool isMagenta(Colour c) {
  return c == kKeyColour;
}

// Anything between the sprite and the key colour: what a soft edge on magenta would leave.
bool isPinkish(Colour c) {
  return !isMagenta(c) && c.r > 180 && c.b > 180 && c.g < 110;
}

class SpriteTest : public testing::TestWithParam<SpriteLook> {
 protected:
  void SetUp() override {
    SurfacePtr surface = loadPicture(GetParam().name);
    ASSERT_NE(surface, nullptr) << GetParam().name;
    picture_.emplace(surface.get());
  }
  std::optional<Picture> picture_;
};

TEST_P(SpriteTest, StandsOnMagentaAndFillsItsPicture) {
  const Picture& p = *picture_;
  const int right = p.width() - 1;
  const int bottom = p.height() - 1;
  for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}}) {
    EXPECT_EQ(p.at(x, y), kKeyColour) << "corner " << x << "," << y;
  }
  const auto body = p.bounds({0, 0, right, bottom}, [](Colour c) { return !isMagenta(c); });
  ASSERT_TRUE(body);
  EXPECT_GE(body->right - body->left + 1, p.width() * 9 / 10);
  EXPECT_GE(body->bottom - body->top + 1, p.height() * 9 / 10);
}

TEST_P(SpriteTest, HasNoPinkFringe) {
  const Picture& p = *picture_;
  EXPECT_FALSE(p.bounds({0, 0, p.width() - 1, p.height() - 1}, isPinkish));
}

TEST_P(SpriteTest, ShowsItsOwnColourAndEyes) {
  const Picture& p = *picture_;
  int body = 0;
  int white = 0;
  int black = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const Colour c = p.at(x, y);
      if (GetParam().bodyColour(c)) ++body;
      if (c.r > 230 && c.g > 230 && c.b > 230) ++white;
      if (c.r < 40 && c.g < 40 && c.b < 40) ++black;
    }
  }
  EXPECT_GT(body, p.width() * p.height() / 5);
  EXPECT_GT(white, 8);
  EXPECT_GT(black, 8);
}

INSTANTIATE_TEST_SUITE_P(
    AllSprites, SpriteTest,
    testing::Values(SpriteLook{kPlayerPicture.name,
                               [](Colour c) { return c.g > 120 && c.r > 80 && c.b < c.g / 2; }},
                    SpriteLook{
                        kComputerPicture.name,
                        [](Colour c) { return c.b > 120 && c.r > c.g + 30 && c.b > c.g + 60; }},
                    SpriteLook{kBallPicture.name,
                               [](Colour c) { return c.r > 190 && c.g > 190 && c.b > 190; }}),
    [](const auto& info) {
      std::string n = info.param.name;
      return n.substr(0, n.find('.'));
    });

}  // namespace
}  // namespace asset_tests
