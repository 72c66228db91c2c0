// The records as every operation first finds them: value-initialised, with
// the defaults the game starts from. Linked with the rules alone.
#include <gtest/gtest.h>

#include "game/records.h"

TEST(Records, AFreshHeadIsRunningWithEveryOtherFlagDown) {
  const Ball ball = Ball();
  const ComputerPaddle paddle = ComputerPaddle();
  const PlayerPaddle player = PlayerPaddle();
  for (const GameBase* head :
       {static_cast<const GameBase*>(&ball), static_cast<const GameBase*>(&paddle),
        static_cast<const GameBase*>(&player)}) {
    EXPECT_TRUE(head->running);
    EXPECT_FALSE(head->started || head->quitRequested || head->paused || head->outroPlayed);
    EXPECT_EQ(head->frameMillis, 30);
  }
  EXPECT_EQ(player.mouseX, 100);
  EXPECT_EQ(player.mouseY, 200);
  EXPECT_TRUE(ball.movingRight && ball.movingUp && ball.firstHit && ball.firstDraw);
}
