#include "app/x11_wakeups.h"

#ifdef VOMBA_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace {
// From the X protocol: the error and request codes involved.
constexpr int kBadWindow = 3;
constexpr int kSendEventRequest = 25;
}  // namespace

bool isLateWakeUpError(int errorCode, int requestCode) {
  return errorCode == kBadWindow && requestCode == kSendEventRequest;
}

#ifdef VOMBA_HAVE_X11
static_assert(kBadWindow == BadWindow && kSendEventRequest == X_SendEvent);

namespace {
XErrorHandler previousHandler = nullptr;

int handleXError(Display* display, XErrorEvent* error) {
  if (isLateWakeUpError(error->error_code, error->request_code)) return 0;
  return previousHandler(display, error);
}
}  // namespace

void ignoreLateWakeUps() {
  if (previousHandler != nullptr) return;
  // Xlib gives back its own default handler when none was set before.
  previousHandler = XSetErrorHandler(handleXError);
}

bool lateWakeUpsIgnored() {
  return previousHandler != nullptr;
}
#else
void ignoreLateWakeUps() {}

bool lateWakeUpsIgnored() {
  return false;
}
#endif
