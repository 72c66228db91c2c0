#include "app/run.h"

#include "app/frame_loop.h"
#include "app/shutdown.h"
#include "app/startup.h"

int runVombaPong(const Platform& platform) {
  // Held here for the whole run; every stage works on it by reference.
  Session session;
  if (startUp(session, platform)) {
    runFrameLoop(session, platform);
  } else {
    session.exitCode = 1;
  }
  shutDown(session);
  notifyStage(platform, Stage::ShutDown, session);
  return session.exitCode;
}
