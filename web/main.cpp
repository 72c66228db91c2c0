// VombaPong in a browser: the same game as on the desktop, on the browser's
// seam. A page has no command line, so there is nothing to answer.
#include "app/run.h"
#include "web/browser_seam.h"

int main() {
  return runVombaPong(browserRunSeam());
}
