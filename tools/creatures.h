// The game's characters: the two paddle creatures and the ball with a face.
// Each draws into any rectangle, so the title picture can show them large.
#pragma once

#include <cstdint>

#include "paint.h"

namespace assets {

struct Frame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// What each colour paints.
struct CreatureLook {
  Colour furLight;  // the fur on the lit top-left side, and the light strands
  Colour furShade;  // the fur on the shaded bottom-right side
  Colour furDeep;   // the darker patches of fur and the dark strands
  Colour outline;   // the edge of the body and the feet, the grin, the eyes' rims
  Colour belly;     // the paler belly, blending into furLight at its bottom
  Colour feet;      // the soles inside the feet's outline
  double gaze = 0;  // -1 looks left, +1 looks right
  std::uint64_t seed = 0;
};

// The player's yellow-green creature looks right, across the court.
const CreatureLook& greenCreature();
// The computer's purple creature looks left.
const CreatureLook& purpleCreature();

void paintCreature(PaintCanvas& canvas, const CreatureLook& look, const Frame& frame);
void paintBall(PaintCanvas& canvas, const Frame& frame);

}  // namespace assets
