#include "title.h"

#include <stdexcept>
#include <string>

#include "court.h"
#include "creatures.h"
#include "lettering.h"
#include "noise.h"
#include "quantize.h"

namespace assets {
namespace {

constexpr Box kNameInk{70, 14, 530, 118};
constexpr Box kInvitationInk{120, 352, 480, 388};
constexpr Frame kGreenCreatureFrame{22, 128, 140, 210};
constexpr Frame kPurpleCreatureFrame{438, 128, 140, 210};
constexpr Frame kBallFrame{245, 168, 110, 110};
constexpr double kNamePen = 7.0;
constexpr double kInvitationPen = 3.2;
constexpr double kHaloPixels = 4.0;  // a pale rim so the black lettering pops off the green
constexpr int kGrassTufts = 70;
constexpr std::uint64_t kGrassSeed = 5;

const Colour kHalo{252, 240, 170};
const Colour kInk{0, 0, 0};
const Colour kLightGrass{70, 214, 96};
const Colour kGroundShadow{22, 140, 46};

// Lettering with a pale rim drawn under it.
void paintWords(PaintCanvas& canvas, const std::string& text, const Box& ink, double pen,
                std::uint64_t seed) {
  const PenStyle style{pen, pen * 0.18, seed};
  const auto place = fitText(text, ink, style, 0.5f);
  if (!place) throw std::runtime_error("cannot fit the lettering " + text);
  const PenStyle halo{pen + kHaloPixels, style.wobblePixels, seed};
  canvas.paintMask(drawText(text, *place, halo, marginAround(ink, halo)), kHalo);
  canvas.paintMask(drawText(text, *place, style, marginAround(ink, style)), kInk);
}

// A few light blades of grass so the field does not look empty.
void paintGrass(PaintCanvas& canvas) {
  Prng hand(kGrassSeed);
  for (int i = 0; i < kGrassTufts; ++i) {
    const double x = hand.uniform(10, kCourtWidthPixels - 10);
    const double y = hand.uniform(130, kCourtHeightPixels - 6);
    Mask mask(static_cast<int>(x) - 10, static_cast<int>(y) - 12, 21, 16);
    for (int blade = -1; blade <= 1; ++blade) {
      const double lean = blade * 3 + hand.uniform(-1, 1);
      strokePath(mask, {{{x, y}, 0.9}, {{x + lean, y - hand.uniform(5, 9)}, 0.4}});
    }
    canvas.paintMask(mask, kLightGrass);
  }
}

void paintShadow(PaintCanvas& canvas, double cx, double cy, double rx, double ry) {
  Mask mask(static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1,
            static_cast<int>(2 * rx) + 3, static_cast<int>(2 * ry) + 3);
  fillShape(mask, mask.area(), [=](double x, double y) {
    return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1;
  });
  canvas.paintMask(mask, kGroundShadow);
}

void paintShadowUnder(PaintCanvas& canvas, const Frame& f) {
  paintShadow(canvas, f.left + f.width / 2, f.top + f.height * 0.985, f.width * 0.46,
              f.height * 0.04);
}

}  // namespace

IndexedImage drawTitle() {
  PaintCanvas canvas(kCourtWidthPixels, kCourtHeightPixels);
  canvas.fillOpaque(toColour(kCourtColour));
  paintGrass(canvas);
  for (const Frame& f : {kGreenCreatureFrame, kPurpleCreatureFrame}) paintShadowUnder(canvas, f);
  paintShadow(canvas, kBallFrame.left + kBallFrame.width / 2,
              kBallFrame.top + kBallFrame.height * 0.95, kBallFrame.width * 0.3,
              kBallFrame.height * 0.05);
  paintCreature(canvas, greenCreature(), kGreenCreatureFrame);
  paintCreature(canvas, purpleCreature(), kPurpleCreatureFrame);
  paintBall(canvas, kBallFrame);
  paintWords(canvas, "VombaPong", kNameInk, kNamePen, 900);
  paintWords(canvas, "KLICK ZUM START", kInvitationInk, kInvitationPen, 901);
  return toIndexedOpaque(canvas);
}

}  // namespace assets
