// The pace of play through the real frame: the clock moves while a frame
// handles its events, and the frame's wait makes up the rest of 30 ms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "headless_run.h"

TEST(Pace, EachFrameWaitsThirtyMillisecondsLessTheWholeMillisecondsItsEventsTook) {
  struct Case {
    double handlingMillis;
    Uint32 waitMillis;
  };
  // Part of a millisecond counts for nothing (29.9 is 29), and a frame whose
  // events took the whole period or more does not wait at all.
  const std::vector<Case> cases = {{0.0, 30}, {0.4, 30}, {3.0, 27},
                                   {29.9, 1}, {30.0, 0}, {45.0, 0}};
  const int lastFrame = static_cast<int>(cases.size()) - 1;
  Script script;
  script.eventHandlingMillis = [&](int frame) {
    return frame <= lastFrame ? cases[frame].handlingMillis : 0.0;
  };
  script.beforeFrame = [&](int frame, Session&) {
    if (frame == lastFrame) pushEvent(SDL_QUIT);
  };
  script.afterFrame = [&](int frame, Session& s) {
    EXPECT_EQ(s.ball.frameElapsed, std::floor(cases[frame].handlingMillis))
        << "events took " << cases[frame].handlingMillis << " ms";
  };
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.frameWaits.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(run.frameWaits[i], cases[i].waitMillis)
        << "events took " << cases[i].handlingMillis << " ms";
  }
}
