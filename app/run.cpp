#include "app/run.h"

#include "app/frame_loop.h"
#include "app/shutdown.h"
#include "app/startup.h"

int runVombaPong(const RunSeam& seam) {
  // Held here for the whole run; every stage works on it by reference.
  Session session;
  if (startUp(session, seam)) {
    runFrameLoop(session, seam);
  } else {
    session.exitCode = 1;
  }
  shutDown(session);
  notifyStage(seam, Stage::ShutDown, session);
  return session.exitCode;
}
