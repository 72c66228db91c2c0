// The ball on screen after its rules have run: the cues, the erase and the
// draw in the order the step made them happen, the hit cues before the erase
// and a point's cue after the move.
#include "present/ball.h"

#include "present/canvas.h"
#include "present/sounds.h"

void updateBall(Ball& ball, const BallStep& step, SDL_Renderer* renderer, SoundBank& bank,
                SDL_Texture* courtTexture) {
  ball.srcRect = kBallSource;
  if (step.playerHit) playCue(bank, CueGroup::Player);
  if (step.computerHit) playCue(bank, CueGroup::Computer);
  // The window keeps its picture, so only the ball's old place needs the
  // court put back.
  if (step.erase) SDL_RenderCopy(renderer, courtTexture, &step.oldPlace, &step.oldPlace);
  if (step.point == PointFor::Player) playCue(bank, CueGroup::Player);
  if (step.point == PointFor::Computer) playCue(bank, CueGroup::Computer);
  SDL_RenderCopy(renderer, ball.texture, &ball.srcRect, &step.newPlace);
  presentCanvas(renderer);
}
