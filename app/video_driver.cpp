#include "app/video_driver.h"

#include <cstring>

bool drawsNowhere(const char* videoDriver) {
  return videoDriver != nullptr &&
         (std::strcmp(videoDriver, "dummy") == 0 || std::strcmp(videoDriver, "offscreen") == 0);
}
