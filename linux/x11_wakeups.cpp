#include "linux/x11_wakeups.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "app/platform_parts.h"

namespace {
XErrorHandler previousHandler = nullptr;

int handleXError(Display* display, XErrorEvent* error) {
  if (isLateWakeUpError(error->error_code, error->request_code)) return 0;
  return previousHandler(display, error);
}
}  // namespace

bool isLateWakeUpError(int errorCode, int requestCode) {
  return errorCode == BadWindow && requestCode == X_SendEvent;
}

void ignoreLateWakeUps() {
  if (previousHandler != nullptr) return;
  // Xlib gives back its own default handler when none was set before.
  previousHandler = XSetErrorHandler(handleXError);
}

bool lateWakeUpsIgnored() {
  return previousHandler != nullptr;
}
